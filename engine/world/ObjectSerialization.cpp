// Object's text form: serialize, deserialize and the modified flags they use.

#include "world/ObjectSerialization.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/LogManager.h"
#include "core/utility.h"
#include "world/Object.h"

namespace tx {

namespace {

// The attributes in the order they are written, with their list names.
struct AttributeName {
  ObjectAttribute attribute;
  const char* token;
};

const AttributeName WRITE_ORDER[ATTR_COUNT] = {
    {ID, "ID,"},
    {ACTIVE, "ACTIVE,"},
    {VISIBLE, "VISIBLE,"},
    {EVENTS, "EVENTS,"},
    {BOX, "BOX,"},
    {POSITION, "POSITION,"},
    {TYPE, "TYPE,"},
    {ANIMATION, "ANIMATION,"},
    {ALTITUDE, "ALTITUDE,"},
    {SOLIDNESS, "SOLIDNESS,"},
    {NO_SOFT, "NO_SOFT,"},
    {DIRECTION, "DIRECTION,"},
    {SPEED, "SPEED,"},
    {ACCELERATION, "ACCELERATION,"},
    {SHAPE, "SHAPE,"},
    {FOLLOW_PATH, "FOLLOW_PATH,"},
    {PATH, "PATH,"},
    {AVOID_COLLISIONS, "AVOID_COLLISIONS,"},
};

std::string entry(const std::string& key, const std::string& value) {
  return key + ":" + value + ",";
}

std::string removeSpace(const std::string& text) {
  std::string result;
  for (char c : text) {
    if (!std::isspace(static_cast<unsigned char>(c))) result += c;
  }
  return result;
}

std::vector<std::string> splitAt(const std::string& text, char separator) {
  std::vector<std::string> pieces;
  std::string::size_type start = 0;
  while (true) {
    const std::string::size_type end = text.find(separator, start);
    if (end == std::string::npos) {
      pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

// The value of key as written in text, blanks kept: the entries are chosen exactly as match
// chooses them (white space ignored in deciding, first occurrence wins), but the value is the
// raw text. False when match would not find the key.
bool rawValue(const std::string& text, const std::string& key, std::string& value) {
  for (const std::string& piece : splitAt(text, ',')) {
    if (removeSpace(piece).empty()) continue;
    std::vector<std::string> parts;
    for (const std::string& part : splitAt(piece, ':')) {
      if (!removeSpace(part).empty()) parts.push_back(part);
    }
    // match stops parsing at an entry made of colons only.
    if (parts.empty()) return false;
    if (removeSpace(parts[0]) != key) continue;
    value = parts.size() > 1 ? parts[1] : "";
    return true;
  }
  return false;
}

// Reads waypoints written by pathToString: "x y|" each. Stops at the first waypoint that is not
// two finite numbers separated by white space, leaving its raw text in rest; true when all were
// read.
bool readPath(const std::string& value, std::vector<Vector>& nodes, std::string& rest) {
  std::string::size_type start = 0;
  while (start < value.size()) {
    std::string::size_type end = value.find('|', start);
    if (end == std::string::npos) end = value.size();
    const std::string node = value.substr(start, end - start);
    if (!removeSpace(node).empty()) {
      const char* text = node.c_str();
      char* after_x = nullptr;
      char* after_y = nullptr;
      const float x = std::strtof(text, &after_x);
      bool good = after_x != text && std::isspace(static_cast<unsigned char>(*after_x));
      float y = 0.0f;
      if (good) {
        y = std::strtof(after_x, &after_y);
        good = after_y != after_x;
      }
      if (good) {
        for (const char* c = after_y; *c != '\0'; c++) {
          if (!std::isspace(static_cast<unsigned char>(*c))) good = false;
        }
      }
      if (!good || !std::isfinite(x) || !std::isfinite(y)) {
        rest = value.substr(start);
        return false;
      }
      nodes.emplace_back(x, y);
    }
    start = end + 1;
  }
  return true;
}

}  // namespace

std::string pathToString(Path path) {
  path.setIndex(0);
  std::string result;
  for (const Vector& node : path.getNodes()) {
    result += toString(node.getX()) + " " + toString(node.getY()) + "|";
  }
  return result;
}

bool Object::isModified() const {
  for (int i = 0; i < ATTR_COUNT; i++) {
    LogManager::getInstance().writeLog(20, "Object::isModified(): %d is %s", i,
                                       modified[i] ? "true" : "false");
    if (modified[i]) return true;
  }
  return false;
}

bool Object::isModified(ObjectAttribute attribute) const {
  if (attribute < 0 || attribute >= ATTR_COUNT) return false;
  return modified[attribute];
}

std::string Object::serialize(std::string attributes) {
  const LogManager& log = LogManager::getInstance();
  log.writeLog(20, "Object::serialize(): attr is '%s'", attributes.c_str());
  if (!attributes.empty() && attributes != "ALL" && attributes.back() != ',') {
    log.writeLog("Object::serialize(): Warning! Attribute '%s' missing trailing ','",
                 attributes.c_str());
  }
  std::string result;
  for (const AttributeName& name : WRITE_ORDER) {
    const ObjectAttribute attribute = name.attribute;
    const bool selected = attributes == "ALL" || (attributes.empty() && isModified(attribute)) ||
                          attributes.find(name.token) != std::string::npos;
    if (!selected) continue;
    switch (attribute) {
      case ID:
        result += entry("id", toString(id));
        break;
      case ACTIVE:
        result += entry("is_active", toString(is_active));
        break;
      case VISIBLE:
        result += entry("is_visible", toString(is_visible));
        break;
      case EVENTS:
        result += entry("event_count", toString(event_count));
        for (int i = 0; i < event_count; i++) {
          result += entry("event_name[" + toString(i) + "]", event_name[i]);
        }
        break;
      case BOX:
        result += entry("box-corner-x", toString(box.getCorner().getX()));
        result += entry("box-corner-y", toString(box.getCorner().getY()));
        result += entry("box-horizontal", toString(box.getHorizontal()));
        result += entry("box-vertical", toString(box.getVertical()));
        break;
      case POSITION:
        result += entry("pos-x", toString(position.getX()));
        result += entry("pos-y", toString(position.getY()));
        break;
      case TYPE:
        result += entry("type", type);
        break;
      case ANIMATION:
        // The attribute was chosen, so the animation writes itself whether or not it changed:
        // "ALL" must give back the whole object.
        result += animation.serialize("ANIMATION,");
        break;
      case ALTITUDE:
        result += entry("altitude", toString(altitude));
        break;
      case SOLIDNESS:
        result += entry("solidness", toString(static_cast<int>(solidness)));
        break;
      case NO_SOFT:
        result += entry("no_soft", toString(no_soft));
        break;
      case DIRECTION:
        result += entry("x_direction", toString(direction.getX()));
        result += entry("y_direction", toString(direction.getY()));
        break;
      case SPEED:
        result += entry("speed", toString(speed));
        break;
      case ACCELERATION:
        result += entry("x_acceleration", toString(acceleration.getX()));
        result += entry("y_acceleration", toString(acceleration.getY()));
        break;
      case SHAPE:
        result += entry("shape", toString(shape.getType()));
        result += entry("size", toString(shape.getSize()));
        result += entry("color", toString(static_cast<int>(shape.getColor())));
        result += entry("opacity", toString(shape.getOpacity()));
        break;
      case FOLLOW_PATH:
        result += entry("follow_path", toString(follow_path));
        break;
      case PATH:
        result += entry("path", pathToString(path));
        result += entry("path_index", toString(path.getIndex()));
        break;
      case AVOID_COLLISIONS:
        result += entry("avoid_collisions", toString(avoid_collisions));
        break;
    }
    modified[attribute] = false;
  }
  return result;
}

int Object::deserialize(std::string text) {
  const LogManager& log = LogManager::getInstance();
  // An empty text would make match search the previous parse, which belongs to someone else.
  if (text.empty()) return 0;
  match(text, "");
  const auto lookup = [](const std::string& key) { return match("", key); };

  std::string value = lookup("id");
  if (!value.empty()) {
    const int new_id = readInt(value);
    log.writeLog(20, "Object::deserialize(): id is %d", new_id);
    if (new_id == INT_MAX) {
      // The id counter could not move past it.
      log.writeLog("Object::deserialize(): Error! id %d out of range. Ignored.", new_id);
    } else if (new_id != id) {
      setId(new_id);
      modified[ID] = true;
    }
  }

  value = lookup("is_active");
  if (!value.empty()) {
    log.writeLog(20, "Object::deserialize(): is_active is %s", value.c_str());
    setActive(value == "true");
  }
  value = lookup("is_visible");
  if (!value.empty()) {
    log.writeLog(20, "Object::deserialize(): is_visible is %s", value.c_str());
    setVisible(value == "true");
  }

  value = lookup("event_count");
  if (!value.empty()) {
    int count = readInt(value);
    log.writeLog(20, "Object::deserialize(): event_count is %d", count);
    for (int i = event_count - 1; i >= 0; i--) {
      if (i < event_count) unregisterInterest(event_name[i]);
    }
    if (count > MAX_OBJ_EVENTS) {
      log.writeLog("Object::deserialize(): Warning! event_count %d above maximum %d.", count,
                   MAX_OBJ_EVENTS);
      count = MAX_OBJ_EVENTS;
    }
    for (int i = 0; i < count; i++) {
      const std::string label = lookup("event_name[" + toString(i) + "]");
      if (label.empty()) continue;
      log.writeLog(20, "Object::deserialize(): event_name[%d] is '%s'", i, label.c_str());
      registerInterest(label);
    }
  }

  const char* const box_keys[4] = {"box-corner-x", "box-corner-y", "box-horizontal",
                                   "box-vertical"};
  int box_values[4] = {0, 0, 0, 0};
  int box_found = 0;
  for (int i = 0; i < 4; i++) {
    value = lookup(box_keys[i]);
    if (value.empty()) continue;
    box_values[i] = readInt(value);
    log.writeLog(20, "Object::deserialize(): %s is %d", box_keys[i], box_values[i]);
    box_found++;
  }
  if (box_found == 4) {
    setBox(Box(Vector(static_cast<float>(box_values[0]), static_cast<float>(box_values[1])),
               static_cast<float>(box_values[2]), static_cast<float>(box_values[3])));
  } else if (box_found > 0) {
    log.writeLog(20, "Object::deserialize(): box not complete, so ignoring.");
  }

  const std::string pos_x = lookup("pos-x");
  const std::string pos_y = lookup("pos-y");
  if (!pos_x.empty()) log.writeLog(20, "Object::deserialize(): pos-x is %.2f", readFloat(pos_x));
  if (!pos_y.empty()) log.writeLog(20, "Object::deserialize(): pos-y is %.2f", readFloat(pos_y));
  if (!pos_x.empty() && !pos_y.empty()) {
    setPosition(Vector(readFloat(pos_x), readFloat(pos_y)));
  } else if (!pos_x.empty() || !pos_y.empty()) {
    log.writeLog(20, "Object::deserialize(): position not complete, so ignoring.");
  }

  value = lookup("type");
  if (!value.empty()) {
    log.writeLog(20, "Object::deserialize(): type is %s", value.c_str());
    setType(value);
  }

  const Animation before = animation;
  animation.deserialize(text);
  if (animation.getSprite() != before.getSprite() || animation.getName() != before.getName() ||
      animation.getIndex() != before.getIndex() ||
      animation.getSlowdownCount() != before.getSlowdownCount()) {
    modified[ANIMATION] = true;
  }
  // The animation parsed the text itself; parse it again so the lookups below do not depend on
  // how it did so.
  match(text, "");

  value = lookup("altitude");
  if (!value.empty()) {
    const int new_altitude = readInt(value);
    log.writeLog(20, "Object::deserialize(): altitude is %d", new_altitude);
    setAltitude(new_altitude);
  }
  value = lookup("solidness");
  if (!value.empty()) {
    const int new_solidness = readInt(value);
    log.writeLog(20, "Object::deserialize(): solidness is %d", new_solidness);
    if (new_solidness < HARD || new_solidness > SPECTRAL) {
      // Refused before it is turned into a Solidness, which cannot hold arbitrary numbers.
      log.writeLog("Object::setSolidness(): Solidness %d not one of HARD, SOFT or SPECTRAL.",
                   new_solidness);
    } else {
      setSolidness(static_cast<Solidness>(new_solidness));
    }
  }
  value = lookup("no_soft");
  if (!value.empty()) {
    log.writeLog(20, "Object::deserialize(): no_soft is %s", value.c_str());
    no_soft = value == "true";
    modified[NO_SOFT] = true;
  }
  value = lookup("x_direction");
  if (!value.empty()) {
    const float x = readFloat(value);
    log.writeLog(20, "Object::deserialize(): x_direction is %.2f", x);
    direction.setX(x);
  }
  value = lookup("y_direction");
  if (!value.empty()) {
    const float y = readFloat(value);
    log.writeLog(20, "Object::deserialize(): y_direction is %.2f", y);
    setVelocity(Vector(direction.getX(), y));
  }
  value = lookup("speed");
  if (!value.empty()) {
    speed = readFloat(value);
    log.writeLog(20, "Object::deserialize(): speed is %.2f", speed);
    modified[SPEED] = true;
  }
  value = lookup("x_acceleration");
  if (!value.empty()) {
    const float x = readFloat(value);
    log.writeLog(20, "Object::deserialize(): x_acceleration is %.2f", x);
    acceleration.setX(x);
    modified[ACCELERATION] = true;
  }
  value = lookup("y_acceleration");
  if (!value.empty()) {
    const float y = readFloat(value);
    log.writeLog(20, "Object::deserialize(): y_acceleration is %.2f", y);
    acceleration.setY(y);
    modified[ACCELERATION] = true;
  }

  Shape new_shape = shape;
  int shape_found = 0;
  value = lookup("shape");
  if (!value.empty()) {
    log.writeLog(20, "Object::deserialize(): shape is '%s'", value.c_str());
    new_shape.setType(readInt(value));
    shape_found++;
  }
  value = lookup("size");
  if (!value.empty()) {
    log.writeLog(20, "Object::deserialize(): size is '%s'", value.c_str());
    new_shape.setSize(readFloat(value));
    shape_found++;
  }
  value = lookup("color");
  if (!value.empty()) {
    log.writeLog(20, "Object::deserialize(): color is '%s'", value.c_str());
    const int new_color = readInt(value);
    if (new_color < BLACK || new_color > CUSTOM) {
      // A Color cannot hold arbitrary numbers; the shape keeps its colour.
      log.writeLog("Object::deserialize(): Warning! color %d not supported. Ignored.", new_color);
    } else {
      new_shape.setColor(static_cast<Color>(new_color));
    }
    shape_found++;
  }
  value = lookup("opacity");
  if (!value.empty()) {
    log.writeLog(20, "Object::deserialize(): opacity is '%s'", value.c_str());
    new_shape.setOpacity(readInt(value));
    shape_found++;
  }
  if (shape_found == 4) {
    shape = new_shape;
    modified[SHAPE] = true;
  }

  // match removes the blank between a waypoint's x and y, so the path is read from the text
  // as given. A path key with no value is the empty path that serialize writes.
  std::string path_text;
  if (rawValue(text, "path", path_text)) {
    std::vector<Vector> nodes;
    std::string rest;
    if (!readPath(path_text, nodes, rest)) {
      log.writeLog("Object::deserialize(): malformed node %s.", rest.c_str());
      log.writeLog("\tNot added.");
    }
    Path new_path;
    new_path.setNodes(nodes);
    setPath(new_path);
  }

  value = lookup("follow_path");
  if (!value.empty()) {
    log.writeLog(20, "Object::deserialize(): follow_path is %s", value.c_str());
    if (value == "true") {
      setFollowPath(true);
    } else {
      // Turning following off must not aim the object at a waypoint: the direction read above
      // stays as written.
      follow_path = false;
      modified[FOLLOW_PATH] = true;
    }
  }
  value = lookup("avoid_collisions");
  if (!value.empty()) {
    log.writeLog(20, "Object::deserialize(): avoid_collisions is %s", value.c_str());
    avoid_collisions = value == "true";
    modified[AVOID_COLLISIONS] = true;
  }
  return 0;
}

}  // namespace tx
