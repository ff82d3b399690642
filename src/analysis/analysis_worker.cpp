#include "analysis/analysis_worker.h"

namespace brillora {

AnalysisWorker::AnalysisWorker(Deliver deliver)
    : worker_(
          [analyzer = std::make_shared<LightAnalyzer>()](const AnalysisRequest& r, const Worker::Stale& stale,
                                                         const Worker::Hand& hand) {
            if (!r.stone) return;
            AnalysisResult result;
            const std::optional<LightFigures> faceUp =
                analyzer->Analyze(*r.stone, IdentityFrame(), r.settings, FindSymmetry(*r.stone), stale);
            if (!faceUp) return;
            result.faceUp = *faceUp;
            hand(result);
            if (stale()) return;
            result.tilt = TiltCurves(*r.stone, r.settings, r.tilt, 1, stale);
            if (result.tilt) hand(std::move(result));
          },
          std::move(deliver)) {}

}  // namespace brillora
