// Object's text form: serialize, deserialize and the modified flags they use.

#include "tolvex/world/ObjectSerialization.h"

#include <cctype>
#include <climits>
#include <optional>
#include <vector>

#include "tolvex/core/LogManager.h"
#include "tolvex/core/utility.h"
#include "tolvex/world/Object.h"

namespace tx {

namespace {

std::string entry(const std::string& key, const std::string& value) {
  return key + ":" + value + ",";
}

// One waypoint as pathToString writes it: two finite numbers with white space between them and
// nothing else but white space around them.
bool readNode(const std::string& text, Vector& node) {
  std::size_t x_used = 0;
  const float x = readFloat(text, &x_used);
  if (x_used == 0 || x_used == text.size() ||
      !std::isspace(static_cast<unsigned char>(text[x_used]))) {
    return false;
  }
  const std::string after_x = text.substr(x_used);
  std::size_t y_used = 0;
  const float y = readFloat(after_x, &y_used);
  if (y_used == 0 || !isBlank(after_x.substr(y_used))) return false;
  node = Vector(x, y);
  return true;
}

// Reads waypoints written by pathToString: "x y|" each. Stops at the first waypoint that
// readNode refuses, leaving the text from it on in rest; true when all were read.
bool readPath(const std::string& value, std::vector<Vector>& nodes, std::string& rest) {
  std::string::size_type start = 0;
  while (start < value.size()) {
    std::string::size_type end = value.find('|', start);
    if (end == std::string::npos) end = value.size();
    const std::string text = value.substr(start, end - start);
    if (!isBlank(text)) {
      Vector node;
      if (!readNode(text, node)) {
        rest = value.substr(start);
        return false;
      }
      nodes.push_back(node);
    }
    start = end + 1;
  }
  return true;
}

const LogManager& logManager() { return LogManager::getInstance(); }

// The value of key in the text deserialize parsed last; "" when absent or without a value.
std::string lookup(const std::string& key) { return match("", key); }

void readShapeColor(Shape& shape, const std::string& value) {
  const int color = readInt(value);
  if (color < BLACK || color > CUSTOM) {
    // A Color cannot hold arbitrary numbers; the shape keeps its colour.
    logManager().writeLog("Object::deserialize(): Warning! color %d not supported. Ignored.",
                          color);
    return;
  }
  shape.setColor(static_cast<Color>(color));
}

// The keys of a shape, in the order they are read, each with its setter.
struct ShapeKey {
  const char* key;
  void (*read)(Shape& shape, const std::string& value);
};

const ShapeKey SHAPE_KEYS[] = {
    {"shape", [](Shape& shape, const std::string& value) { shape.setType(readInt(value)); }},
    {"size", [](Shape& shape, const std::string& value) { shape.setSize(readFloat(value)); }},
    {"color", readShapeColor},
    {"opacity", [](Shape& shape, const std::string& value) { shape.setOpacity(readInt(value)); }},
};

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

bool isChosen(const std::string& attributes, const char* token, bool modified) {
  return attributes == "ALL" || (attributes.empty() && modified) ||
         attributes.find(token) != std::string::npos;
}

// Each method writes the entries of one attribute, in the order the text form gives them.
class ObjectWriter {
 public:
  using Write = std::string (*)(Object& object);
  struct Step {
    ObjectAttribute attribute;
    const char* token;  // the attribute's name in an attribute list, with its comma
    Write write;
  };
  // The order in which attributes are written, which is not ObjectAttribute's: DIRECTION comes
  // before SPEED and FOLLOW_PATH before PATH.
  static const Step WRITE_ORDER[ATTR_COUNT];

