// The latest-request worker, driven by a work whose every request waits at a
// gate until the test opens it: what runs when, and what reaches the
// receiver, follow from the test's own steps, not from timing.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "model/latest_request_worker.h"

namespace brillora {
namespace {

using namespace std::chrono_literals;
using Worker = LatestRequestWorker<int, int>;

// Long enough for a sanitized build on a loaded machine; reached only when
// something that should happen never does.
constexpr std::chrono::milliseconds kLimit = 60s;

// The work of request v: it waits until the test opens v's gate (or, for a
// negative v, until the request goes stale), then hands on 10 v and 10 v + 1
// whether or not it has gone stale, so that only the worker can hold a stale
// result back.
class GatedWork {
 public:
  struct Delivery {
    int result;
    unsigned request;
    std::thread::id thread;
  };

  Worker::Work Work() {
    return [this](const int& v, const Worker::Stale& stale, const Worker::Hand& hand) {
      std::unique_lock lock(mutex_);
      started_.push_back(v);
      changed_.notify_all();
      // The stale check cannot wake the wait, so it is looked at every millisecond.
      const auto go = [&] { return allOpen_ || (v >= 0 ? open_.count(v) > 0 : stale()); };
      while (!changed_.wait_for(lock, 1ms, go)) {
      }
      sawStale_.push_back(stale());
      lock.unlock();
      hand(10 * v);
      hand(10 * v + 1);
      lock.lock();
      ended_.push_back(v);
      changed_.notify_all();
    };
  }
  Worker::Deliver Receiver() {
    return [this](int result, unsigned request) {
      const std::lock_guard lock(mutex_);
      delivered_.push_back({result, request, std::this_thread::get_id()});
      changed_.notify_all();
    };
  }
  void Open(int v) {
    const std::lock_guard lock(mutex_);
    open_.insert(v);
    changed_.notify_all();
  }
  void OpenAll() {
    const std::lock_guard lock(mutex_);
    allOpen_ = true;
    changed_.notify_all();
  }
  // Waits until `count` requests have started, or ended.
  bool Started(std::size_t count, std::chrono::milliseconds limit = kLimit) {
    return WaitFor([&] { return started_.size() >= count; }, limit);
  }
  bool Ended(std::size_t count) {
    return WaitFor([&] { return ended_.size() >= count; }, kLimit);
  }
  std::vector<int> StartedRequests() {
    const std::lock_guard lock(mutex_);
    return started_;
  }
  std::vector<bool> SawStale() {
    const std::lock_guard lock(mutex_);
    return sawStale_;
  }
  std::vector<Delivery> Delivered() {
    const std::lock_guard lock(mutex_);
    return delivered_;
  }

 private:
  template <typename Condition>
  bool WaitFor(Condition condition, std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, condition);
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::set<int> open_;
  bool allOpen_ = false;
  std::vector<int> started_, ended_;
  std::vector<bool> sawStale_;
  std::vector<Delivery> delivered_;
};

// A worker on a gated work. Every gate opens before the worker goes, so that
// a faulty worker fails its test instead of hanging it.
struct Gated {
  GatedWork work;
  Worker worker{work.Work(), work.Receiver()};
  ~Gated() { work.OpenAll(); }
};

TEST(LatestRequestWorker, HandsEveryResultOfTheLatestRequestOnItsOwnThread) {
  Gated gated;
  GatedWork& work = gated.work;
  Worker& worker = gated.worker;
  const unsigned number = worker.Request(4);
  work.Open(4);
  ASSERT_TRUE(work.Ended(1));
  const auto delivered = work.Delivered();
  ASSERT_EQ(delivered.size(), 2u);
  EXPECT_EQ(delivered[0].result, 40);
  EXPECT_EQ(delivered[1].result, 41);
  for (const auto& d : delivered) {
    EXPECT_EQ(d.request, number);
    EXPECT_NE(d.thread, std::this_thread::get_id());
  }
  EXPECT_EQ(work.SawStale(), std::vector<bool>{false});
}

TEST(LatestRequestWorker, ANewRequestMakesTheOneInProgressStaleAndReplacesTheOneWaiting) {
  Gated gated;
  GatedWork& work = gated.work;
  Worker& worker = gated.worker;
  worker.Request(1);
  ASSERT_TRUE(work.Started(1));
  worker.Request(2);  // waits while 1 is in progress, and is replaced
  const unsigned latest = worker.Request(3);
  work.Open(1);
  work.Open(3);
  ASSERT_TRUE(work.Ended(2));
  EXPECT_EQ(work.StartedRequests(), (std::vector<int>{1, 3}));
  EXPECT_EQ(work.SawStale(), (std::vector<bool>{true, false}));
  const auto delivered = work.Delivered();
  ASSERT_EQ(delivered.size(), 2u);
  EXPECT_EQ(delivered[0].result, 30);
  EXPECT_EQ(delivered[0].request, latest);
}

TEST(LatestRequestWorker, CancelDropsWhatWaitsAndWhatIsInProgress) {
  Gated gated;
  GatedWork& work = gated.work;
  Worker& worker = gated.worker;
  worker.Request(1);
  ASSERT_TRUE(work.Started(1));
  worker.Request(2);
  worker.Cancel();
  work.Open(1);
  ASSERT_TRUE(work.Ended(1));
  EXPECT_TRUE(work.Delivered().empty());
  // Nothing waits any more. A request kept by mistake would start at once,
  // with nothing to race it: a tenth of a second is ample to see it.
  ASSERT_FALSE(work.Started(2, 100ms));
  // A later request is served as usual.
  const unsigned later = worker.Request(5);
  work.Open(5);
  ASSERT_TRUE(work.Ended(2));
  EXPECT_EQ(work.StartedRequests(), (std::vector<int>{1, 5}));
  const auto delivered = work.Delivered();
  ASSERT_EQ(delivered.size(), 2u);
  EXPECT_EQ(delivered[0].request, later);
}

TEST(LatestRequestWorker, DestructionEndsTheWorkInProgressAndDeliversNothing) {
  GatedWork work;
  {
    Worker worker(work.Work(), work.Receiver());
    worker.Request(-1);  // runs until it goes stale
    ASSERT_TRUE(work.Started(1));
  }
  // The destructor waited for the thread: the work has ended, seeing itself stale.
  EXPECT_EQ(work.SawStale(), std::vector<bool>{true});
  EXPECT_EQ(work.StartedRequests(), std::vector<int>{-1});
  EXPECT_TRUE(work.Delivered().empty());
}

TEST(LatestRequestWorker, NumbersAreNeverZeroNorRepeatedInARow) {
  EXPECT_EQ(Worker::After(0), 1u);
  EXPECT_EQ(Worker::After(41), 42u);
  EXPECT_EQ(Worker::After(std::numeric_limits<unsigned>::max()), 1u);
  Gated gated;
  GatedWork& work = gated.work;
  Worker& worker = gated.worker;
  const unsigned first = worker.Request(-1);
  ASSERT_TRUE(work.Started(1));
  worker.Cancel();  // takes a number of its own, which no request carries
  const unsigned second = worker.Request(-1);
  EXPECT_NE(first, 0u);
  EXPECT_EQ(second, Worker::After(Worker::After(first)));
}

}  // namespace
}  // namespace brillora
