#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

#include "analysis/light_figures.h"
#include "analysis/tilt_curve.h"
#include "model/design.h"

namespace brillora {

// What the figures of one state of the design depend on, held by value or as
// an immutable stone, so that another thread can work on it.
struct AnalysisRequest {
  std::shared_ptr<const Stone> stone;
  AnalysisSettings settings;
  TiltSettings tilt;
};

// The figures of a request: the face-up figures come first, alone, and then
// again with the tilt curves.
struct AnalysisResult {
  LightFigures faceUp;
  std::optional<std::vector<TiltCurve>> tilt;
};

// Computes the figures on a thread of its own with a tracer of its own, one
// request at a time: a new request abandons the one in progress. Results go to
// `deliver`, on the worker's thread, with the number of their request, and
// only while that request is still the latest; the receiver must still drop a
// number it no longer awaits, since a newer request may come meanwhile.
class AnalysisWorker {
 public:
  using Deliver = std::function<void(const AnalysisResult& result, unsigned request)>;

  explicit AnalysisWorker(Deliver deliver);
  // Abandons the work in progress and waits for the thread to end.
  ~AnalysisWorker() = default;
  AnalysisWorker(const AnalysisWorker&) = delete;
  AnalysisWorker& operator=(const AnalysisWorker&) = delete;

  // Replaces whatever is pending or in progress; the request's number, never 0.
  unsigned Request(AnalysisRequest request);

 private:
  struct Job {
    AnalysisRequest request;
    unsigned number = 0;
  };

  void Run(const std::stop_token& stop);

  Deliver deliver_;
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::optional<Job> pending_;
  unsigned issued_ = 0;              // guarded by mutex_
  std::atomic<unsigned> latest_{0};  // the one request still wanted
  std::jthread thread_;              // last: starts once the rest is made, stops before it goes
};

}  // namespace brillora
