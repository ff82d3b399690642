#include "cli/light_options.h"

#include <algorithm>
#include <vector>

#include "cli/commands.h"
#include "io/env_picture_file.h"
#include "light/made_surroundings.h"

namespace brillora::cli {
namespace {

constexpr int kMaxHeadAngle = 30;

void LoadPicture(IlluminationModel& light, PictureSide side, const std::string& file) {
  RgbPicture picture = BlankPicture();
  if (LoadEnvPicture(file, picture) != EnvPictureLoad::Loaded)
    throw CommandFailure{kExitUnreadable, std::string(kInvalidGraphicFileFormat)};
  light.SetPicture(side, picture.Pixels, picture.Width, picture.Height);
}

void MakeSurroundings(IlluminationModel& light, MadeLight made, int headRadius) {
  if (made == MadeLight::Lamps) UseLamps(light);
  if (made == MadeLight::Aset) UseAset(light, AsetHeadDegrees(headRadius));
}

}  // namespace

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

void SetUpLight(IlluminationModel& light, const TraceSettings& trace, const PictureOptions& p) {
  if (trace.zones) light.SetZoneAngles((*trace.zones)[0], (*trace.zones)[1], (*trace.zones)[2]);
  light.SetIntensityLaw(p.law);
  const bool asetHead = trace.madeLight == MadeLight::Aset;
  light.SetHeadAndBody(p.head.has_value() && !asetHead, p.body, p.head.value_or(0));
  MakeSurroundings(light, trace.madeLight, p.head.value_or(0));
  if (p.front) LoadPicture(light, PictureSide::Front, *p.front);
  if (p.back) LoadPicture(light, PictureSide::Back, *p.back);
  light.SetBackgroundBrightness(p.background);
  light.SetSourceMode(p.front || p.back ? 3 : trace.lightMode);
}

void SetUpLight(IlluminationModel& light, const TraceSettings& trace) {
  if (trace.zones) light.SetZoneAngles((*trace.zones)[0], (*trace.zones)[1], (*trace.zones)[2]);
  MakeSurroundings(light, trace.madeLight, 0);
  light.SetSourceMode(trace.lightMode);
}

ImageFormat OutputPictureFormat(const std::optional<std::string>& output) {
  if (!output) throw UsageError{"give the picture file with -o"};
  const auto format = ImageFormatForName(*output);
  if (!format) throw UsageError{"the picture file must end in .png, .bmp, .jpg or .gif"};
  return *format;
}

void FinishPictureOptions(const TraceSettings& trace, const PictureOptions& p) {
  if ((p.front || p.back) && trace.lightGiven)
    throw UsageError{"--front and --back choose the pictures: leave out --light"};
}

}  // namespace brillora::cli
