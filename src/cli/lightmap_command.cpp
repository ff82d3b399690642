#include <optional>
#include <ostream>

#include <QGuiApplication>
#include <QImage>

#include "cli/commands.h"
#include "cli/light_options.h"
#include "cli/trace_options.h"
#include "io/image_file.h"
#include "light/illumination_model.h"
#include "light/light_map_painter.h"
#include "view/export_picture.h"
#include "view/picture_traces.h"
#include "view/screen_scale.h"

namespace brillora::cli {
namespace {

// The picture window's size at start: the view is traced as it shows there.
constexpr PictureSizeLimits kTraceSizes{100, 9000};
constexpr int kTraceWidth = 450;
constexpr int kTraceHeight = 467;
constexpr int kLeastSide = 100;
constexpr int kMostSide = 4000;
constexpr int kDefaultSide = 512;

// The labels need fonts, and fonts need a running application: one without a
// display when the caller has none.
class OffscreenGui {
 public:
  OffscreenGui() {
    if (QGuiApplication::instance() == nullptr) app_.emplace(argc_, argv_);
  }

 private:
  char name_[13] = "brillora-cli";
  char option_[10] = "-platform";
  char platform_[10] = "offscreen";
  char* argv_[4] = {name_, option_, platform_, nullptr};
  int argc_ = 3;
  std::optional<QGuiApplication> app_;
};

}  // namespace

int RunLightmap(Arguments& args, std::ostream& out) {
  TraceSettings trace;
  trace.width = kTraceWidth;
  trace.height = kTraceHeight;
  PictureOptions pictures;
  std::optional<std::string> output;
  int side = kDefaultSide;
  Frame displayTurn = IdentityFrame();

  while (!args.Done()) {
    const std::string word = args.Take();
    if (word == "-o") {
      output = args.TakeName();
      if (!output) throw UsageError{"-o needs a file name"};
    } else if (word == "--size") {
      const auto value = args.TakeValue();
      const auto size = value ? ParseInteger(*value) : std::nullopt;
      if (!size || *size < kLeastSide || *size > kMostSide)
        throw UsageError{"--size needs a number of pixels from 100 to 4000"};
      side = *size;
    } else if (word == "--display-turn") {
      const auto turn = ParseNumbers(args.TakeValue(), 2, "--display-turn");
      displayTurn = TurnedView(turn[0], turn[1]);
    } else if (!TakeTraceOption(word, args, trace, kTraceSizes) && !TakePictureOption(word, args, pictures)) {
      throw UsageError{"unexpected argument: " + word};
    }
  }
  FinishTraceOptions(trace);
  const ImageFormat format = OutputPictureFormat(output);
  FinishPictureOptions(trace, pictures);

  const TraceSubject subject = LoadTraceSubject(trace);
  IlluminationModel light;
  SetUpLight(light, trace, pictures);
  light.TurnDisplay(displayTurn);

  // With --dispersion the spots are those of the red line, as the desktop's
  // light map shows them.
  PictureTraces traces;
  traces.Trace(*subject.stone, trace.view, MaxLevel(trace), FastScale(trace.width, trace.height), subject.options,
               subject.PictureDispersion(trace), light);
  const ArrayOfFOS& polygons = traces.First();

  const OffscreenGui gui;
  LightMapPainter painter;
  painter.Resize(QSize(side, side));
  painter.Project(light.MapView());
  const QImage picture = painter.Paint(light, polygons, kButtonFace);
  if (picture.isNull()) throw CommandFailure{kExitFailed, std::string(kPictureTooHigh)};
  if (const auto error = WriteImageFile(picture, *output, format))
    throw CommandFailure{kExitFailed, "cannot write " + *output + ": " + *error};
  out << "wrote " << *output << " (" << side << " x " << side << ", " << polygons.size() << " polygons)\n";
  return kExitOk;
}

}  // namespace brillora::cli