  static std::string id(Object& object);
  static std::string active(Object& object);
  static std::string visible(Object& object);
  static std::string events(Object& object);
  static std::string box(Object& object);
  static std::string position(Object& object);
  static std::string type(Object& object);
  static std::string animation(Object& object);
  static std::string altitude(Object& object);
  static std::string solidness(Object& object);
  static std::string noSoft(Object& object);
  static std::string direction(Object& object);
  static std::string speed(Object& object);
  static std::string acceleration(Object& object);
  static std::string shape(Object& object);
  static std::string followPath(Object& object);
  static std::string path(Object& object);
  static std::string avoidCollisions(Object& object);
};

const ObjectWriter::Step ObjectWriter::WRITE_ORDER[ATTR_COUNT] = {
    {ID, "ID,", id},
    {ACTIVE, "ACTIVE,", active},
    {VISIBLE, "VISIBLE,", visible},
    {EVENTS, "EVENTS,", events},
    {BOX, "BOX,", box},
    {POSITION, "POSITION,", position},
    {TYPE, "TYPE,", type},
    {ANIMATION, "ANIMATION,", animation},
    {ALTITUDE, "ALTITUDE,", altitude},
    {SOLIDNESS, "SOLIDNESS,", solidness},
    {NO_SOFT, "NO_SOFT,", noSoft},
    {DIRECTION, "DIRECTION,", direction},
    {SPEED, "SPEED,", speed},
    {ACCELERATION, "ACCELERATION,", acceleration},
    {SHAPE, "SHAPE,", shape},
    {FOLLOW_PATH, "FOLLOW_PATH,", followPath},
    {PATH, "PATH,", path},
    {AVOID_COLLISIONS, "AVOID_COLLISIONS,", avoidCollisions},
};

std::string ObjectWriter::id(Object& object) { return entry("id", toString(object.getId())); }

std::string ObjectWriter::active(Object& object) {
  return entry("is_active", toString(object.isActive()));
}

std::string ObjectWriter::visible(Object& object) {
  return entry("is_visible", toString(object.isVisible()));
}

std::string ObjectWriter::events(Object& object) {
  std::string text = entry("event_count", toString(object.getEventCount()));
  for (int i = 0; i < object.getEventCount(); i++) {
    text += entry("event_name[" + toString(i) + "]", object.getEventName(i));
  }
  return text;
}

std::string ObjectWriter::box(Object& object) {
  const Box box = object.getBox();
  return entry("box-corner-x", toString(box.getCorner().getX())) +
         entry("box-corner-y", toString(box.getCorner().getY())) +
         entry("box-horizontal", toString(box.getHorizontal())) +
         entry("box-vertical", toString(box.getVertical()));
}

std::string ObjectWriter::position(Object& object) {
  const Vector position = object.getPosition();
  return entry("pos-x", toString(position.getX())) + entry("pos-y", toString(position.getY()));
}

std::string ObjectWriter::type(Object& object) { return entry("type", object.getType()); }

// The attribute was chosen, so the animation writes itself whether or not it changed: "ALL" must
// give back the whole object.
std::string ObjectWriter::animation(Object& object) {
  return object.animation.serialize("ANIMATION,");
}

std::string ObjectWriter::altitude(Object& object) {
  return entry("altitude", toString(object.getAltitude()));
}

std::string ObjectWriter::solidness(Object& object) {
  return entry("solidness", toString(static_cast<int>(object.getSolidness())));
}

std::string ObjectWriter::noSoft(Object& object) {
  return entry("no_soft", toString(object.getNoSoft()));
}

std::string ObjectWriter::direction(Object& object) {
  const Vector direction = object.getDirection();
  return entry("x_direction", toString(direction.getX())) +
         entry("y_direction", toString(direction.getY()));
}

std::string ObjectWriter::speed(Object& object) {
  return entry("speed", toString(object.getSpeed()));
}

std::string ObjectWriter::acceleration(Object& object) {
  const Vector acceleration = object.getAcceleration();
  return entry("x_acceleration", toString(acceleration.getX())) +
         entry("y_acceleration", toString(acceleration.getY()));
}

std::string ObjectWriter::shape(Object& object) {
  const Shape& shape = object.shape;
  return entry("shape", toString(shape.getType())) + entry("size", toString(shape.getSize())) +
         entry("color", toString(static_cast<int>(shape.getColor()))) +
         entry("opacity", toString(shape.getOpacity()));
}

std::string ObjectWriter::followPath(Object& object) {
  return entry("follow_path", toString(object.getFollowPath()));
}

std::string ObjectWriter::path(Object& object) {
  return entry("path", pathToString(object.path)) +
         entry("path_index", toString(object.path.getIndex()));
}

std::string ObjectWriter::avoidCollisions(Object& object) {
  return entry("avoid_collisions", toString(object.getAvoidCollisions()));
}

std::string Object::serialize(std::string attributes) {
  const LogManager& log = LogManager::getInstance();
  log.writeLog(20, "Object::serialize(): attr is '%s'", attributes.c_str());
  if (!attributes.empty() && attributes != "ALL" && attributes.back() != ',') {
    log.writeLog("Object::serialize(): Warning! Attribute '%s' missing trailing ','",
                 attributes.c_str());
  }
  std::string result;
  for (const ObjectWriter::Step& step : ObjectWriter::WRITE_ORDER) {
    if (!isChosen(attributes, step.token, isModified(step.attribute))) continue;
    result += step.write(*this);
    modified[step.attribute] = false;
  }
  return result;
}

// Each method reads one key, or one group of keys, into the object, in the object's own terms:
// through its setters wherever they mark exactly what a read marks.
class ObjectReader {
 public:
  // A method for one key gets the key's value, found and not empty; a method for a group of
  // keys, or for the whole text, gets the whole text.
  using Read = void (*)(Object& object, const std::string& value);
  struct Step {
    const char* key;  // null for a group of keys or the whole text
    Read read;
  };
  // The order in which keys are applied: later keys build on earlier ones (speed after
  // direction).
  static const Step READ_ORDER[];

