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
    : worker_(
          [draw = draw ? std::move(draw) : OwnPass()](const RefineRequest& request, const Worker::Stale& stale,
                                                      const Worker::Hand& hand) {
            if (std::optional<QImage> picture = draw(request, stale)) hand(std::move(*picture));
          },
          std::move(deliver)) {}

}  // namespace brillora
