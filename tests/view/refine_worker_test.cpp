#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "light/illumination_model.h"
#include "model/default_design.h"
#include "model/facet_construction.h"
#include "view/refine_worker.h"

namespace brillora {
namespace {

Stone DefaultStone() {
  Design design = DefaultDesign();
  return ConstructStone(design);
}

using namespace std::chrono_literals;

// What the worker handed over, and a way to wait for it.
class Deliveries {
 public:
  RefineWorker::Deliver Receiver() {
    return [this](QImage picture, unsigned request) {
      const std::lock_guard lock(mutex_);
      received_.push_back({std::move(picture), request});
      changed_.notify_all();
    };
  }
  bool WaitFor(std::size_t count, std::chrono::milliseconds limit = 20s) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return received_.size() >= count; });
  }
  std::vector<unsigned> Requests() {
    const std::lock_guard lock(mutex_);
    std::vector<unsigned> numbers;
    for (const auto& r : received_) numbers.push_back(r.request);
    return numbers;
  }
  QImage Picture(std::size_t i) {
    const std::lock_guard lock(mutex_);
    return received_.at(i).picture;
  }

 private:
  struct Received {
    QImage picture;
    unsigned request;
  };
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Received> received_;
};

// A pass that tells when it starts and then, for a request of width 1, runs
// until it is told to stop; it returns a picture even then, so that only the
// worker can keep a stale one from being delivered.
class HeldPass {
 public:
  RefineWorker::Draw Draw() {
    return [this](const RefineRequest& request, const StopCheck& stop) -> std::optional<QImage> {
      {
        const std::lock_guard lock(mutex_);
        ++started_;
        changed_.notify_all();
      }
      if (request.width == 1) {
        const auto until = std::chrono::steady_clock::now() + 20s;
        while (!stop() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(1ms);
      }
      QImage picture(request.width, 1, QImage::Format_RGB32);
      picture.fill(Qt::white);
      return picture;
    };
  }
  bool WaitStarted(int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, 20s, [&] { return started_ >= count; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int started_ = 0;
};

RefineRequest OfWidth(int width) {
  RefineRequest request;
  request.width = width;
  request.height = 1;
  return request;
}

TEST(RefineWorker, DeliversThePictureOfItsOwnPass) {
  Deliveries deliveries;
  RefineWorker worker(deliveries.Receiver());
  IlluminationModel light;
  RefineRequest request;
  request.stone = std::make_shared<const Stone>(DefaultStone());
  request.light = light.Snapshot();
  request.maxLevel = 11;
  request.style = PaintStyle{light.BGColor(), true, false, -1};
  request.width = 200;
  request.height = 150;
  const unsigned number = worker.Request(request);
  EXPECT_NE(number, 0u);
  ASSERT_TRUE(deliveries.WaitFor(1));
  EXPECT_EQ(deliveries.Requests(), std::vector<unsigned>{number});
  RefinedPass pass;
  EXPECT_TRUE(deliveries.Picture(0) == *pass.Draw(request));
}

TEST(RefineWorker, ANewRequestAbandonsThePassInProgress) {
  Deliveries deliveries;
  HeldPass pass;
  RefineWorker worker(deliveries.Receiver(), pass.Draw());
  const unsigned held = worker.Request(OfWidth(1));
  ASSERT_TRUE(pass.WaitStarted(1));
  const unsigned newer = worker.Request(OfWidth(2));
  EXPECT_NE(newer, held);
  ASSERT_TRUE(deliveries.WaitFor(1));
  std::this_thread::sleep_for(20ms);  // room for a wrong second delivery
  EXPECT_EQ(deliveries.Requests(), std::vector<unsigned>{newer});
  EXPECT_EQ(deliveries.Picture(0).width(), 2);
}

TEST(RefineWorker, CancelDeliversNothing) {
  Deliveries deliveries;
  HeldPass pass;
  RefineWorker worker(deliveries.Receiver(), pass.Draw());
  worker.Request(OfWidth(1));
  ASSERT_TRUE(pass.WaitStarted(1));
  worker.Cancel();
  // The abandoned pass ends; a later request is served as usual.
  const unsigned later = worker.Request(OfWidth(3));
  ASSERT_TRUE(deliveries.WaitFor(1));
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(deliveries.Requests(), std::vector<unsigned>{later});
}

TEST(RefineWorker, DestructionEndsAPassInProgress) {
  Deliveries deliveries;
  HeldPass pass;
  const auto start = std::chrono::steady_clock::now();
  {
    RefineWorker worker(deliveries.Receiver(), pass.Draw());
    worker.Request(OfWidth(1));
    ASSERT_TRUE(pass.WaitStarted(1));
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
  EXPECT_TRUE(deliveries.Requests().empty());
}

}  // namespace
}  // namespace brillora