  static void id(Object& object, const std::string& value);
  static void active(Object& object, const std::string& value);
  static void visible(Object& object, const std::string& value);
  static void events(Object& object, const std::string& value);
  static void box(Object& object, const std::string& text);
  static void position(Object& object, const std::string& text);
  static void type(Object& object, const std::string& value);
  static void animation(Object& object, const std::string& text);
  static void altitude(Object& object, const std::string& value);
  static void solidness(Object& object, const std::string& value);
  static void noSoft(Object& object, const std::string& value);
  static void xDirection(Object& object, const std::string& value);
  static void yDirection(Object& object, const std::string& value);
  static void speed(Object& object, const std::string& value);
  static void xAcceleration(Object& object, const std::string& value);
  static void yAcceleration(Object& object, const std::string& value);
  static void shape(Object& object, const std::string& text);
  static void path(Object& object, const std::string& text);
  static void followPath(Object& object, const std::string& value);
  static void avoidCollisions(Object& object, const std::string& value);
};

const ObjectReader::Step ObjectReader::READ_ORDER[] = {
    {"id", id},
    {"is_active", active},
    {"is_visible", visible},
    {"event_count", events},
    {nullptr, box},
    {nullptr, position},
    {"type", type},
    {nullptr, animation},
    {"altitude", altitude},
    {"solidness", solidness},
    {"no_soft", noSoft},
    {"x_direction", xDirection},
    {"y_direction", yDirection},
    {"speed", speed},
    {"x_acceleration", xAcceleration},
    {"y_acceleration", yAcceleration},
    {nullptr, shape},
    {nullptr, path},
    {"follow_path", followPath},
    {"avoid_collisions", avoidCollisions},
};

void ObjectReader::id(Object& object, const std::string& value) {
  const int new_id = readInt(value);
  logManager().writeLog(20, "Object::deserialize(): id is %d", new_id);
  if (new_id == INT_MAX) {
    // Moving the id counter past it would leave no id for the objects made after.
    logManager().writeLog("Object::deserialize(): Error! id %d out of range. Ignored.", new_id);
  } else if (new_id != object.getId()) {
    object.setId(new_id);
  }
}

void ObjectReader::active(Object& object, const std::string& value) {
  logManager().writeLog(20, "Object::deserialize(): is_active is %s", value.c_str());
  object.setActive(value == "true");
}

void ObjectReader::visible(Object& object, const std::string& value) {
  logManager().writeLog(20, "Object::deserialize(): is_visible is %s", value.c_str());
  object.setVisible(value == "true");
}

// The labels held are dropped, last first, before the labels read are registered.
void ObjectReader::events(Object& object, const std::string& value) {
  int count = readInt(value);
  logManager().writeLog(20, "Object::deserialize(): event_count is %d", count);
  for (int i = object.getEventCount() - 1; i >= 0; i--) {
    if (i < object.getEventCount()) object.unregisterInterest(object.getEventName(i));
  }
  if (count > MAX_OBJ_EVENTS) {
    logManager().writeLog("Object::deserialize(): Warning! event_count %d above maximum %d.", count,
                          MAX_OBJ_EVENTS);
    count = MAX_OBJ_EVENTS;
  }
  for (int i = 0; i < count; i++) {
    const std::string label = lookup("event_name[" + toString(i) + "]");
    if (label.empty()) continue;
    logManager().writeLog(20, "Object::deserialize(): event_name[%d] is '%s'", i, label.c_str());
    object.registerInterest(label);
  }
}

// Numbers with fractions, as serialize writes them, and only all four together.
void ObjectReader::box(Object& object, const std::string& /*value*/) {
  const char* const keys[4] = {"box-corner-x", "box-corner-y", "box-horizontal", "box-vertical"};
  float values[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  int found = 0;
  for (int i = 0; i < 4; i++) {
    const std::string value = lookup(keys[i]);
    if (value.empty()) continue;
    values[i] = readFloat(value);
    logManager().writeLog(20, "Object::deserialize(): %s is %.2f", keys[i], values[i]);
    found++;
  }
  if (found == 4) {
    object.setBox(Box(Vector(values[0], values[1]), values[2], values[3]));
  } else if (found > 0) {
    logManager().writeLog(20, "Object::deserialize(): box not complete, so ignoring.");
  }
}

void ObjectReader::position(Object& object, const std::string& /*value*/) {
  const std::string x = lookup("pos-x");
  const std::string y = lookup("pos-y");
  if (!x.empty()) logManager().writeLog(20, "Object::deserialize(): pos-x is %.2f", readFloat(x));
  if (!y.empty()) logManager().writeLog(20, "Object::deserialize(): pos-y is %.2f", readFloat(y));
  if (!x.empty() && !y.empty()) {
    object.setPosition(Vector(readFloat(x), readFloat(y)));
  } else if (!x.empty() || !y.empty()) {
    logManager().writeLog(20, "Object::deserialize(): position not complete, so ignoring.");
  }
}

void ObjectReader::type(Object& object, const std::string& value) {
  logManager().writeLog(20, "Object::deserialize(): type is %s", value.c_str());
  object.setType(value);
}

// The animation reads its own keys from the whole text; it is marked only when it changed.
void ObjectReader::animation(Object& object, const std::string& text) {
  Animation& animation = object.animation;
  const Animation before = animation;
  animation.deserialize(text);
  if (animation.getSprite() != before.getSprite() || animation.getName() != before.getName() ||
      animation.getIndex() != before.getIndex() ||
      animation.getSlowdownCount() != before.getSlowdownCount()) {
    object.modified[ANIMATION] = true;
  }
  // The animation parsed the text itself; parse it again so the lookups after this do not
  // depend on how it did so.
  match(text, "");
}

void ObjectReader::altitude(Object& object, const std::string& value) {
  const int new_altitude = readInt(value);
  logManager().writeLog(20, "Object::deserialize(): altitude is %d", new_altitude);
  object.setAltitude(new_altitude);
}

void ObjectReader::solidness(Object& object, const std::string& value) {
  const int new_solidness = readInt(value);
  logManager().writeLog(20, "Object::deserialize(): solidness is %d", new_solidness);
  if (new_solidness < HARD || new_solidness > SPECTRAL) {
    // Refused before it is turned into a Solidness, which cannot hold arbitrary numbers.
    logManager().writeLog("Object::setSolidness(): Solidness %d not one of HARD, SOFT or SPECTRAL.",
                          new_solidness);
    return;
  }
  object.setSolidness(static_cast<Solidness>(new_solidness));
}

void ObjectReader::noSoft(Object& object, const std::string& value) {
  logManager().writeLog(20, "Object::deserialize(): no_soft is %s", value.c_str());
  object.setNoSoft(value == "true");
}

// Only the x component changes, and nothing is marked: y_direction, read next, sets the whole
// velocity.
void ObjectReader::xDirection(Object& object, const std::string& value) {
  const float x = readFloat(value);
  logManager().writeLog(20, "Object::deserialize(): x_direction is %.2f", x);
  object.direction.setX(x);
}

void ObjectReader::yDirection(Object& object, const std::string& value) {
  const float y = readFloat(value);
  logManager().writeLog(20, "Object::deserialize(): y_direction is %.2f", y);
  object.setVelocity(Vector(object.getDirection().getX(), y));
}

void ObjectReader::speed(Object& object, const std::string& value) {
  const float new_speed = readFloat(value);
  logManager().writeLog(20, "Object::deserialize(): speed is %.2f", new_speed);
  object.setSpeed(new_speed);
}

void ObjectReader::xAcceleration(Object& object, const std::string& value) {
  const float x = readFloat(value);
  logManager().writeLog(20, "Object::deserialize(): x_acceleration is %.2f", x);
  object.setAcceleration(Vector(x, object.getAcceleration().getY()));
}

void ObjectReader::yAcceleration(Object& object, const std::string& value) {
  const float y = readFloat(value);
  logManager().writeLog(20, "Object::deserialize(): y_acceleration is %.2f", y);
  object.setAcceleration(Vector(object.getAcceleration().getX(), y));
}

// Read into a copy, which replaces the shape only when all four keys are there.
void ObjectReader::shape(Object& object, const std::string& /*value*/) {
  Shape new_shape = object.getShape();
  int found = 0;
  for (const ShapeKey& shape_key : SHAPE_KEYS) {
    const std::string value = lookup(shape_key.key);
    if (value.empty()) continue;
    logManager().writeLog(20, "Object::deserialize(): %s is '%s'", shape_key.key, value.c_str());
    shape_key.read(new_shape, value);
    found++;
  }
  if (found == 4) object.setShape(new_shape);
}

// A path key with no value is the empty path that serialize writes. The value keeps its white
// space: it is what separates a waypoint's x from its y.
void ObjectReader::path(Object& object, const std::string& /*value*/) {
  const std::optional<std::string> value = matchKeepingSpace("", "path");
  if (!value) return;
  std::vector<Vector> nodes;
  std::string rest;
  if (!readPath(*value, nodes, rest)) {
    logManager().writeLog("Object::deserialize(): malformed node %s.", rest.c_str());
    logManager().writeLog("\tNot added.");
  }
  Path new_path;
  new_path.setNodes(nodes);
  object.setPath(new_path);
}

void ObjectReader::followPath(Object& object, const std::string& value) {
  logManager().writeLog(20, "Object::deserialize(): follow_path is %s", value.c_str());
  object.setFollowPath(value == "true");
}

void ObjectReader::avoidCollisions(Object& object, const std::string& value) {
  logManager().writeLog(20, "Object::deserialize(): avoid_collisions is %s", value.c_str());
  object.setAvoidCollisions(value == "true");
}

int Object::deserialize(std::string text) {
  // An empty text would make match search the previous parse, which belongs to someone else.
  if (text.empty()) return 0;
  match(text, "");
  for (const ObjectReader::Step& step : ObjectReader::READ_ORDER) {
    if (step.key == nullptr) {
      step.read(*this, text);
      continue;
    }
    const std::string value = lookup(step.key);
    if (!value.empty()) step.read(*this, value);
  }
  return 0;
}

}  // namespace tx
