#pragma once

#include <string>
#include <vector>

#include "tolvex/display/Color.h"
#include "tolvex/display/Frame.h"

namespace tx {

// A fixed sequence of equally sized frames in one colour. The resource manager owns every
// loaded sprite for the life of the program; objects and animations only point at it.
class Sprite {
 public:
  // Makes room for max_frames frames; a negative count, or one there is no memory for, is
  // logged and leaves room for none.
  explicit Sprite(int max_frames);
  Sprite(const Sprite&) = delete;
  Sprite& operator=(const Sprite&) = delete;

  // Stores a copy of the frame; -1 when the sprite already holds max_frames frames.
  int addFrame(Frame new_frame);
  // A copy of the frame; an index out of range gives an empty frame.
  Frame getFrame(int frame_number) const;
  // Frames added so far.
  int getFrameCount() const { return static_cast<int>(frames.size()); }
  // Frames the sprite has room for.
  int getMaxFrames() const { return max_frames; }

  // Size of every frame in cells; also the size of the box of an object showing the sprite.
  int getWidth() const { return width; }
  void setWidth(int new_width) { width = new_width; }
  int getHeight() const { return height; }
  void setHeight(int new_height) { height = new_height; }
  // The colour every character is drawn in.
  Color getColor() const { return color; }
  void setColor(Color new_color) { color = new_color; }
  // Draws (steps) each frame is shown before the next; 0 and 1 both change it at every draw.
  int getSlowdown() const { return slowdown; }
  void setSlowdown(int new_slowdown) { slowdown = new_slowdown; }
  // The character that leaves its cell undrawn, so what is behind shows; 0 for none.
  char getTransparency() const { return transparency; }
  void setTransparency(char new_transparency) { transparency = new_transparency; }
  // The name the resource manager finds the sprite by.
  std::string getLabel() const { return label; }
  void setLabel(std::string new_label) { label = std::move(new_label); }

  // Draws one frame centred on position in the sprite's colour; an index out of range draws
  // nothing and returns 0.
  int draw(int frame_number, Vector position, char transparency_char = 0) const;

 private:
  int width = 0;
  int height = 0;
  int max_frames = 0;
  Color color = WHITE;
  int slowdown = 1;
  char transparency = 0;
  // At most max_frames frames, in the order they were added.
  std::vector<Frame> frames;
  std::string label = "[Undefined]";
};

}  // namespace tx
