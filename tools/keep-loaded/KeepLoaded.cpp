// Linked into the sanitizer build of the tests only. Mesa unloads its GLX and DRI driver
// libraries when a window's context goes away, before LeakSanitizer looks at exit: what those
// drivers still hold then shows up as leaks from an "<unknown module>" that no suppression can
// name. Keeping every library loaded leaves that memory reachable from the drivers' own globals,
// and any leak that remains names its library (ours included).
extern "C" int dlclose(void* handle) {
  static_cast<void>(handle);
  return 0;
}
