#include "view/refine_worker.h"

#include <memory>
#include <utility>

namespace brillora {

namespace {

RefineWorker::Draw OwnPass() {
  return [pass = std::make_shared<RefinedPass>()](const RefineRequest& request, const StopCheck& stop) {
    return pass->Draw(request, stop);
  };
}

}  // namespace

RefineWorker::RefineWorker(Deliver deliver, Draw draw)
    : deliver_(std::move(deliver)),
      draw_(draw ? std::move(draw) : OwnPass()),
      thread_([this](const std::stop_token& stop) { Run(stop); }) {}

unsigned RefineWorker::Request(RefineRequest request) {
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

void RefineWorker::Cancel() {
  const std::lock_guard lock(mutex_);
  pending_.reset();
  ++issued_;
  latest_.store(issued_);  // no request carries this number (or 0) until the next one
}

void RefineWorker::Run(const std::stop_token& stop) {
  while (true) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      if (!wake_.wait(lock, stop, [this] { return pending_.has_value(); })) return;
      job = std::move(*pending_);
      pending_.reset();
    }
    const auto stale = [&] { return stop.stop_requested() || latest_.load() != job.number; };
    std::optional<QImage> picture = draw_(job.request, stale);
    if (picture && !stale()) deliver_(std::move(*picture), job.number);
  }
}

}  // namespace brillora
