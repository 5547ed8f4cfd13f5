#include "core/ObjectList.h"

#include <vector>

#include "TestSupport.h"
#include "core/ObjectListIterator.h"
#include "world/Object.h"

namespace tx {
namespace {

class ObjectListTest : public test::EngineTest {
 protected:
  // The list's items, read through an iterator.
  static std::vector<Object*> itemsOf(const ObjectList& list) {
    std::vector<Object*> items;
    ObjectListIterator it(&list);
    for (it.first(); !it.isDone(); it.next()) items.push_back(it.currentObject());
    return items;
  }

  Object a, b, c;
};

TEST_F(ObjectListTest, NullIsRefused) {
  ObjectList list;
  EXPECT_EQ(list.insert(nullptr), -1);
  EXPECT_TRUE(list.isEmpty());
}

TEST_F(ObjectListTest, GrowsPastEveryCapacityKeepingOrder) {
  ObjectList list;
  std::vector<Object*> expected;
  Object* pool[] = {&a, &b, &c};
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(list.insert(pool[i % 3]), 0);
    expected.push_back(pool[i % 3]);
  }
  EXPECT_EQ(list.getCount(), 1000);
  EXPECT_EQ(itemsOf(list), expected);
}

TEST_F(ObjectListTest, RemoveTakesFirstOccurrenceAndKeepsOrder) {
  ObjectList list;
  list.insert(&a);
  list.insert(&b);
  list.insert(&c);
  list.insert(&b);
  EXPECT_EQ(list.remove(&b), 0);
  EXPECT_EQ(itemsOf(list), (std::vector<Object*>{&a, &c, &b}));
}

TEST_F(ObjectListTest, RemoveOfAbsentOrFromEmptyFails) {
  ObjectList list;
  EXPECT_EQ(list.remove(&a), -1);
  list.insert(&a);
  EXPECT_EQ(list.remove(&b), -1);
  EXPECT_EQ(list.getCount(), 1);
}

TEST_F(ObjectListTest, CopiesAreIndependent) {
  ObjectList list;
  list.insert(&a);
  ObjectList copy(list);
  ObjectList assigned;
  assigned.insert(&c);
  assigned = list;
  list.insert(&b);
  copy.remove(&a);
  EXPECT_EQ(itemsOf(list), (std::vector<Object*>{&a, &b}));
  EXPECT_TRUE(copy.isEmpty());
  EXPECT_EQ(itemsOf(assigned), (std::vector<Object*>{&a}));
  assigned = assigned;
  EXPECT_EQ(itemsOf(assigned), (std::vector<Object*>{&a}));
}

TEST_F(ObjectListTest, SumAppendsTheOtherList) {
  ObjectList first;
  first.insert(&a);
  first.insert(&b);
  ObjectList second;
  second.insert(&b);
  second.insert(&c);
  EXPECT_EQ(itemsOf(first + second), (std::vector<Object*>{&a, &b, &b, &c}));
  EXPECT_EQ(first.getCount(), 2);
}

TEST_F(ObjectListTest, IteratorReadsTheListLive) {
  ObjectList list;
  list.insert(&a);
  list.insert(&b);
  ObjectListIterator it(&list);
  it.first();
  EXPECT_EQ(it.currentObject(), &a);
  list.insert(&c);
  list.remove(&a);
  EXPECT_EQ(it.currentObject(), &b);
  it.next();
  EXPECT_EQ(it.currentObject(), &c);
  it.next();
  it.next();
  EXPECT_TRUE(it.isDone());
  EXPECT_EQ(it.currentObject(), nullptr);
  list.insert(&a);
  EXPECT_FALSE(it.isDone());  // next() stopped at the end instead of running past it
}

}  // namespace
}  // namespace tx
