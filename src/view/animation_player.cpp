#include "view/animation_player.h"

#include <utility>

#include "view/animation_frame.h"
#include "view/paint_lines.h"
#include "view/paint_style.h"
#include "view/screen_scale.h"

namespace brillora {

AnimationPlayer::AnimationPlayer(AnimationHost host, std::size_t memoryBudget)
    : host_(std::move(host)), budget_(memoryBudget) {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Step(); });
}

void AnimationPlayer::Start(AnimationVariant variant, AnimationScene scene) {
  Stop();
  ++run_;
  variant_ = variant;
  scene_ = std::move(scene);
  next_ = 0;
  preparing_ = variant != AnimationVariant::Tracing;
  // Preparation runs one frame per turn of the event loop, playback at its pace.
  timer_.start(preparing_ ? 0 : kFrameInterval);
}

void AnimationPlayer::Stop() {
  if (variant_) End(AnimationEnd::Stopped);
}

void AnimationPlayer::Step() {
  if (!variant_) return;
  if (preparing_) {
    PrepareFrame();
  } else {
    PlayFrame();
  }
}

void AnimationPlayer::PrepareFrame() {
  const unsigned run = run_;
  const int i = next_;
  if (i == 0) {
    const QSize frameSize(scene_.width + 1, scene_.height + 1);
    store_ = MakeFrameStore(*variant_, frameSize, budget_);
    if (store_->KeepsPictures()) work_ = QImage(frameSize, QImage::Format_RGB888);
    if (store_->KeepsPictures() && work_.isNull()) {
      End(AnimationEnd::OutOfMemory);
      return;
    }
  }
  if (store_->KeepsPictures()) {
    RenderFrame(work_, i);
  } else {
    host_.progress(i);
    if (Still(run)) TraceFrame(i);
  }
  if (!Still(run)) return;
  if (!store_->KeepLines(traces_.Lines(), work_)) {
    End(AnimationEnd::OutOfMemory);
    return;
  }
  next_ = i + 1;
  if (next_ < kAnimationFrames) return;
  preparing_ = false;
  next_ = 0;
  work_ = QImage();
  timer_.setInterval(kFrameInterval);
  host_.prepared();
}

void AnimationPlayer::RenderFrame(QImage& bitmap, int i) {
  const unsigned run = run_;
  host_.progress(i);
  if (!Still(run)) return;
  TraceFrame(i);
  if (!PaintLines(bitmap, traces_.Lines(), AnimationStyle(scene_.background))) bitmap = QImage();
}

void AnimationPlayer::TraceFrame(int i) {
  if (!scene_.stone || !scene_.light) {
    traces_.Clear();
    return;
  }
  const ScreenScale scale = FastScale(scene_.width, scene_.height);
  traces_.Trace(*scene_.stone, AnimationFrame(i), scene_.maxLevel, scale, scene_.options, scene_.dispersion,
                *scene_.light);
}

void AnimationPlayer::PlayFrame() {
  const unsigned run = run_;
  const int i = next_;
  next_ = (i + 1) % kAnimationFrames;
  if (*variant_ == AnimationVariant::Tracing) {
    host_.showView(AnimationFrame(i));
    return;
  }
  if (!store_->Show(i, host_.background(), shown_)) {
    End(AnimationEnd::OutOfMemory);
    return;
  }
  if (Still(run)) host_.showFrame(shown_);
}

void AnimationPlayer::End(AnimationEnd end) {
  const AnimationVariant variant = *variant_;
  const bool wasPreparing = preparing_;
  timer_.stop();
  ++run_;
  variant_.reset();
  preparing_ = false;
  next_ = 0;
  store_.reset();
  work_ = QImage();
  shown_ = QImage();
  if (wasPreparing) host_.prepared();
  host_.ended(variant, end);
}

}  // namespace brillora
