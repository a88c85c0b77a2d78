#include "platform/base/collections.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/testing/exception_testing.h"

namespace {

TEST(CArrayTest, OutOfRangeThrowsInvalidArgAndInsertsRemovesAndGrowthMoveTheRest) {
  CArray<int, int> a;
  EXPECT_TRUE(ThrowsInvalidArg([&] { a.GetAt(0); }));
  a.Add(1);
  EXPECT_TRUE(ThrowsInvalidArg([&] { a[1]; }) && ThrowsInvalidArg([&] { a[-1]; }) &&
              ThrowsInvalidArg([&] { a.SetAt(1, 0); }) && ThrowsInvalidArg([&] { a.ElementAt(5); }));
  EXPECT_TRUE(ThrowsInvalidArg([&] { a.RemoveAt(0, 2); }) && ThrowsInvalidArg([&] { a.RemoveAt(-1); }) &&
              ThrowsInvalidArg([&] { a.SetSize(-1); }) && ThrowsInvalidArg([&] { a.InsertAt(-1, 0); }));
  EXPECT_EQ(a.GetSize(), 1);  // failed calls changed nothing

  a.SetSize(0);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(a.Add(i * 10), i);
  a.InsertAt(2, 99, 2);
  EXPECT_EQ(std::vector<int>(a.begin(), a.end()), (std::vector<int>{0, 10, 99, 99, 20, 30, 40}));
  a.RemoveAt(1, 3);
  EXPECT_EQ(std::vector<int>(a.begin(), a.end()), (std::vector<int>{0, 20, 30, 40}));
  a.InsertAt(6, 7);  // past the end: grows with default elements
  EXPECT_EQ(std::vector<int>(a.begin(), a.end()), (std::vector<int>{0, 20, 30, 40, 0, 0, 7}));
  a.RemoveAt(4, 3);  // a range that ends at the last element lies inside
  a.SetSize(2, 16);
  EXPECT_EQ(a.GetUpperBound(), 1);
  a.SetAtGrow(3, 5);
  EXPECT_EQ(a.GetSize(), 4);
  EXPECT_EQ(a.GetData()[3], 5);
}

TEST(CArrayTest, SelfReferencingArguments) {
  CArray<CString> a;
  a.Add("first");
  for (int i = 0; i < 100; ++i) {
    a.Add(a[0]);  // reference into the array across reallocation
  }
  a.InsertAt(0, a[100], 3);
  a.SetAtGrow(500, a[0]);
  EXPECT_EQ(a.GetSize(), 501);
  EXPECT_EQ(a[500], "first");
  EXPECT_EQ(a.Append(a), 501);
  EXPECT_EQ(a.GetSize(), 1002);
  CArray<CString> b;
  b.InsertAt(0, &a);
  b.Copy(b);
  EXPECT_EQ(b.GetSize(), 1002);
}

TEST(CListTest, PositionsWalkBothWaysAndStayValidWhileOthersAreRemoved) {
  CList<int, int> l;
  EXPECT_EQ(l.GetHeadPosition(), nullptr);
  l.AddTail(2);
  l.AddTail(3);
  const POSITION one = l.AddHead(1);
  l.InsertAfter(l.GetTailPosition(), 4);
  l.InsertBefore(one, 0);
  std::vector<int> forward;
  for (POSITION p = l.GetHeadPosition(); p != nullptr;) forward.push_back(l.GetNext(p));
  EXPECT_EQ(forward, (std::vector<int>{0, 1, 2, 3, 4}));
  std::vector<int> backward;
  for (POSITION p = l.GetTailPosition(); p != nullptr;) backward.push_back(l.GetPrev(p));
  EXPECT_EQ(backward, (std::vector<int>{4, 3, 2, 1, 0}));
  EXPECT_EQ(l.GetAt(l.FindIndex(2)), 2);
  EXPECT_EQ(l.FindIndex(5), nullptr);
  EXPECT_EQ(l.FindIndex(-1), nullptr);

  l.RemoveAll();
  for (int i = 0; i < 10; ++i) l.AddTail(i % 3);
  // Remove every 0 while walking: the next position stays valid.
  for (POSITION p = l.GetHeadPosition(); p != nullptr;) {
    const POSITION cur = p;
    if (l.GetNext(p) == 0) l.RemoveAt(cur);
  }
  EXPECT_EQ(l.GetCount(), 6);
  EXPECT_EQ(l.Find(0), nullptr);
  const POSITION first2 = l.Find(2);
  ASSERT_NE(first2, nullptr);
  const POSITION second2 = l.Find(2, first2);
  ASSERT_NE(second2, nullptr);
  EXPECT_NE(first2, second2);
  l.SetAt(second2, 7);
  EXPECT_EQ(l.GetAt(second2), 7);
  EXPECT_EQ(l.RemoveHead(), 1);
  EXPECT_EQ(l.RemoveTail(), 2);
  l.RemoveAll();
  EXPECT_TRUE(l.IsEmpty());
  EXPECT_TRUE(ThrowsInvalidArg([&] { l.RemoveHead(); }) && ThrowsInvalidArg([&] { l.GetTail(); }) &&
              ThrowsInvalidArg([&] { l.GetAt(nullptr); }));
}

TEST(CMapTest, ManyKeysLookupAndRemovalDuringIteration) {
  CMap<int, int, int, int> m;
  m.InitHashTable(17);
  for (int i = 0; i < 10000; ++i) m[i] = i * 2;
  EXPECT_EQ(m.GetCount(), 10000);
  int v = 0;
  EXPECT_TRUE(m.Lookup(9999, v));
  EXPECT_EQ(v, 19998);
  EXPECT_FALSE(m.Lookup(10000, v));

  // Remove every odd key while iterating; each key is visited exactly once.
  std::set<int> seen;
  for (POSITION p = m.GetStartPosition(); p != nullptr;) {
    int key = 0;
    int value = 0;
    m.GetNextAssoc(p, key, value);
    EXPECT_TRUE(seen.insert(key).second);
    EXPECT_EQ(value, key * 2);
    if (key % 2 != 0) {
      EXPECT_TRUE(m.RemoveKey(key));
    }
  }
  EXPECT_EQ(seen.size(), 10000u);
  EXPECT_EQ(m.GetCount(), 5000);
  EXPECT_FALSE(m.RemoveKey(1));
  m.RemoveAll();
  EXPECT_EQ(m.GetStartPosition(), nullptr);
}

}  // namespace
