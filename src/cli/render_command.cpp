#include <algorithm>
#include <filesystem>
#include <ostream>

#include <QImage>

#include "cli/commands.h"
#include "cli/light_options.h"
#include "cli/trace_options.h"
#include "io/image_file.h"
#include "light/illumination_model.h"
#include "view/export_picture.h"
#include "view/paint_lines.h"
#include "view/picture_traces.h"
#include "view/screen_scale.h"

namespace brillora::cli {
namespace {

constexpr PictureSizeLimits kExportSizes{100, 9000};
constexpr int kDefaultSide = 1000;

}  // namespace

int RunRender(Arguments& args, std::ostream& out) {
  TraceSettings trace;
  trace.width = trace.height = kDefaultSide;
  PictureOptions pictures;
  std::optional<std::string> output;
  bool antiAliasing = true, edges = true;
  int step = -1;

  while (!args.Done()) {
    const std::string word = args.Take();
    if (word == "-o") {
      output = args.TakeName();
      if (!output) throw UsageError{"-o needs a file name"};
    } else if (word == "--no-aa") {
      antiAliasing = false;
    } else if (word == "--no-edges") {
      edges = false;
    } else if (word == "--step") {
      const auto value = args.TakeValue();
      const auto number = value ? ParseInteger(*value) : std::nullopt;
      if (!number || *number < 0) throw UsageError{"--step needs a step number from 0"};
      step = *number;
    } else if (!TakeTraceOption(word, args, trace, kExportSizes) &&
               !TakePictureOption(word, args, pictures)) {
      throw UsageError{"unexpected argument: " + word};
    }
  }
  FinishTraceOptions(trace);
  const ImageFormat format = OutputPictureFormat(output);
  FinishPictureOptions(trace, pictures);

  const TraceSubject subject = LoadTraceSubject(trace);
  const Stone& stone = *subject.stone;
  const TraceOptions& options = subject.options;
  IlluminationModel light;
  SetUpLight(light, trace, pictures);

  const PaintStyle style{light.BGColor(), edges, MaxLevel(trace) < 0, step};
  PictureTraces traces;
  const auto traceAt = [&](const ScreenScale& scale) {
    traces.Trace(stone, trace.view, MaxLevel(trace), scale, options, subject.PictureDispersion(trace), light);
    return traces.Lines();
  };
  std::optional<QImage> picture;
  if (antiAliasing) {
    picture = ExportPicture(trace.width, trace.height, traceAt, style);
  } else {
    picture.emplace(trace.width, trace.height, QImage::Format_RGB888);
    if (picture->isNull() || !PaintLines(*picture, traceAt(FastScale(trace.width, trace.height)), style)) {
      picture.reset();
    }
  }
  if (!picture) throw CommandFailure{kExitFailed, std::string(kPictureTooHigh)};
  if (const auto error = WriteImageFile(*picture, *output, format))
    throw CommandFailure{kExitFailed, "cannot write " + *output + ": " + *error};
  out << "wrote " << *output << " (" << trace.width << " x " << trace.height << ")\n";
  return kExitOk;
}

}  // namespace brillora::cli
