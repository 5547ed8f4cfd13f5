#include "tolvex/display/Sprite.h"

#include <new>
#include <stdexcept>

#include "tolvex/core/LogManager.h"

namespace tx {

namespace {

// Room for count frames up front; false when count is negative or there is no memory for it.
bool reserveFrames(std::vector<Frame>& frames, int count) {
  if (count < 0) {
    return false;
  }
  try {
    frames.reserve(static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  return true;
}

}  // namespace

Sprite::Sprite(int init_max_frames) {
  if (reserveFrames(frames, init_max_frames)) {
    max_frames = init_max_frames;
  } else {
    LogManager::getInstance().writeLog("Sprite::Sprite(): Error! Unable to allocate %d frames.",
                                       init_max_frames);
  }
}

int Sprite::addFrame(Frame new_frame) {
  if (getFrameCount() >= max_frames) {
    return -1;
  }
  frames.push_back(std::move(new_frame));
  return 0;
}

Frame Sprite::getFrame(int frame_number) const {
  if (frame_number < 0 || frame_number >= getFrameCount()) {
    return Frame();
  }
  return frames[static_cast<std::size_t>(frame_number)];
}

int Sprite::draw(int frame_number, Vector position, char transparency_char) const {
  return getFrame(frame_number).draw(position, color, transparency_char);
}

}  // namespace tx
