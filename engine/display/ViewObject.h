#pragma once

#include <string>

#include "tolvex/display/Color.h"
#include "tolvex/world/Object.h"

namespace tx {

// The view object's own serializable attributes; each indexes one of its modified flags.
enum ViewObjectAttribute {
  VIEW_STRING = 0,
  VALUE,
  BORDER,
  COLOR,
  LOCATION,
  DRAW_VALUE,
};

// Number of ViewObjectAttribute values.
constexpr int VIEW_ATTR_COUNT = 6;

// The nine places on the screen a view object can be put.
enum ViewLocation {
  TOP_LEFT = 0,
  TOP_CENTER,
  TOP_RIGHT,
  CENTER_LEFT,
  CENTER_CENTER,
  CENTER_RIGHT,
  BOTTOM_LEFT,
  BOTTOM_CENTER,
  BOTTOM_RIGHT,
};

// A head-up-display element: a label, optionally a value and optionally a frame, drawn on top of
// the world at a position relative to the view (cells from the view's corner). It listens for
// "tx-view" events whose tag equals its label. Created with new and owned by the world like any
// object.
class ViewObject : public Object {
 public:
  // Spectral, altitude MAX_ALTITUDE, type "ViewObject", at TOP_CENTER with a border.
  ViewObject();
  ~ViewObject() override = default;

  // The label: the text shown, and the tag of the "tx-view" events the object takes.
  void setViewString(std::string new_view_string);
  std::string getViewString() const { return view_string; }
  // The number shown after the label (0 at first).
  void setValue(int new_value);
  int getValue() const { return value; }
  // The colour of the text and the frame (WHITE at first).
  void setColor(Color new_color);
  Color getColor() const { return color; }
  // Whether the value is shown (true at first).
  void setDrawValue(bool new_draw_value = true);
  bool getDrawValue() const { return draw_value; }
  // Also places the object again at its location, so the position follows the frame.
  void setBorder(bool new_border);
  bool getBorder() const { return border; }
  // Places the object at loc for the current view size. Out of range: a warning, nothing changes.
  void setLocation(int new_location);
  // The location last set, or -1 after the position was set directly.
  int getLocation() const { return location; }

  // A position relative to the view; forgets the named location.
  int setPosition(Vector new_position) override;
  // Sets or adds to the value on a "tx-view" event with a matching tag (1); other events go to
  // Object's handler.
  int eventHandler(const Event* event) override;
  // Draws the text (and frame) at the position in the view. Sum of the drawing calls' results.
  int draw() override;
  // Object's text followed by the view keys chosen by attributes; clears the written flags.
  std::string serialize(std::string attributes = "") override;
  // Object's deserialize, then the view keys. Returns Object's result.
  int deserialize(std::string text) override;
  // True when any view flag or any Object flag is set.
  bool isModified() const override;
  using Object::isModified;
  // The flag of one view attribute; false for numbers outside 0 to 5.
  virtual bool isModified(ViewObjectAttribute attribute) const;

 private:
  std::string view_string;
  int value = 0;
  bool draw_value = true;
  bool border = true;
  Color color = WHITE;
  int location = TOP_CENTER;
  bool modified[VIEW_ATTR_COUNT];
};

}  // namespace tx
