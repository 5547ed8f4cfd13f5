#include "tolvex/core/utility.h"

#include <gtest/gtest.h>
#include <malloc.h>

namespace tx {
namespace {

TEST(MatchTest, KeepsTheLastParse) {
  EXPECT_EQ(match("", "a"), "") << "nothing parsed yet";
  EXPECT_EQ(match(" a : 1 ,\tb :\n2 ,a:3,c,d:4:5,,:,Frame:6,frame:7", "b"), "2");
  EXPECT_EQ(match("", "a"), "1") << "white space ignored, first occurrence wins";
  EXPECT_EQ(match("", "c"), "") << "entry without a value";
  EXPECT_EQ(match("", "d"), "4") << "text after a second colon dropped";
  EXPECT_EQ(match("", "frame"), "7") << "keys compare exactly, past an empty and a ':' entry";
  EXPECT_EQ(match("c:3", "a"), "") << "a new text replaces the kept parse";
}

// A MiB of commas, or of the shortest entries.
TEST(MatchTest, KeptParseStaysWithinAFewTimesTheText) {
  const auto heapInUse = [] {  // glibc's heap (AddressSanitizer keeps its own)
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<long long>(heap.uordblks + heap.hblkhd);
  };
  const std::size_t size = 1 << 20;
  std::string shortest;
  while (shortest.size() < size) shortest += "a,";
  for (const std::string& text : {std::string(size, ','), shortest}) {
    match("a:1", "a");
    const long long before = heapInUse();
    EXPECT_EQ(match(text, "b"), "");
    EXPECT_LE(heapInUse() - before, static_cast<long long>(5 * size));
  }
}

}  // namespace
}  // namespace tx
