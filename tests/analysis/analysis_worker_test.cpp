// The analysis worker's own part: what it computes for a request and in what
// order it hands it on. The thread, the numbering and the latest request's
// winning are the latest-request worker's, tested with it.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "analysis/analysis_worker.h"
#include "sample_stone.h"

namespace brillora::testing {
namespace {

using namespace std::chrono_literals;

TEST(AnalysisWorker, HandsOnTheFaceUpFiguresFirstAndThenTheTiltCurves) {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::pair<AnalysisResult, unsigned>> received;
  AnalysisWorker worker([&](const AnalysisResult& result, unsigned request) {
    const std::lock_guard lock(mutex);
    received.emplace_back(result, request);
    changed.notify_all();
  });
  AnalysisRequest request;
  request.settings = {10, 4, 2.42};
  request.tilt = {6, 3, {0, 22.5}};
  worker.Request(request);  // no stone: nothing to compute
  request.stone = std::make_shared<const Stone>(SampleStone("RoundBrilliant.brl"));
  const unsigned number = worker.Request(request);
  {
    std::unique_lock lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, 120s, [&] { return received.size() >= 2; }));
  }
  LightAnalyzer analyzer;
  const LightFigures faceUp = analyzer.Analyze(*request.stone, IdentityFrame(), request.settings);
  const auto curves = TiltCurves(*request.stone, request.settings, request.tilt);
  const std::lock_guard lock(mutex);
  ASSERT_EQ(received.size(), 2u);
  for (const auto& [result, n] : received) {
    EXPECT_EQ(n, number);
    EXPECT_EQ(result.faceUp.Iso, faceUp.Iso);
    EXPECT_EQ(result.faceUp.Unresolved, faceUp.Unresolved);
  }
  EXPECT_FALSE(received[0].first.tilt.has_value());
  ASSERT_TRUE(received[1].first.tilt.has_value() && curves.has_value());
  ASSERT_EQ(received[1].first.tilt->size(), 2u);
  for (std::size_t c = 0; c < 2; ++c) {
    ASSERT_EQ((*received[1].first.tilt)[c].Points.size(), 5u);
    EXPECT_EQ((*received[1].first.tilt)[c].Mean.Iso, (*curves)[c].Mean.Iso);
  }
}

}  // namespace
}  // namespace brillora::testing
