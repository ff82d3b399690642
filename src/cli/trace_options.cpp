#include "cli/trace_options.h"

#include <cmath>
#include <sstream>

#include "cli/commands.h"
#include "model/units.h"
#include "params/materials.h"
#include "trace/screen_mapping.h"
#include "view/point_in_beam.h"
#include "view/screen_scale.h"
#include "view/view_matrix.h"

namespace brillora::cli {
namespace {

constexpr int kMaxReflections = 13;
// A turn beyond a whole one in either direction says nothing a smaller one
// does not, and a huge one leaves the frame without a sensible direction.
constexpr double kMaxViewTurn = 360.0;

std::vector<double> ParseList(const std::optional<std::string>& text, std::size_t count,
                              const std::string& option) {
  std::vector<double> values;
  if (text) {
    std::stringstream stream(*text);
    std::string item;
    while (std::getline(stream, item, ',')) {
      const auto value = ParseNumber(item);
      if (!value) break;
      values.push_back(*value);
    }
    if (!text->empty() && text->back() == ',') values.clear();
  }
  if (values.size() != count) {
    throw UsageError{option + " needs " + std::to_string(count) + " numbers separated by commas"};
  }
  return values;
}

// The picture window's view turned over: half a turn about the screen's x axis
// in the hundred steps of the flip.
Frame PavilionView() {
  Frame view = IdentityFrame();
  FlipView(view);
  return view;
}

}  // namespace

Frame TurnedView(double rx, double ry) {
  Frame view = IdentityFrame();
  RotateFrame(view, 0, 1, Radians(rx));
  RotateFrame(view, -1, 0, Radians(ry));
  return view;
}

std::vector<double> ParseNumbers(const std::optional<std::string>& text, std::size_t count, const std::string& option) {
  return ParseList(text, count, option);
}

double TakeRefractiveIndex(Arguments& args) {
  const auto value = args.TakeValue();
  const auto index = value ? ParseNumber(*value) : std::nullopt;
  if (!index || *index < kMinRefractiveIndex || *index > kMaxRefractiveIndex)
    throw UsageError{"--ri needs a refractive index from 1 to 5"};
  return *index;
}

Material TakeMaterial(Arguments& args) {
  const auto name = args.TakeName();
  if (!name) throw UsageError{"--material needs a material name"};
  const auto material = FindMaterial(*name);
  if (!material) throw UsageError{"unknown material: " + *name};
  return *material;
}

double TakeCustomDispersion(Arguments& args) {
  const auto value = args.TakeValue();
  const auto dispersion = value ? ParseNumber(*value) : std::nullopt;
  if (!dispersion || *dispersion < kMinDispersion || *dispersion > kMaxDispersion)
    throw UsageError{"--custom-dispersion needs a dispersion from 0 to 0.3"};
  return *dispersion;
}

double MaterialDispersion(std::optional<double> given, const DesignReadResult& read) {
  if (given) return *given;
  if (read.dispersion) return *read.dispersion;
  return FindMaterial(kDefaultMaterial)->dispersion;
}

double NumberIn(Arguments& args, const std::string& option, double least, double most, const char* what) {
  const auto value = args.TakeValue();
  const auto number = value ? ParseNumber(*value) : std::nullopt;
  if (!number || *number < least || *number > most) {
    std::ostringstream message;
    message << option << " needs " << what << " from " << least << " to " << most;
    throw UsageError{message.str()};
  }
  return *number;
}

int IntegerIn(Arguments& args, const std::string& option, int least, int most, const char* what) {
  const auto value = args.TakeValue();
  const auto number = value ? ParseInteger(*value) : std::nullopt;
  if (!number || *number < least || *number > most) {
    throw UsageError{option + " needs " + what + " from " + std::to_string(least) + " to " + std::to_string(most)};
  }
  return *number;
}

bool TakeMaterialOption(const std::string& word, Arguments& args, MaterialChoice& choice) {
  if (word == "--ri") {
    choice.refractiveIndex = TakeRefractiveIndex(args);
    choice.indexGiven = true;
  } else if (word == "--material") {
    const Material material = TakeMaterial(args);
    choice.refractiveIndex = material.refractiveIndex;
    choice.dispersion = material.dispersion;
    choice.materialGiven = true;
  } else if (word == "--custom-dispersion") {
    choice.dispersion = TakeCustomDispersion(args);
    choice.customDispersionGiven = true;
  } else {
    return false;
  }
  return true;
}

void CheckMaterialChoice(const MaterialChoice& choice) {
  if (choice.indexGiven && choice.materialGiven) throw UsageError{"give either --ri or --material"};
  if (choice.customDispersionGiven && choice.materialGiven) {
    throw UsageError{"give either --material or --custom-dispersion"};
  }
}

bool TakeTraceOption(const std::string& word, Arguments& args, TraceSettings& s,
                     const PictureSizeLimits& limits) {
  if (word == "--default") {
    s.file.reset();
  } else if (word == "--reflections") {
    const auto value = args.TakeValue();
    const auto tag = value ? ParseInteger(*value) : std::nullopt;
    if (!tag || *tag < 0 || *tag > kMaxReflections)
      throw UsageError{"--reflections needs a tag from 0 to 13"};
    s.reflections = *tag;
    s.reflectionsGiven = true;
  } else if (word == "--reflected") {
    s.reflected = true;
  } else if (word == "--no-surface") {
    s.surface = false;
  } else if (word == "--view") {
    const auto value = args.TakeValue();
    if (value == "crown") {
      s.view = IdentityFrame();
    } else if (value == "pavilion") {
      s.view = PavilionView();
    } else {
      const auto turn = ParseList(value, 2, "--view");
      if (std::abs(turn[0]) > kMaxViewTurn || std::abs(turn[1]) > kMaxViewTurn)
        throw UsageError{"--view needs turns RX,RY from -360 to 360 degrees"};
      s.view = TurnedView(turn[0], turn[1]);
    }
  } else if (word == "--light") {
    const auto value = args.TakeValue();
    if (value == "grey") {
      s.lightMode = 0;
    } else if (value == "redblue") {
      s.lightMode = 1;
    } else if (value == "zones") {
      s.lightMode = 2;
    } else if (value == "lamps" || value == "aset") {
      s.lightMode = 3;
      s.madeLight = value == "lamps" ? MadeLight::Lamps : MadeLight::Aset;
    } else {
      throw UsageError{"--light needs grey, redblue, zones, lamps or aset"};
    }
    s.lightGiven = true;
  } else if (word == "--zones") {
    s.zones = ParseList(args.TakeValue(), 3, "--zones");
    const auto& z = *s.zones;
    if (!(0 <= z[0] && z[0] <= z[1] && z[1] <= z[2] && z[2] <= 180))
      throw UsageError{"--zones needs ascending angles from 0 to 180 degrees"};
  } else if (TakeMaterialOption(word, args, s)) {
  } else if (word == "--dispersion") {
    s.threeLines = true;
  } else if (word == "--width" || word == "--height") {
    const auto value = args.TakeValue();
    const auto size = value ? ParseInteger(*value) : std::nullopt;
    if (!size || *size < limits.least || *size > limits.most) {
      throw UsageError{word + " needs a number of pixels from " + std::to_string(limits.least) +
                       " to " + std::to_string(limits.most)};
    }
    (word == "--width" ? s.width : s.height) = *size;
  } else if (!word.empty() && word.front() != '-' && !s.file) {
    s.file = word;
  } else {
    return false;
  }
  return true;
}

void FinishTraceOptions(TraceSettings& s) {
  if (s.reflected && s.reflectionsGiven) throw UsageError{"give either --reflections or --reflected"};
  CheckMaterialChoice(s);
  if (s.reflected) s.reflections = 1;
}

TraceOptions TracerOptions(const TraceSettings& settings, double designIndex) {
  TraceOptions options;
  options.RefractiveIndex = settings.refractiveIndex.value_or(designIndex);
  options.SurfaceRefl = settings.surface;
  options.Reflected = settings.reflected;
  return options;
}

TraceSubject LoadTraceSubject(const TraceSettings& settings) {
  const DesignReadResult read = LoadDesign(settings.file);
  return {InstalledStone(settings.file, read), TracerOptions(settings, read.refractiveIndex),
          MaterialDispersion(settings.dispersion, read)};
}

}  // namespace brillora::cli

namespace brillora::cli {

PickPixel ParsePickPixel(const std::optional<std::string>& text) {
  const std::size_t comma = text ? text->find(',') : std::string::npos;
  const auto x = comma != std::string::npos ? ParseInteger(text->substr(0, comma)) : std::nullopt;
  const auto y = comma != std::string::npos ? ParseInteger(text->substr(comma + 1)) : std::nullopt;
  if (!x || !y) throw UsageError{"--pick needs a pixel X,Y of two whole numbers"};
  return {*x, *y};
}

void CheckPickInside(const PickPixel& pixel, const TraceSettings& settings) {
  if (pixel.x < 0 || pixel.x >= settings.width || pixel.y < 0 || pixel.y >= settings.height) {
    throw UsageError{"--pick needs a pixel inside the picture of " + std::to_string(settings.width) + " x " +
                     std::to_string(settings.height)};
  }
}

const FasetOnScreen* PickedPolygon(const ArrayOfFOS& polygons, const PickPixel& pixel, int width, int height) {
  const ScreenScale scale = FastScale(width, height);
  return PolygonAt(polygons, PixelToView(pixel.x, pixel.y, scale.Scale, scale.CentreY));
}

}  // namespace brillora::cli
