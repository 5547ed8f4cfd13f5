#include "tolvex/core/utility.h"

#include <gtest/gtest.h>

namespace tx {
namespace {

// match() keeps its last parse; an empty text looks the key up in it.
TEST(MatchTest, KeepsTheLastParse) {
  EXPECT_EQ(match("", "a"), "") << "nothing parsed yet";
  EXPECT_EQ(match(" a : 1 ,\tb :\n2 ,a:3,c,d:4:5,,:,Frame:6,frame:7", "b"), "2");
  EXPECT_EQ(match("", "a"), "1") << "white space ignored, first occurrence wins";
  EXPECT_EQ(match("", "c"), "") << "entry without a value";
  EXPECT_EQ(match("", "d"), "4") << "text after a second colon dropped";
  EXPECT_EQ(match("", "frame"), "7") << "keys compare exactly, past an empty and a ':' entry";
  EXPECT_EQ(match("c:3", "a"), "") << "a new text replaces the kept parse";
}

}  // namespace
}  // namespace tx
