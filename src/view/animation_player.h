#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

#include <QImage>
#include <QTimer>

#include "model/design.h"
#include "trace/beam_optics.h"
#include "trace/beam_shader.h"
#include "trace/frame.h"
#include "trace/linear_color.h"
#include "view/animation_variant.h"
#include "view/frame_store.h"
#include "view/memory_budget.h"
#include "view/picture_traces.h"

namespace brillora {

// What the frames of a prepared animation are traced from, taken when it
// starts: the animation goes on with these whatever changes meanwhile.
struct AnimationScene {
  std::shared_ptr<const Stone> stone;
  std::shared_ptr<const BeamShader> light;  // a snapshot of the surroundings
  LinearColor background;                   // behind the stone in frames drawn as pictures
  int maxLevel = -1;
  TraceOptions options;
  int width = 0;  // the window's client size: a frame is one pixel larger each way
  int height = 0;
  // The material's dispersion when the frames are traced at three lines.
  std::optional<double> dispersion;
};

enum class AnimationEnd {
  Stopped,      // the user stopped it
  OutOfMemory,  // the frames did not fit: "The picture size is too high!"
};

// What the player asks of the window that shows the animation. Any of these
// may stop or start an animation; the player then goes no further with the
// frame in hand.
struct AnimationHost {
  // The preparation of frame i (0 .. 99) began.
  std::function<void(int frame)> progress;
  // The preparation is over, finished or cut short.
  std::function<void()> prepared;
  // "Tracing": trace and show this orientation now.
  std::function<void(const Frame& view)> showView;
  // A stored frame, to be shown at the window's top left corner.
  std::function<void(const QImage& frame)> showFrame;
  // The background as it is now, laid anew under every frame of polygons.
  std::function<LinearColor()> background;
  // The animation ended; its frames are already released.
  std::function<void(AnimationVariant variant, AnimationEnd end)> ended;
};

// Plays the wobble of the stone from a timer: "Tracing" has the window trace
// every frame, the other variants first prepare the 100 frames, one per turn
// of the event loop so that the program stays responsive and a stop takes
// effect at the next frame, and then show the stored frames. Every variant
// shows one frame every 40 ms, 25 a second, for as long as it runs, or as
// fast as the window traces when a trace takes longer.
class AnimationPlayer {
 public:
  static constexpr int kFrameInterval = 40;  // milliseconds

  explicit AnimationPlayer(AnimationHost host, std::size_t memoryBudget = AnimationMemoryBudget());
  // Stops without telling the host.
  ~AnimationPlayer() = default;
  AnimationPlayer(const AnimationPlayer&) = delete;
  AnimationPlayer& operator=(const AnimationPlayer&) = delete;

  // Ends the animation that runs, if any, then starts `variant`.
  void Start(AnimationVariant variant, AnimationScene scene);
  // Ends the animation that runs, releasing its frames and skipping whatever
  // was still to be prepared or played; nothing when none runs.
  void Stop();
  // The work of one turn of the timer: prepares the next frame, or shows the
  // next one. The timer calls it; tests may call it in its place.
  void Step();

  // The most memory the frames may take from the next start on.
  void SetMemoryBudget(std::size_t bytes) { budget_ = bytes; }

  std::optional<AnimationVariant> Running() const { return variant_; }
  bool Preparing() const { return variant_.has_value() && preparing_; }
  // The frame the next Step prepares or shows.
  int NextFrame() const { return next_; }
  // The frames prepared so far; null for "Tracing" and when nothing runs.
  const FrameStore* Store() const { return store_.get(); }

 private:
  void PrepareFrame();
  void PlayFrame();
  // Frame i drawn into `bitmap` as a prepared frame is drawn: progress, the
  // background, the trace of frame i, every polygon in its colour.
  void RenderFrame(QImage& bitmap, int i);
  void TraceFrame(int i);
  void End(AnimationEnd end);
  // Whether the animation that was running as `run` still runs.
  bool Still(unsigned run) const { return run == run_ && variant_.has_value(); }

  AnimationHost host_;
  std::size_t budget_;
  std::optional<AnimationVariant> variant_;
  AnimationScene scene_;
  unsigned run_ = 0;  // counts the starts and ends, so a frame in hand knows when its animation ended
  bool preparing_ = false;
  int next_ = 0;
  std::unique_ptr<FrameStore> store_;
  QImage work_;   // the frame being prepared, for the stores of pictures
  QImage shown_;  // the frame last shown
  PictureTraces traces_;
  QTimer timer_;
};

}  // namespace brillora
