#pragma once

#include <functional>
#include <optional>
#include <utility>

#include <QImage>

#include "model/latest_request_worker.h"
#include "view/paint_smooth.h"
#include "view/refined_pass.h"

namespace brillora {

// Draws refined pictures on a thread of its own, the latest request winning
// (LatestRequestWorker), in the manner of a render thread: a new request
// abandons the pass in progress and starts over with the new state. A
// finished picture goes to `deliver`, on the worker's thread, with the number
// of its request, and only while that request is still the latest; the
// receiver must drop a number it no longer awaits.
class RefineWorker {
 public:
  using Deliver = std::function<void(QImage picture, unsigned request)>;
  // What draws one request; by default a RefinedPass of the worker's own.
  using Draw = std::function<std::optional<QImage>(const RefineRequest&, const StopCheck&)>;

  explicit RefineWorker(Deliver deliver, Draw draw = {});

  // Replaces whatever is pending or in progress; the request's number, never 0.
  unsigned Request(RefineRequest request) { return worker_.Request(std::move(request)); }
  // Drops what is pending and abandons what is in progress.
  void Cancel() { worker_.Cancel(); }

 private:
  using Worker = LatestRequestWorker<RefineRequest, QImage>;
  Worker worker_;
};

}  // namespace brillora
