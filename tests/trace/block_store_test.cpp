#include "trace/block_store.h"

#include <gtest/gtest.h>

#include <vector>

namespace brillora {
namespace {

using SmallStore = BlockStore<std::vector<int>, 4>;

// Beams and points hold plain pointers to records made earlier in the same
// render, and a record's own memory is meant to serve the next render.
TEST(BlockStore, RecordsKeepTheirAddressAndTheirContentsAcrossGrowthAndClear) {
  SmallStore store;
  std::vector<const std::vector<int>*> made;
  for (int i = 0; i < 11; ++i) {  // three blocks, the last one in part
    std::vector<int>& record = store.Next();
    record.assign(static_cast<std::size_t>(i + 1), i);
    made.push_back(&record);
  }
  ASSERT_EQ(store.size(), 11u);
  for (std::size_t i = 0; i < made.size(); ++i) {
    EXPECT_EQ(&store[i], made[i]);
    EXPECT_EQ(store[i].size(), i + 1);
  }

  store.Clear();
  EXPECT_EQ(store.size(), 0u);
  for (std::size_t i = 0; i < 6; ++i) {
    std::vector<int>& record = store.Next();
    EXPECT_EQ(&record, made[i]);
    EXPECT_EQ(record, std::vector<int>(i + 1, static_cast<int>(i)));
  }
}

TEST(BlockStore, ForEachFromVisitsEachLaterRecordOnceAcrossBlockEnds) {
  SmallStore store;
  for (int i = 0; i < 10; ++i) store.Next() = {i};
  for (std::size_t first : {0u, 3u, 4u, 9u, 10u}) {
    std::vector<int> seen;
    store.ForEachFrom(first, [&seen](std::vector<int>& record) { seen.push_back(record[0]); });
    std::vector<int> expected;
    for (int i = static_cast<int>(first); i < 10; ++i) expected.push_back(i);
    EXPECT_EQ(seen, expected) << "from " << first;
  }
}

}  // namespace
}  // namespace brillora
