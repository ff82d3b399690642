#include "analysis/analysis_worker.h"

#include <utility>

namespace brillora {

AnalysisWorker::AnalysisWorker(Deliver deliver)
    : deliver_(std::move(deliver)), thread_([this](const std::stop_token& stop) { Run(stop); }) {}

unsigned AnalysisWorker::Request(AnalysisRequest request) {
  unsigned number = 0;
  {
    const std::lock_guard lock(mutex_);
    number = ++issued_;
    if (number == 0) number = ++issued_;  // 0 stands for no request
    latest_.store(number);
    pending_ = Job{std::move(request), number};
  }
  wake_.notify_one();
  return number;
}

void AnalysisWorker::Run(const std::stop_token& stop) {
  LightAnalyzer analyzer;
  while (true) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      if (!wake_.wait(lock, stop, [this] { return pending_.has_value(); })) return;
      job = std::move(*pending_);
      pending_.reset();
    }
    const auto stale = [&] { return stop.stop_requested() || latest_.load() != job.number; };
    const AnalysisRequest& r = job.request;
    if (!r.stone) continue;
    AnalysisResult result;
    result.faceUp = analyzer.Analyze(*r.stone, IdentityFrame(), r.settings);
    if (stale()) continue;
    deliver_(result, job.number);
    result.tilt = TiltCurves(*r.stone, r.settings, r.tilt, 1, stale);
    if (result.tilt && !stale()) deliver_(result, job.number);
  }
}

}  // namespace brillora
