#include <algorithm>
#include <filesystem>
#include <ostream>

#include <QImage>

#include "cli/commands.h"
#include "cli/light_options.h"
#include "cli/trace_options.h"
#include "io/image_gif.h"
#include "light/illumination_model.h"
#include "view/animation_frame.h"
#include "view/paint_lines.h"
#include "view/picture_traces.h"
#include "view/screen_scale.h"

namespace brillora::cli {
namespace {

constexpr PictureSizeLimits kFrameSizes{100, 9000};
constexpr int kDefaultWidth = 450;
constexpr int kDefaultHeight = 467;

}  // namespace

int RunAnimate(Arguments& args, std::ostream& out) {
  TraceSettings trace;
  trace.width = kDefaultWidth;
  trace.height = kDefaultHeight;
  std::optional<std::string> output;
  while (!args.Done()) {
    const std::string word = args.Take();
    if (word == "-o") {
      output = args.TakeName();
      if (!output) throw UsageError{"-o needs a file name"};
    } else if (word == "--view") {
      throw UsageError{"animate wobbles about the crown's top view: --view is not taken"};
    } else if (!TakeTraceOption(word, args, trace, kFrameSizes)) {
      throw UsageError{"unexpected argument: " + word};
    }
  }
  FinishTraceOptions(trace);
  if (!output || std::filesystem::path(*output).extension() != ".gif")
    throw UsageError{"give the animation file, ending in .gif, with -o"};

  const TraceSubject subject = LoadTraceSubject(trace);
  const Stone& stone = *subject.stone;
  const TraceOptions& options = subject.options;
  IlluminationModel light;
  SetUpLight(light, trace);

  // Frames are drawn as the prepared animations draw them: no edges, no highlight.
  const PaintStyle style = AnimationStyle(light.BGColor());
  const ScreenScale scale = FastScale(trace.width, trace.height);
  QImage frame(trace.width, trace.height, QImage::Format_RGB888);
  if (frame.isNull()) throw CommandFailure{kExitFailed, "The picture size is too high!"};
  AnimatedGifWriter writer(*output, trace.width, trace.height, kAnimationDelay);
  PictureTraces traces;
  for (int i = 0; i < kAnimationFrames && writer.Error().empty(); ++i) {
    traces.Trace(stone, AnimationFrame(i), MaxLevel(trace), scale, options, subject.PictureDispersion(trace), light);
    if (!PaintLines(frame, traces.Lines(), style)) throw CommandFailure{kExitFailed, "The picture size is too high!"};
    writer.AddFrame(frame);
  }
  if (!writer.Finish()) throw CommandFailure{kExitFailed, "cannot write " + *output + ": " + writer.Error()};
  out << "wrote " << *output << " (" << kAnimationFrames << " frames of " << trace.width << " x "
      << trace.height << ")\n";
  return kExitOk;
}

}  // namespace brillora::cli
