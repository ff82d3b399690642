#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "analysis/light_figures.h"
#include "analysis/tilt_curve.h"
#include "model/design.h"
#include "model/latest_request_worker.h"

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

// Computes the figures on a thread of its own with a tracer of its own, the
// latest request winning (LatestRequestWorker): a new request abandons the one
// in progress. Results go to `deliver`, on the worker's thread, with the
// number of their request, and only while that request is still the latest;
// the receiver must still drop a number it no longer awaits.
class AnalysisWorker {
 public:
  using Deliver = std::function<void(const AnalysisResult& result, unsigned request)>;

  explicit AnalysisWorker(Deliver deliver);

  // Replaces whatever is pending or in progress; the request's number, never 0.
  unsigned Request(AnalysisRequest request) { return worker_.Request(std::move(request)); }

 private:
  using Worker = LatestRequestWorker<AnalysisRequest, AnalysisResult>;
  Worker worker_;
};

}  // namespace brillora
