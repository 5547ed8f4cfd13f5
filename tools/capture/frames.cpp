// Shows a frame capture (see engine/display/FrameCapture.h): played in the terminal, or one
// frame rendered to a PNG file with the game's font. Run through tools/frames.
//
//   frames [--font FILE] PATH                      play PATH in the terminal
//   frames [--font FILE] --png STEP PATH OUT.png   the first frame of step STEP as a picture
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "FramePicture.h"
#include "FramePlayer.h"
#include "tolvex/core/utility.h"
#include "tolvex/display/FrameCapture.h"

namespace {

int usage() {
  std::fputs(
      "usage: frames [--font FILE] PATH\n"
      "       frames [--font FILE] --png STEP PATH OUT.png\n",
      stderr);
  return 2;
}

// The whole frames of the capture at path; a frame that is not whole ends the list, with a
// warning naming its line.
std::vector<tx::CapturedFrame> load(const std::string& path) {
  std::ifstream in(path);
  if (!in) {
    std::fprintf(stderr, "frames: cannot open '%s'\n", path.c_str());
    return {};
  }
  int bad_line = 0;
  std::vector<tx::CapturedFrame> frames = tx::FrameCapture::readFrames(in, &bad_line);
  if (bad_line > 0)
    std::fprintf(stderr, "frames: '%s' line %d is not part of a whole frame; stopped there\n",
                 path.c_str(), bad_line);
  if (frames.empty()) std::fprintf(stderr, "frames: no frame in '%s'\n", path.c_str());
  return frames;
}

int savePicture(const std::string& font, const std::string& step_text, const std::string& path,
                const std::string& out) {
  const int step = tx::readInt(step_text);
  if (tx::toString(step) != step_text) return usage();
  for (const tx::CapturedFrame& frame : load(path))
    if (frame.step == step) return FramePicture(font).save(frame, out) ? 0 : 1;
  std::fprintf(stderr, "frames: no frame of step %d in '%s'\n", step, path.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string font = "tx-font.ttf";
  if (args.size() >= 2 && args[0] == "--font") {
    font = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() == 4 && args[0] == "--png") return savePicture(font, args[1], args[2], args[3]);
  if (args.size() != 1 || args[0].rfind("--", 0) == 0) return usage();
  std::vector<tx::CapturedFrame> frames = load(args[0]);
  if (frames.empty()) return 1;
  return FramePlayer(std::move(frames)).play();
}
