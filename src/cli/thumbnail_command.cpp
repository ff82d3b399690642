#include <ostream>

#include <QImage>

#include "cli/commands.h"
#include "cli/trace_options.h"
#include "io/image_file.h"
#include "light/illumination_model.h"
#include "trace/ray_tracer.h"
#include "view/export_picture.h"
#include "view/screen_scale.h"

namespace brillora::cli {
namespace {

// From the desktop's smallest icon to its largest thumbnail.
constexpr int kLeastSize = 16;
constexpr int kMostSize = 1024;
constexpr int kDefaultSize = 256;

}  // namespace

// A file manager runs this on whatever the user has downloaded: the design
// readers' bounds keep the work finite, and the picture is written whole or
// not at all.
int RunThumbnail(Arguments& args, std::ostream& out) {
  std::optional<std::string> design;
  std::optional<std::string> output;
  int size = kDefaultSize;
  while (!args.Done()) {
    const std::string word = args.Take();
    if (word == "--size") {
      const auto value = args.TakeValue();
      const auto number = value ? ParseInteger(*value) : std::nullopt;
      if (!number || *number < kLeastSize || *number > kMostSize) {
        throw UsageError{"--size needs a whole number of pixels from " + std::to_string(kLeastSize) + " to " +
                         std::to_string(kMostSize)};
      }
      size = *number;
    } else if (word.starts_with('-')) {
      throw UsageError{"unexpected argument: " + word};
    } else if (!design) {
      design = word;
    } else if (!output) {
      output = word;
    } else {
      throw UsageError{"unexpected argument: " + word};
    }
  }
  if (!design || !output) throw UsageError{"a design and the picture to write are needed"};

  // The crown seen from above in the default light, as `render` draws it.
  TraceSettings trace;
  trace.file = design;
  trace.width = trace.height = size;
  const TraceSubject subject = LoadTraceSubject(trace);
  IlluminationModel light;
  RayTracer tracer;
  ArrayOfFOS polygons;
  const auto traceAt = [&](const ScreenScale& scale) -> std::span<const ArrayOfFOS> {
    tracer.RayTrace(*subject.stone, trace.view, polygons, MaxLevel(trace), scale.Scale, scale.CentreY,
                    subject.options, light);
    return {&polygons, 1};
  };
  const PaintStyle style{light.BGColor(), true, false, -1};
  const std::optional<QImage> picture = ExportPicture(size, size, traceAt, style);
  if (!picture) throw CommandFailure{kExitFailed, std::string(kPictureTooHigh)};
  // A desktop names the thumbnail as it likes, often with no extension: it
  // is always PNG.
  if (const auto error = WriteImageFile(*picture, *output, ImageFormat::Png))
    throw CommandFailure{kExitFailed, "cannot write " + *output + ": " + *error};
  out << "wrote " << *output << " (" << size << " x " << size << ")\n";
  return kExitOk;
}

}  // namespace brillora::cli
