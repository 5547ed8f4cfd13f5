#include "tolvex/world/ObjectSerialization.h"

#include "Probe.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/core/utility.h"
#include "tolvex/display/InputManager.h"
#include "tolvex/display/ResourceManager.h"

namespace tx::test {
namespace {

using ObjectSerializationTest = WorldTest;

// Every attribute is off its default, so the copy's text shows any lost; sprites come by name.
TEST_F(ObjectSerializationTest, AllRoundTripRestoresEveryAttributeAndEverySolidness) {
  ResourceManager& resources = ResourceManager::getInstance();
  ASSERT_EQ(resources.startUp(), 0);
  const std::string file =
      writeFile("ship.txt",
                "<HEADER>\nframes 2\nwidth 1\nheight 1\nslowdown 4\n"
                "</HEADER>\n<BODY>\na\nend\nb\nend\n</BODY>\n<FOOTER>\nversion 1\n</FOOTER>\n");
  ASSERT_EQ(resources.loadSprite(file, "ship"), 0);
  for (const Solidness solid : {SOFT, HARD, SPECTRAL}) {
    Object source;
    source.setType("Rocket"), source.setVisible(false), source.setAltitude(3);
    source.registerInterest("tx-step"), source.registerInterest("rocket-launch");
    source.setBox(Box(Vector(-2.5f, -1.0f), 4.0f, 0.99f)), source.setPosition(Vector(2.5f, -3.25f));
    Animation animation;
    animation.setSprite(resources.getSprite("ship"));
    animation.setIndex(1), animation.setSlowdownCount(3), source.setAnimation(animation);
    source.setSolidness(solid), source.setNoSoft(true), source.setAvoidCollisions(true);
    source.setVelocity(Vector(0.0f, 2.0f)), source.setAcceleration(Vector(0.5f, -0.25f));
    Shape shape;
    shape.setType(SQUARE), shape.setSize(4.5f), shape.setColor(RED), shape.setOpacity(128);
    source.setShape(shape);
    source.setPath(pathOf({Vector(1.0f, 2.0f), Vector(3.5f, 4.0f), Vector(-0.125f, 1e6f)}));
    source.setActive(false);
    const std::string text = source.serialize("ALL");
    Object copy;
    copy.setSolidness(solid == HARD ? SOFT : HARD);
    copy.deserialize(text);
    EXPECT_EQ(copy.serialize("ALL"), text) << "solidness " << solid;
    EXPECT_EQ(copy.getAnimation().getSprite(), resources.getSprite("ship"));
  }
  resources.shutDown();
}

// New: all attributes once, in fixed order; then what changed, or what is named, clearing just it.
TEST_F(ObjectSerializationTest, EmptyListWritesWhatChangedAndANamedListOnlyThat) {
  Object object;
  EXPECT_EQ(
      object.serialize(""),
      "id:1,is_active:true,is_visible:true,event_count:0,box-corner-x:-0.5,box-corner-y:-0.5,"
      "box-horizontal:0.99,box-vertical:0.99,pos-x:1,pos-y:1,type:(Undefined),sprite_name:,"
      "sprite_index:0,sprite_slowdown_count:0,altitude:2,solidness:0,no_soft:false,"
      "x_direction:0,y_direction:0,speed:0,x_acceleration:0,y_acceleration:0,shape:-1,size:" +
          toString(object.getShape().getSize()) +
          ",color:7,opacity:255,follow_path:false,path:,path_index:0,avoid_collisions:false,");
  EXPECT_EQ(object.serialize(""), "");
  EXPECT_EQ(pathToString(pathOf({Vector(1.0f, 2.0f), Vector(3.5f, 4.0f)})), "1 2|3.5 4|");
  object.setVelocity(Vector(3.0f, 4.0f));
  object.setAltitude(0);
  EXPECT_EQ(object.serialize("FOLLOW_PATH,SPEED,POSITION,ID,"),
            "id:1,pos-x:1,pos-y:1,speed:5,follow_path:false,path:,path_index:0,");
  EXPECT_EQ(object.serialize("TYPE,POSITION"), "type:(Undefined),");
  EXPECT_TRUE(
      logHas("Object::serialize(): Warning! Attribute 'TYPE,POSITION' missing trailing ','"));
  EXPECT_EQ(object.serialize(""), "altitude:0,x_direction:0.6,y_direction:0.8,");
}

// Labels replace old ones up to the limit; groups go whole; a lone direction's length is speed.
TEST_F(ObjectSerializationTest, EventsAndGroupsAreReadAsAWhole) {
  Object object;
  ASSERT_EQ(object.registerInterest("tx-keyboard"), 0);
  object.deserialize("event_count:1,event_name[0]:tx-step,");
  EXPECT_EQ(InputManager::getInstance().getEventCount(), 0);
  EXPECT_EQ(GameManager::getInstance().getInterested(0).getCount(), 1);
  std::string many = "event_count:5000,";
  for (int i = 0; i < 5000; i++)
    many += "event_name[" + std::to_string(i) + "]:e" + std::to_string(i) + ",";
  object.deserialize(many);
  EXPECT_EQ(object.getEventCount(), MAX_OBJ_EVENTS);
  EXPECT_TRUE(logHas("Object::deserialize(): Warning! event_count 5000 above maximum 100."));
  object.deserialize("pos-x:5,box-corner-x:1,box-corner-y:1,box-horizontal:3,");
  EXPECT_EQ(object.getPosition(), Vector(1.0f, 1.0f));
  EXPECT_EQ(object.getBox(), Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f));
  object.deserialize("pos-y : 7 , pos-x : 5 ,x_direction:0,y_direction:1,");
  EXPECT_EQ(object.getPosition(), Vector(5.0f, 7.0f));
  EXPECT_FLOAT_EQ(object.getSpeed(), 1.0f);
}

// A malformed waypoint ends the path, reported; an entry of colons alone hides no key after it.
TEST_F(ObjectSerializationTest, MalformedWaypointEndsThePathAndAColonsOnlyEntryHidesNothing) {
  Object object;
  EXPECT_EQ(object.deserialize("path:1 2|3.54|5 6|,"), 0);
  EXPECT_EQ(object.getPath().getNodes(), std::vector<Vector>{Vector(1.0f, 2.0f)});
  EXPECT_TRUE(logHas("Object::deserialize(): malformed node 3.54|5 6|."));
  EXPECT_TRUE(logHas("\tNot added."));
  for (const char* text : {"path:1 x|,", "path:1 2 3|,", "path:nan 2|,"})
    EXPECT_TRUE(object.deserialize(text) == 0 && object.getPath().getNodes().empty()) << text;
  object.deserialize("id:5,:,path:1 2|,altitude:3,");
  EXPECT_EQ(object.getPath().getNodes(), std::vector<Vector>{Vector(1.0f, 2.0f)});
  EXPECT_EQ(object.getAltitude(), 3);
}

}  // namespace
}  // namespace tx::test
