#include "core/utility.h"

#include "TestSupport.h"

namespace tx {
namespace {

using test::EngineTest;

class MatchTest : public EngineTest {};

TEST_F(MatchTest, EmptyTextBeforeAnyParseFindsNothing) { EXPECT_EQ(match("", "a"), ""); }

TEST_F(MatchTest, EmptyTextLooksUpTheKeptParse) {
  EXPECT_EQ(match("a:1,b:2", "b"), "2");
  EXPECT_EQ(match("", "a"), "1");
  EXPECT_EQ(match("", "b"), "2");
}

TEST_F(MatchTest, NewTextReplacesTheKeptParse) {
  EXPECT_EQ(match("a:1,b:2", "a"), "1");
  EXPECT_EQ(match("c:3", "c"), "3");
  EXPECT_EQ(match("", "a"), "");
}

TEST_F(MatchTest, WhiteSpaceAnywhereIsIgnored) {
  EXPECT_EQ(match(" a : 1 ,\tb :\n2 ", "a"), "1");
  EXPECT_EQ(match("", "b"), "2");
  EXPECT_EQ(match("title: My Game,", "title"), "MyGame");
}

TEST_F(MatchTest, FirstOccurrenceWins) { EXPECT_EQ(match("a:1,a:2", "a"), "1"); }

TEST_F(MatchTest, EntryWithoutValueGivesEmpty) {
  EXPECT_EQ(match("a,b:2", "a"), "");
  EXPECT_EQ(match("", "b"), "2");
  EXPECT_EQ(match("", "missing"), "");
}

TEST_F(MatchTest, TextAfterASecondColonIsDropped) { EXPECT_EQ(match("a:1:2", "a"), "1"); }

TEST_F(MatchTest, EmptyPiecesGiveNoEntry) {
  EXPECT_EQ(match(",a:1,,b:2,", "b"), "2");
  EXPECT_EQ(match("", "a"), "1");
}

TEST_F(MatchTest, KeysCompareExactly) {
  EXPECT_EQ(match("Frame_time:1,frame_time:2", "frame_time"), "2");
  EXPECT_EQ(match("", "frame"), "");
}

// A stray entry made only of colons holds nothing, but the entries after it still count.
TEST_F(MatchTest, ColonOnlyEntryDoesNotHideLaterEntries) {
  EXPECT_EQ(match("a:1,:,b:2", "b"), "2");
  EXPECT_EQ(match("", "a"), "1");
}

TEST(ToStringTest, FormsOfEachType) {
  EXPECT_EQ(toString(-42), "-42");
  EXPECT_EQ(toString(0.5f), "0.5");
  EXPECT_EQ(toString(3.0f), "3");
  EXPECT_EQ(toString(1234567.0f), "1.23457e+06");
  EXPECT_EQ(toString(true), "true");
  EXPECT_EQ(toString(false), "false");
}

TEST(ValueInRangeTest, BoundsAreInclusive) {
  EXPECT_TRUE(valueInRange(4.0f, 0.0f, 4.0f));
  EXPECT_TRUE(valueInRange(0.0f, 0.0f, 4.0f));
  EXPECT_FALSE(valueInRange(4.01f, 0.0f, 4.0f));
  EXPECT_FALSE(valueInRange(-0.01f, 0.0f, 4.0f));
}

}  // namespace
}  // namespace tx
