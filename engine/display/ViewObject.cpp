#include "display/ViewObject.h"

#include <climits>
#include <cstdlib>

#include "core/LogManager.h"
#include "core/utility.h"
#include "display/DisplayManager.h"
#include "display/EventView.h"
#include "world/WorldManager.h"

namespace tx {

namespace {

// The list tokens and keys of the view attributes, in writing order.
const char* const VIEW_TOKENS[VIEW_ATTR_COUNT] = {"VIEW_STRING,", "VALUE,",    "BORDER,",
                                                  "COLOR,",       "LOCATION,", "DRAW_VALUE,"};
const char* const VIEW_KEYS[VIEW_ATTR_COUNT] = {"view_string", "view_value",    "view_border",
                                                "view_color",  "view_location", "view_draw_value"};

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
  const Box view = WorldManager::getInstance().getView();
  setPosition(Vector(view.getHorizontal() * 3.0f / 6.0f, border ? 1.0f : 0.0f));
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
  const Box view = WorldManager::getInstance().getView();
  const float w = view.getHorizontal();
  const float h = view.getVertical();
  float x = 0.0f;
  switch (new_location) {
    case TOP_LEFT:
    case CENTER_LEFT:
    case BOTTOM_LEFT:
      x = w / 6.0f;
      break;
    case TOP_CENTER:
    case BOTTOM_CENTER:
      x = w * 3.0f / 6.0f;
      break;
    case CENTER_CENTER:
      x = w * 0.5f;
      break;
    case TOP_RIGHT:
    case CENTER_RIGHT:
    case BOTTOM_RIGHT:
      x = w * 5.0f / 6.0f;
      break;
    default:
      LogManager::getInstance().writeLog(
          "ViewObject::setLocation(): Warning! Location out of range (%d). Ignored.", new_location);
      return;
  }
  float y = 0.0f;
  if (new_location <= TOP_RIGHT) {
    y = border ? 1.0f : 0.0f;
  } else if (new_location <= CENTER_RIGHT) {
    y = border ? h * 0.5f : h * 0.5f - 1.0f;
  } else {
    y = border ? h - 2.0f : h - 1.0f;
  }
  setPosition(Vector(x, y));
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
  LogManager::getInstance().writeLog(25, "ViewObject::serialize(): attr is '%s'",
                                     attributes.c_str());
  std::string result = Object::serialize(attributes);
  const std::string values[VIEW_ATTR_COUNT] = {view_string,
                                               std::to_string(value),
                                               border ? "true" : "false",
                                               std::to_string(static_cast<int>(color)),
                                               std::to_string(location),
                                               draw_value ? "true" : "false"};
  for (int i = 0; i < VIEW_ATTR_COUNT; i++) {
    const bool selected = attributes == "ALL" || (attributes.empty() && modified[i]) ||
                          attributes.find(VIEW_TOKENS[i]) != std::string::npos;
    if (!selected) continue;
    result += std::string(VIEW_KEYS[i]) + ":" + values[i] + ",";
    modified[i] = false;
  }
  return result;
}

int ViewObject::deserialize(std::string text) {
  const int result = Object::deserialize(text);
  const LogManager& log = LogManager::getInstance();
  // Object's deserialize may have parsed other texts (the animation's); parse this one again
  // and look the keys up in that parse.
  match(text, "");
  std::string entry = match("", VIEW_KEYS[VIEW_STRING]);
  if (!entry.empty()) {
    log.writeLog(10, "ViewObject::deserialize(): view_string is %s", entry.c_str());
    setViewString(entry);
  }
  entry = match("", VIEW_KEYS[VALUE]);
  if (!entry.empty()) {
    const int new_value = readInt(entry);
    log.writeLog(10, "ViewObject::deserialize(): value is %d", new_value);
    setValue(new_value);
  }
  entry = match("", VIEW_KEYS[BORDER]);
  if (!entry.empty()) {
    log.writeLog(10, "ViewObject::deserialize(): border is %s", entry.c_str());
    const bool new_border = entry == "true";
    if (new_border != border) setBorder(new_border);
  }
  entry = match("", VIEW_KEYS[COLOR]);
  if (!entry.empty()) {
    const int new_color = readInt(entry);
    log.writeLog(10, "ViewObject::deserialize(): color is %d", new_color);
    if (new_color < BLACK || new_color > CUSTOM) {
      // A Color cannot hold arbitrary numbers.
      log.writeLog("ViewObject::deserialize(): Warning! Color %d not supported. Ignored.",
                   new_color);
    } else if (new_color != static_cast<int>(color)) {
      color = static_cast<Color>(new_color);
      modified[COLOR] = true;
    }
  }
  entry = match("", VIEW_KEYS[LOCATION]);
  if (!entry.empty()) {
    const int new_location = readInt(entry);
    log.writeLog(10, "ViewObject::deserialize(): location is %d", new_location);
    setLocation(new_location);
  }
  entry = match("", VIEW_KEYS[DRAW_VALUE]);
  if (!entry.empty()) {
    log.writeLog(10, "ViewObject::deserialize(): draw_value is %s", entry.c_str());
    draw_value = entry == "true";
  }
  return result;
}

}  // namespace tx
