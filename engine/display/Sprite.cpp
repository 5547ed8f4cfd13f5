#include "display/Sprite.h"

#include <new>

#include "core/LogManager.h"

namespace tx {

Sprite::Sprite(int init_max_frames) {
  if (init_max_frames >= 0) {
    frames = new (std::nothrow) Frame[static_cast<size_t>(init_max_frames)];
  }
  if (frames == nullptr) {
    LogManager::getInstance().writeLog("Sprite::Sprite(): Error! Unable to allocate %d frames.",
                                       init_max_frames);
    max_frames = 0;
  } else {
    max_frames = init_max_frames;
  }
}

Sprite::~Sprite() { delete[] frames; }

int Sprite::addFrame(Frame new_frame) {
  if (num_frames >= max_frames) {
    return -1;
  }
  frames[num_frames] = std::move(new_frame);
  num_frames++;
  return 0;
}

Frame Sprite::getFrame(int frame_number) const {
  if (frame_number < 0 || frame_number >= num_frames) {
    return Frame();
  }
  return frames[frame_number];
}

int Sprite::draw(int frame_number, Vector position, char transparency_char) const {
  return getFrame(frame_number).draw(position, color, transparency_char);
}

}  // namespace tx
