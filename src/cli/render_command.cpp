#include <algorithm>
#include <filesystem>
#include <ostream>

#include <QImage>

#include "cli/commands.h"
#include "cli/trace_options.h"
#include "io/env_picture_file.h"
#include "io/image_file.h"
#include "light/illumination_model.h"
#include "trace/ray_tracer.h"
#include "view/export_picture.h"
#include "view/paint_polygons.h"
#include "view/screen_scale.h"

namespace brillora::cli {
namespace {

constexpr PictureSizeLimits kExportSizes{100, 9000};
constexpr int kDefaultSide = 1000;
constexpr int kMaxHeadAngle = 30;

// The surroundings' picture options.
struct PictureOptions {
  std::optional<std::string> front;
  std::optional<std::string> back;
  int law = 0;
  std::optional<int> head;
  bool body = false;
  int background = 100;
};

bool TakePictureOption(const std::string& word, Arguments& args, PictureOptions& p) {
  if (word == "--front" || word == "--back") {
    const auto file = args.TakeName();
    if (!file) throw UsageError{word + " needs a picture file"};
    (word == "--front" ? p.front : p.back) = *file;
  } else if (word == "--law") {
    const auto value = args.TakeValue().value_or("");
    static const std::vector<std::string> laws = {"const", "cos", "cos2", "cos4"};
    const auto found = std::find(laws.begin(), laws.end(), value);
    if (found == laws.end()) throw UsageError{"--law needs const, cos, cos2 or cos4"};
    p.law = static_cast<int>(found - laws.begin());
  } else if (word == "--head") {
    const auto value = args.TakeValue();
    const auto angle = value ? ParseInteger(*value) : std::nullopt;
    if (!angle || *angle < 0 || *angle > kMaxHeadAngle)
      throw UsageError{"--head needs whole degrees from 0 to 30"};
    p.head = *angle;
  } else if (word == "--body") {
    p.body = true;
  } else if (word == "--bg") {
    const auto value = args.TakeValue();
    const auto percent = value ? ParseInteger(*value) : std::nullopt;
    if (!percent || *percent < 0 || *percent > 100)
      throw UsageError{"--bg needs a percentage from 0 to 100"};
    p.background = *percent;
  } else {
    return false;
  }
  return true;
}

void LoadPicture(IlluminationModel& light, PictureSide side, const std::string& file) {
  RgbPicture picture = BlankPicture();
  if (LoadEnvPicture(file, picture) != EnvPictureLoad::Loaded)
    throw CommandFailure{kExitUnreadable, std::string(kInvalidGraphicFileFormat)};
  light.SetPicture(side, picture.Pixels, picture.Width, picture.Height);
}

// The light map as the options set it: the masks first, then the pictures
// they weigh, then the mode that reads them.
void SetUpLight(IlluminationModel& light, const TraceSettings& trace, const PictureOptions& p) {
  if (trace.zones) light.SetZoneAngles((*trace.zones)[0], (*trace.zones)[1], (*trace.zones)[2]);
  light.SetIntensityLaw(p.law);
  light.SetHeadAndBody(p.head.has_value(), p.body, p.head.value_or(0));
  if (p.front) LoadPicture(light, PictureSide::Front, *p.front);
  if (p.back) LoadPicture(light, PictureSide::Back, *p.back);
  light.SetBackgroundBrightness(p.background);
  light.SetSourceMode(p.front || p.back ? 3 : trace.lightMode);
}

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
  if (!output) throw UsageError{"give the picture file with -o"};
  const auto format = ImageFormatForName(*output);
  if (!format) throw UsageError{"the picture file must end in .png, .bmp, .jpg or .gif"};
  if ((pictures.front || pictures.back) && trace.lightGiven)
    throw UsageError{"--front and --back choose the pictures: leave out --light"};

  const TraceSubject subject = LoadTraceSubject(trace);
  const Stone& stone = *subject.stone;
  const TraceOptions& options = subject.options;
  IlluminationModel light;
  SetUpLight(light, trace, pictures);

  const PaintStyle style{light.BGColor(), edges, MaxLevel(trace) < 0, step};
  RayTracer tracer;
  ArrayOfFOS polygons;
  const auto traceAt = [&](const ScreenScale& scale) -> const ArrayOfFOS& {
    tracer.RayTrace(stone, trace.view, polygons, MaxLevel(trace), scale.Scale, scale.CentreY, options,
                    light);
    return polygons;
  };
  std::optional<QImage> picture;
  if (antiAliasing) {
    picture = ExportPicture(trace.width, trace.height, traceAt, style);
  } else {
    picture.emplace(trace.width, trace.height, QImage::Format_RGB888);
    if (picture->isNull()) {
      picture.reset();
    } else {
      PaintPolygons(*picture, traceAt(FastScale(trace.width, trace.height)), style);
    }
  }
  if (!picture) throw CommandFailure{kExitFailed, std::string(kPictureTooHigh)};
  if (const auto error = WriteImageFile(*picture, *output, *format))
    throw CommandFailure{kExitFailed, "cannot write " + *output + ": " + *error};
  out << "wrote " << *output << " (" << trace.width << " x " << trace.height << ")\n";
  return kExitOk;
}

}  // namespace brillora::cli
