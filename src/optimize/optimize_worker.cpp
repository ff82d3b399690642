#include "optimize/optimize_worker.h"

#include <chrono>

namespace brillora {

namespace {

// Progress goes out at most this often: a window needs no more.
constexpr std::chrono::milliseconds kProgressEvery{100};

void Run(const OptimizeRequest& r, const std::function<bool()>& stale, const std::function<void(OptimizeUpdate)>& hand) {
  auto last = std::chrono::steady_clock::now() - kProgressEvery;
  const ProgressReport progress = [&](const OptimizeProgress& p) {
    const auto now = std::chrono::steady_clock::now();
    if (now - last < kProgressEvery) return;
    last = now;
    hand({p, std::nullopt});
  };
  const StopAsked stop = [&] { return stale() || r.cancel->load(); };
  OptimizeResult result = Optimize(r.design, r.settings, progress, stop);
  const OptimizeProgress end{result.evaluations, result.budget, result.result.judgement.merit, false};
  hand({end, std::move(result)});
}

}  // namespace

OptimizeWorker::OptimizeWorker(Deliver deliver)
    : worker_([](const OptimizeRequest& r, const Worker::Stale& stale,
                 const Worker::Hand& hand) { Run(r, stale, hand); },
              [deliver = std::move(deliver)](OptimizeUpdate update, unsigned request) { deliver(update, request); }) {}

}  // namespace brillora
