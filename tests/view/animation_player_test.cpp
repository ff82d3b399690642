#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "animation_scene.h"
#include "view/animation_frame.h"
#include "view/animation_player.h"
#include "view/paint_polygons.h"
#include "view/paint_style.h"

namespace brillora {
namespace {

// Everything the player told its host, in order.
struct Recorder {
  std::vector<std::string> events;
  std::vector<int> progress;
  std::vector<Frame> views;
  std::vector<QImage> frames;
  std::vector<qint64> shownAt;  // milliseconds since `clock` started
  std::vector<AnimationEnd> ends;
  LinearColor background{0.5, 0.5, 0.5};  // the background of the moment
  QElapsedTimer clock;

  AnimationHost Host() {
    clock.start();
    return AnimationHost{
        [this](int i) {
          progress.push_back(i);
          events.push_back("progress " + std::to_string(i));
        },
        [this] { events.push_back("prepared"); },
        [this](const Frame& view) {
          views.push_back(view);
          shownAt.push_back(clock.elapsed());
        },
        [this](const QImage& frame) {
          frames.push_back(frame);
          shownAt.push_back(clock.elapsed());
        },
        [this] { return background; },
        [this](AnimationVariant variant, AnimationEnd end) {
          ends.push_back(end);
          events.push_back("ended " + std::to_string(TagOf(variant)));
        }};
  }
};

// The mean difference of all channels of two pictures of one size.
double MeanDifference(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB888), y = b.convertToFormat(QImage::Format_RGB888);
  long sum = 0;
  for (int r = 0; r < x.height(); ++r)
    for (int c = 0; c < 3 * x.width(); ++c) sum += std::abs(x.constScanLine(r)[c] - y.constScanLine(r)[c]);
  return static_cast<double>(sum) / (3.0 * x.width() * x.height());
}

class AnimationPlayerTest : public ::testing::Test {
 protected:
  void Prepare(AnimationPlayer& player, AnimationVariant variant) {
    player.Start(variant, scene_);
    for (int i = 0; i < kAnimationFrames; ++i) player.Step();
  }
  // The frame as a prepared variant must show it, drawn here independently.
  QImage Expected(int i) const {
    QImage image(scene_.width + 1, scene_.height + 1, QImage::Format_RGB888);
    PaintPolygons(image, testing::TracedFrame(scene_, i), AnimationStyle(scene_.background));
    return image;
  }

  int argc_ = 1;
  char name_[16] = "animation_tests";
  char* argv_[2] = {name_, nullptr};
  QCoreApplication application_{argc_, argv_};
  AnimationScene scene_ = testing::BrilliantScene(90, 80);
  Recorder recorder_;
};

TEST_F(AnimationPlayerTest, PreparesAHundredFramesWithProgressThenLoopsThem) {
  AnimationPlayer player(recorder_.Host());
  Prepare(player, AnimationVariant::Jpeg);
  ASSERT_EQ(recorder_.progress.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(recorder_.progress[i], i);
  EXPECT_EQ(recorder_.events.back(), "prepared");
  EXPECT_FALSE(player.Preparing());
  ASSERT_NE(player.Store(), nullptr);
  EXPECT_EQ(player.Store()->Count(), 100);
  EXPECT_TRUE(recorder_.frames.empty()) << "nothing is shown while preparing";

  for (int i = 0; i < 102; ++i) player.Step();
  ASSERT_EQ(recorder_.frames.size(), 102u);
  // Frame 0 is already turned off the top view, frame 99 is the top view again.
  EXPECT_EQ(recorder_.frames[0].size(), QSize(91, 81));
  EXPECT_LT(MeanDifference(recorder_.frames[0], Expected(0)), 2.0);
  EXPECT_GT(MeanDifference(recorder_.frames[0], Expected(99)), 4.0);
  EXPECT_LT(MeanDifference(recorder_.frames[99], Expected(99)), 2.0);
  // After frame 99 the loop starts again at frame 0.
  EXPECT_EQ(recorder_.frames[100], recorder_.frames[0]);
  EXPECT_TRUE(recorder_.ends.empty());
}

TEST_F(AnimationPlayerTest, EveryPreparedVariantShowsFrameZeroWithinItsCodecsLoss) {
  const QImage expected = Expected(0);
  const struct {
    AnimationVariant variant;
    double meanLoss;
  } variants[] = {{AnimationVariant::Polygons, 0.5}, {AnimationVariant::Bitmap, 4.0}, {AnimationVariant::Gif, 6.0}};
  for (const auto& v : variants) {
    AnimationPlayer player(recorder_.Host());
    recorder_.frames.clear();
    Prepare(player, v.variant);
    recorder_.background = scene_.background;
    player.Step();
    ASSERT_EQ(recorder_.frames.size(), 1u) << TagOf(v.variant);
    ASSERT_EQ(recorder_.frames[0].size(), QSize(91, 81));
    EXPECT_LT(MeanDifference(recorder_.frames[0], expected), v.meanLoss) << TagOf(v.variant);
  }
}

TEST_F(AnimationPlayerTest, AStopDuringPreparationReleasesTheFramesAndPlaysNothing) {
  AnimationPlayer player(recorder_.Host());
  player.Start(AnimationVariant::Jpeg, scene_);
  for (int i = 0; i < 5; ++i) player.Step();
  ASSERT_EQ(player.Store()->Count(), 5);
  player.Stop();
  EXPECT_EQ(player.Store(), nullptr);
  EXPECT_FALSE(player.Running());
  for (int i = 0; i < 10; ++i) player.Step();
  EXPECT_TRUE(recorder_.frames.empty());
  const std::vector<std::string> tail(recorder_.events.end() - 3, recorder_.events.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"progress 4", "prepared", "ended 2"}));
  ASSERT_EQ(recorder_.ends.size(), 1u);
  EXPECT_EQ(recorder_.ends[0], AnimationEnd::Stopped);
  player.Stop();  // nothing runs: nothing more is told
  EXPECT_EQ(recorder_.ends.size(), 1u);
}

