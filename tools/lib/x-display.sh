# Sourced by the tools that need an X server of their own.
# start_x_display DIR [LOG] starts Xvfb, which picks a free display number and tells it through a
# pipe into DIR/display; sets xvfb_pid and exports DISPLAY. Status 1 when the server did not start.
# -noreset: the server must not reset when its last client leaves, as xdotool comes and goes.
start_x_display() {
  local dir=$1 log=${2:-/dev/null}
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dir/display" >"$log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 300); do [ -s "$dir/display" ] && break; sleep 0.1; done
  [ -s "$dir/display" ] || return 1
  export DISPLAY=":$(head -n 1 "$dir/display")"
}
