#include <ostream>

#include <QImage>

#include "cli/commands.h"
#include "cli/trace_options.h"
#include "io/image_file.h"
#include "view/export_picture.h"
#include "view/stone_thumbnail.h"

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

  TraceSettings trace;
  trace.file = design;
  const TraceSubject subject = LoadTraceSubject(trace);
  const std::optional<QImage> picture = StoneThumbnail(*subject.stone, subject.options, size);
  if (!picture) throw CommandFailure{kExitFailed, std::string(kPictureTooHigh)};
  // A desktop names the thumbnail as it likes, often with no extension: it
  // is always PNG.
  if (const auto error = WriteImageFile(*picture, *output, ImageFormat::Png))
    throw CommandFailure{kExitFailed, "cannot write " + *output + ": " + *error};
  out << "wrote " << *output << " (" << size << " x " << size << ")\n";
  return kExitOk;
}

}  // namespace brillora::cli