TEST_F(AnimationPlayerTest, AStopFromTheHostCutsTheFrameInHandShort) {
  AnimationPlayer* running = nullptr;
  AnimationHost host = recorder_.Host();
  host.progress = [&](int i) {
    recorder_.progress.push_back(i);
    if (i == 3) running->Stop();  // "Cancel" pressed while frame 3 is announced
  };
  AnimationPlayer player(host);
  running = &player;
  player.Start(AnimationVariant::Bitmap, scene_);
  for (int i = 0; i < 10; ++i) player.Step();
  EXPECT_EQ(recorder_.progress, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(player.Store(), nullptr);
  EXPECT_EQ(recorder_.ends.size(), 1u);
}

TEST_F(AnimationPlayerTest, TracingShowsTheWobbleOrientationsInALoop) {
  AnimationPlayer player(recorder_.Host());
  player.Start(AnimationVariant::Tracing, scene_);
  EXPECT_FALSE(player.Preparing());
  for (int i = 0; i < 101; ++i) player.Step();
  ASSERT_EQ(recorder_.views.size(), 101u);
  EXPECT_EQ(recorder_.views[0], AnimationFrame(0));
  EXPECT_EQ(recorder_.views[57], AnimationFrame(57));
  EXPECT_EQ(recorder_.views[100], AnimationFrame(0));
  EXPECT_TRUE(recorder_.progress.empty());
  EXPECT_EQ(player.Store(), nullptr);
  player.Stop();
  EXPECT_EQ(recorder_.events, (std::vector<std::string>{"ended 0"})) << "no preparation to end";
}

TEST_F(AnimationPlayerTest, FramesBeyondTheMemoryBudgetEndTheAnimationCleanly) {
  // Room for a few bitmaps, not for a hundred.
  AnimationPlayer player(recorder_.Host(), 5 * 92 * 81 * 2);
  player.Start(AnimationVariant::Bitmap, scene_);
  player.Step();
  EXPECT_FALSE(player.Running());
  EXPECT_EQ(player.Store(), nullptr);
  ASSERT_EQ(recorder_.ends.size(), 1u);
  EXPECT_EQ(recorder_.ends[0], AnimationEnd::OutOfMemory);
  EXPECT_EQ(recorder_.events, (std::vector<std::string>{"progress 0", "prepared", "ended 3"}));
  // The JPEG frames fill the same room only after some were kept.
  AnimationPlayer jpeg(recorder_.Host(), 5 * 92 * 81 * 2);
  jpeg.Start(AnimationVariant::Jpeg, scene_);
  int steps = 0;
  while (jpeg.Running() && steps < 200) {
    jpeg.Step();
    ++steps;
  }
  EXPECT_GT(steps, 1);
  EXPECT_LT(steps, 100);
  EXPECT_EQ(recorder_.ends.back(), AnimationEnd::OutOfMemory);
  EXPECT_TRUE(recorder_.frames.empty());
}

// The intervals between consecutive times, shortest first.
std::vector<qint64> Intervals(const std::vector<qint64>& times) {
  std::vector<qint64> gaps;
  for (std::size_t i = 1; i < times.size(); ++i) gaps.push_back(times[i] - times[i - 1]);
  std::sort(gaps.begin(), gaps.end());
  return gaps;
}

void RunFor(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

TEST_F(AnimationPlayerTest, PlaybackKeepsTwentyFiveFramesASecond) {
  for (AnimationVariant v : {AnimationVariant::Tracing, AnimationVariant::Polygons, AnimationVariant::Jpeg,
                            AnimationVariant::Bitmap, AnimationVariant::Gif}) {
    recorder_.background = scene_.background;
    AnimationPlayer player(recorder_.Host());
    player.Start(v, scene_);
    QElapsedTimer preparation;
    preparation.start();
    while (player.Preparing() && preparation.elapsed() < 60000) QCoreApplication::processEvents();
    ASSERT_FALSE(player.Preparing());
    recorder_.shownAt.clear();
    RunFor(2000);
    player.Stop();
    // 50 frames in two seconds; a loop without pace would show thousands. The
    // lower bounds are loose: a loaded machine or a sanitized build may show
    // fewer frames, but never more.
    const std::size_t shown = recorder_.shownAt.size();
    EXPECT_GE(shown, 10u) << TagOf(v);
    EXPECT_LE(shown, 52u) << TagOf(v);
    const std::vector<qint64> gaps = Intervals(recorder_.shownAt);
    ASSERT_FALSE(gaps.empty());
    const qint64 median = gaps[gaps.size() / 2];
    EXPECT_GE(median, 35) << TagOf(v);
    EXPECT_LE(median, 150) << TagOf(v);
  }
}

}  // namespace
}  // namespace brillora
