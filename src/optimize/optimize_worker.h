#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "model/design.h"
#include "model/latest_request_worker.h"
#include "optimize/optimizer.h"

namespace brillora {

// A search to run: the design and settings by value, and the flag of the
// user's Cancel, which ends the search early with the best design found so far.
struct OptimizeRequest {
  Design design;
  OptimizeSettings settings;
  std::shared_ptr<std::atomic<bool>> cancel = std::make_shared<std::atomic<bool>>(false);
};

// News of a search: progress now and then, and the result at the end.
struct OptimizeUpdate {
  OptimizeProgress progress;
  std::optional<OptimizeResult> result;
};

// Runs searches on a thread of its own (LatestRequestWorker): a new request
// or Abandon drops the search in progress without a result, while the
// request's cancel flag ends it with one. Updates reach `deliver` on the
// worker's thread with their request's number, only while the request is the
// latest.
class OptimizeWorker {
 public:
  using Deliver = std::function<void(const OptimizeUpdate& update, unsigned request)>;

  explicit OptimizeWorker(Deliver deliver);

  unsigned Request(OptimizeRequest request) { return worker_.Request(std::move(request)); }
  void Abandon() { worker_.Cancel(); }

 private:
  using Worker = LatestRequestWorker<OptimizeRequest, OptimizeUpdate>;
  Worker worker_;
};

}  // namespace brillora
