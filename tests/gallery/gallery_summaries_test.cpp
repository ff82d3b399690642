// The gallery's worker threads: every design once, and nothing after they go.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <set>
#include <vector>

#include "gallery/gallery_summaries.h"

namespace brillora {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Copies(const char* name, int count) {
  return std::vector<fs::path>(count, fs::path(BRILLORA_SOURCE_DIR) / "GEM_DAT" / name);
}

TEST(GallerySummaries, EveryDesignIsSummarisedOnceWithItsPlace) {
  std::vector<fs::path> files = Copies("Default.brl", 20);
  files[7] = fs::path(BRILLORA_SOURCE_DIR) / "GEM_DAT" / "Hexagon6.brl";
  std::mutex mutex;
  std::multiset<std::size_t> places;
  std::vector<int> symmetry(files.size());
  std::atomic<std::size_t> delivered = 0;
  {
    GallerySummaries summaries(files, 16, 3, [&](std::size_t index, DesignSummary summary) {
      {
        const std::lock_guard lock(mutex);
        places.insert(index);
        symmetry[index] = summary.symmetry;
      }
      ++delivered;
      delivered.notify_all();
    });
    for (std::size_t seen = delivered; seen < files.size(); seen = delivered) delivered.wait(seen);
  }
  ASSERT_EQ(places.size(), files.size());
  for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(places.count(i), 1u) << i;
  EXPECT_EQ(symmetry[7], 6);
  EXPECT_EQ(symmetry[8], 8);
}

TEST(GallerySummaries, GoingAbandonsTheDesignsNotStarted) {
  const std::vector<fs::path> files = Copies("Round48.brl", 40);
  std::atomic<int> delivered = 0;
  std::atomic<bool> first = false;
  {
    GallerySummaries summaries(files, 16, 1, [&](std::size_t, DesignSummary) {
      ++delivered;
      first = true;
      first.notify_all();
    });
    first.wait(false);
  }
  // Gone: its thread ended with at most the design it had in hand.
  const int atTheEnd = delivered;
  EXPECT_GE(atTheEnd, 1);
  EXPECT_LE(atTheEnd, 2);
}

}  // namespace
}  // namespace brillora
