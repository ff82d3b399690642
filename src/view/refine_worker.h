#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

#include <QImage>

#include "view/paint_smooth.h"
#include "view/refined_pass.h"

namespace brillora {

// Draws refined pictures on a thread of its own, one request at a time, in the
// manner of a render thread: a new request abandons the pass in progress and
// starts over with the new state. A finished picture goes to `deliver`, on the
// worker's thread, with the number of its request, and only while that
// request is still the latest; the receiver must drop a number it no longer
// awaits, since a newer request may come while the picture travels.
class RefineWorker {
 public:
  using Deliver = std::function<void(QImage picture, unsigned request)>;
  // What draws one request; by default a RefinedPass of the worker's own.
  using Draw = std::function<std::optional<QImage>(const RefineRequest&, const StopCheck&)>;

  explicit RefineWorker(Deliver deliver, Draw draw = {});
  // Abandons the pass in progress and waits for the thread to end.
  ~RefineWorker() = default;
  RefineWorker(const RefineWorker&) = delete;
  RefineWorker& operator=(const RefineWorker&) = delete;

  // Replaces whatever is pending or in progress; the request's number, never 0.
  unsigned Request(RefineRequest request);
  // Drops what is pending and abandons what is in progress.
  void Cancel();

 private:
  struct Job {
    RefineRequest request;
    unsigned number = 0;
  };

  void Run(const std::stop_token& stop);

  Deliver deliver_;
  Draw draw_;
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::optional<Job> pending_;
  unsigned issued_ = 0;              // guarded by mutex_
  std::atomic<unsigned> latest_{0};  // the one request still wanted, read by the stop check
  std::jthread thread_;              // last: starts once the rest is made, stops before it goes
};

}  // namespace brillora
