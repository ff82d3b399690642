#pragma once

#include <atomic>
#include <cassert>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <utility>

namespace brillora {

// Long work on a thread of its own, one request at a time, the latest request
// winning: a new request replaces the one still waiting and makes the one in
// progress stale, which its work sees through its stale check and abandons.
// Each request is numbered. Results reach the receiver on the worker's thread,
// with their request's number, and only while that request is still the
// latest; the receiver must still drop a number it no longer awaits, since a
// newer request may come while a result travels. The refined pass of the
// picture window and the light performance figures run on one each.
template <typename Input, typename Output>
class LatestRequestWorker {
 public:
  // True when the work in hand is no longer wanted: a newer request came, the
  // requests were cancelled, or the worker is going.
  using Stale = std::function<bool()>;
  // Passes a result of the work in hand on to the receiver, unless it is stale.
  using Hand = std::function<void(Output result)>;
  // The work of one request. It asks `stale` as often as it can afford and
  // hands on any number of results, each a fuller one than the last.
  using Work = std::function<void(const Input& request, const Stale& stale, const Hand& hand)>;
  using Deliver = std::function<void(Output result, unsigned request)>;

  LatestRequestWorker(Work work, Deliver deliver)
      : work_(std::move(work)),
        deliver_(std::move(deliver)),
        thread_([this](const std::stop_token& stop) { Run(stop); }) {}
  // Makes the work in progress stale and waits for the thread to end.
  ~LatestRequestWorker() = default;
  LatestRequestWorker(const LatestRequestWorker&) = delete;
  LatestRequestWorker& operator=(const LatestRequestWorker&) = delete;

  // Replaces whatever is waiting and makes the work in progress stale; the
  // request's number, never 0.
  unsigned Request(Input request) {
    unsigned number = 0;
    {
      const std::lock_guard lock(mutex_);
      number = issued_ = After(issued_);
      latest_.store(number);
      pending_ = Job{std::move(request), number};
    }
    wake_.notify_one();
    return number;
  }

  // Drops what is waiting and makes the work in progress stale.
  void Cancel() {
    const std::lock_guard lock(mutex_);
    pending_.reset();
    // A number that no request carries until the next one.
    issued_ = After(issued_);
    latest_.store(issued_);
  }

  // The number that follows `n`: the count wraps round past 0, which stands
  // for no request.
  static constexpr unsigned After(unsigned n) { return n + 1 == 0 ? 1 : n + 1; }

 private:
  struct Job {
    Input request;
    unsigned number = 0;
  };

  void Run(const std::stop_token& stop) {
    while (true) {
      std::optional<Job> job;
      {
        std::unique_lock lock(mutex_);
        if (!wake_.wait(lock, stop, [this] { return pending_.has_value(); })) return;
        job = std::move(pending_);
        pending_.reset();
      }
      assert(job->number != 0);
      const unsigned number = job->number;
      const Stale stale = [&] { return stop.stop_requested() || latest_.load() != number; };
      const Hand hand = [&](Output result) {
        if (!stale()) deliver_(std::move(result), number);
      };
      work_(job->request, stale, hand);
    }
  }

  Work work_;
  Deliver deliver_;
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::optional<Job> pending_;       // guarded by mutex_
  unsigned issued_ = 0;              // guarded by mutex_
  std::atomic<unsigned> latest_{0};  // the one request still wanted, read by the stale check
  std::jthread thread_;              // last: starts once the rest is made, stops before it goes
};

}  // namespace brillora
