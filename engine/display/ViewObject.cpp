#include "tolvex/display/ViewObject.h"

#include <climits>
#include <cstdlib>

#include "tolvex/core/LogManager.h"
#include "tolvex/core/utility.h"
#include "tolvex/display/DisplayManager.h"
#include "tolvex/display/EventView.h"
#include "tolvex/world/ObjectSerialization.h"
#include "tolvex/world/WorldManager.h"

namespace tx {

namespace {

const LogManager& logManager() { return LogManager::getInstance(); }

// Where a location puts the object in a view w cells wide and h cells high. With a border the
// text sits one row further in, so the frame stays on the screen.
float leftX(float w) { return w / 6.0f; }
float middleX(float w) { return w * 3.0f / 6.0f; }
float centerX(float w) { return w * 0.5f; }
float rightX(float w) { return w * 5.0f / 6.0f; }
float topY(float /*h*/, bool border) { return border ? 1.0f : 0.0f; }
float centerY(float h, bool border) { return border ? h * 0.5f : h * 0.5f - 1.0f; }
float bottomY(float h, bool border) { return border ? h - 2.0f : h - 1.0f; }

struct Place {
  float (*x)(float w);
  float (*y)(float h, bool border);
};

// Indexed by ViewLocation.
const Place PLACES[] = {
    {leftX, topY},     {middleX, topY},  {rightX, topY},     {leftX, centerY},  {centerX, centerY},
    {rightX, centerY}, {leftX, bottomY}, {middleX, bottomY}, {rightX, bottomY},
};

// The position, relative to the view, of a location (0 to 8) for the current view size.
Vector placeAt(int location, bool border) {
  const Box view = WorldManager::getInstance().getView();
  const Place& place = PLACES[location];
  return Vector(place.x(view.getHorizontal()), place.y(view.getVertical(), border));
}

void readViewString(ViewObject& view, const std::string& value) {
  logManager().writeLog(10, "ViewObject::deserialize(): view_string is %s", value.c_str());
  view.setViewString(value);
}

void readValue(ViewObject& view, const std::string& value) {
  const int new_value = readInt(value);
  logManager().writeLog(10, "ViewObject::deserialize(): value is %d", new_value);
  view.setValue(new_value);
}

// Only a change of border places the object again.
void readBorder(ViewObject& view, const std::string& value) {
  logManager().writeLog(10, "ViewObject::deserialize(): border is %s", value.c_str());
  const bool new_border = value == "true";
  if (new_border != view.getBorder()) view.setBorder(new_border);
}

void readColor(ViewObject& view, const std::string& value) {
  const int new_color = readInt(value);
  logManager().writeLog(10, "ViewObject::deserialize(): color is %d", new_color);
  if (new_color < BLACK || new_color > CUSTOM) {
    // A Color cannot hold arbitrary numbers.
    logManager().writeLog("ViewObject::deserialize(): Warning! Color %d not supported. Ignored.",
                          new_color);
    return;
  }
  view.setColor(static_cast<Color>(new_color));
}

void readLocation(ViewObject& view, const std::string& value) {
  const int new_location = readInt(value);
  logManager().writeLog(10, "ViewObject::deserialize(): location is %d", new_location);
  view.setLocation(new_location);
}

void readDrawValue(ViewObject& view, const std::string& value) {
  logManager().writeLog(10, "ViewObject::deserialize(): draw_value is %s", value.c_str());
  view.setDrawValue(value == "true");
}

// One view attribute in the text form: its name in an attribute list, its key, and how its
// value is written and read.
struct ViewKey {
  const char* token;
  const char* key;
  std::string (*write)(const ViewObject& view);
  void (*read)(ViewObject& view, const std::string& value);
};

// Indexed by ViewObjectAttribute; the order in which the keys are written and read.
const ViewKey VIEW_KEYS[VIEW_ATTR_COUNT] = {
    {"VIEW_STRING,", "view_string", [](const ViewObject& view) { return view.getViewString(); },
     readViewString},
    {"VALUE,", "view_value", [](const ViewObject& view) { return toString(view.getValue()); },
     readValue},
    {"BORDER,", "view_border", [](const ViewObject& view) { return toString(view.getBorder()); },
     readBorder},
    {"COLOR,", "view_color",
     [](const ViewObject& view) { return toString(static_cast<int>(view.getColor())); }, readColor},
    {"LOCATION,", "view_location",
     [](const ViewObject& view) { return toString(view.getLocation()); }, readLocation},
    {"DRAW_VALUE,", "view_draw_value",
     [](const ViewObject& view) { return toString(view.getDrawValue()); }, readDrawValue},
};

}  // namespace

ViewObject::ViewObject() {
  setSolidness(SPECTRAL);
  setAltitude(MAX_ALTITUDE);
  setType("ViewObject");
  border = true;
  draw_value = true;
  value = 0;
  color = WHITE;
  location = -1;
  setPosition(placeAt(TOP_CENTER, border));
  location = TOP_CENTER;
  for (bool& flag : modified) flag = true;
  registerInterest(VIEW_EVENT);
}

void ViewObject::setViewString(std::string new_view_string) {
  if (new_view_string == view_string) return;
  view_string = std::move(new_view_string);
  modified[VIEW_STRING] = true;
}

void ViewObject::setValue(int new_value) {
  if (new_value == value) return;
  value = new_value;
  modified[VALUE] = true;
}

void ViewObject::setColor(Color new_color) {
  if (new_color == color) return;
  color = new_color;
  modified[COLOR] = true;
}

void ViewObject::setDrawValue(bool new_draw_value) { draw_value = new_draw_value; }

void ViewObject::setBorder(bool new_border) {
  border = new_border;
  modified[BORDER] = true;
  if (location != -1) setLocation(location);
}

void ViewObject::setLocation(int new_location) {
  if (new_location < TOP_LEFT || new_location > BOTTOM_RIGHT) {
    LogManager::getInstance().writeLog(
        "ViewObject::setLocation(): Warning! Location out of range (%d). Ignored.", new_location);
    return;
  }
  setPosition(placeAt(new_location, border));
  location = new_location;
  modified[LOCATION] = true;
}

int ViewObject::setPosition(Vector new_position) {
  if (new_position == getPosition()) return 0;
  location = -1;
  Object::setPosition(new_position);
  modified[LOCATION] = true;
  return 0;
}

int ViewObject::eventHandler(const Event* event) {
  if (event->getType() != VIEW_EVENT) return Object::eventHandler(event);
  const EventView* view_event = dynamic_cast<const EventView*>(event);
  if (view_event == nullptr) return 0;
  if (view_event->getTag() != view_string) return 0;
  if (view_event->getDelta()) {
    if (view_event->getValue() != 0) {
      value += view_event->getValue();
      modified[VALUE] = true;
    }
  } else if (view_event->getValue() != value) {
    value = view_event->getValue();
    modified[VALUE] = true;
  }
  return 1;
}

int ViewObject::draw() {
  std::string text;
  if (border && draw_value) {
    text = " " + view_string + " " + std::to_string(value) + " ";
  } else if (border) {
    text = " " + view_string + " ";
  } else if (draw_value) {
    text = view_string + " " + std::to_string(value);
  } else {
    text = view_string;
  }
  const Vector p = viewToWorld(getPosition());
  DisplayManager& display = DisplayManager::getInstance();
  int result = display.drawText(p, text, ALIGN_CENTER, color);
  if (border) {
    const int n = static_cast<int>(text.size());
    const std::string dashes(text.size(), '-');
    result += display.drawText(Vector(p.getX(), p.getY() - 1.0f), dashes, ALIGN_CENTER, color);
    result += display.drawText(Vector(p.getX(), p.getY() + 1.0f), dashes, ALIGN_CENTER, color);
    const float left = p.getX() - static_cast<float>(n / 2) - 1.0f;
    result += display.drawCharacter(Vector(left, p.getY()), '|', color);
    result +=
        display.drawCharacter(Vector(left + static_cast<float>(n) + 1.0f, p.getY()), '|', color);
  }
  return result;
}

bool ViewObject::isModified() const {
  for (int i = 0; i < VIEW_ATTR_COUNT; i++) {
    LogManager::getInstance().writeLog(10, "ViewObject::isModified(): %d is %s", i,
                                       modified[i] ? "true" : "false");
    if (modified[i]) return true;
  }
  return Object::isModified();
}

bool ViewObject::isModified(ViewObjectAttribute attribute) const {
  if (attribute < 0 || attribute >= VIEW_ATTR_COUNT) return false;
  return modified[attribute];
}

std::string ViewObject::serialize(std::string attributes) {
  logManager().writeLog(25, "ViewObject::serialize(): attr is '%s'", attributes.c_str());
  std::string result = Object::serialize(attributes);
  for (int i = 0; i < VIEW_ATTR_COUNT; i++) {
    const ViewKey& view_key = VIEW_KEYS[i];
    if (!isChosen(attributes, view_key.token, modified[i])) continue;
    result += std::string(view_key.key) + ":" + view_key.write(*this) + ",";
    modified[i] = false;
  }
  return result;
}

int ViewObject::deserialize(std::string text) {
  const int result = Object::deserialize(text);
  // Object's deserialize may have parsed other texts (the animation's); parse this one again
  // and look the keys up in that parse.
  match(text, "");
  readKeys(VIEW_KEYS, *this);
  return result;
}

}  // namespace tx
