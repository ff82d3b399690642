#include <cmath>
#include <numbers>
#include <ostream>
#include <sstream>

#include "cli/commands.h"
#include "cli/design_json.h"
#include "light/illumination_model.h"
#include "model/facet_construction.h"
#include "params/materials.h"
#include "trace/plane_geometry.h"
#include "trace/ray_tracer.h"

namespace brillora::cli {

namespace {

constexpr int kDefaultReflections = 13;  // the menu's item "12"
constexpr int kMaxReflections = 13;
constexpr int kDefaultWidth = 450;
constexpr int kDefaultHeight = 467;
constexpr int kMinPictureSide = 4;
constexpr int kMaxPictureSide = 20000;

std::vector<double> ParseList(const std::optional<std::string>& text, std::size_t count, const std::string& option) {
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
  for (int i = 0; i < 100; ++i) RotateFrame(view, 0, 1, -std::numbers::pi / 100);
  return view;
}

// A mouse turn of the identity: rx degrees about the screen's x axis, then ry
// degrees about its y axis.
Frame TurnedView(double rx, double ry) {
  Frame view = IdentityFrame();
  RotateFrame(view, 0, 1, rx * std::numbers::pi / 180);
  RotateFrame(view, -1, 0, ry * std::numbers::pi / 180);
  return view;
}

Json ColorJson(const LinearColor& c) { return Json::array({c.R, c.G, c.B}); }

Json PolygonJson(const Race& beam) {
  Json polygon = Json::array();
  for (const FlatPoint* p : beam.Points) polygon.push_back(Json::array({p->X, p->Y}));
  return polygon;
}

Json PixelsJson(const std::vector<ScreenPoint>& pixels) {
  Json polygon = Json::array();
  for (const ScreenPoint& p : pixels) polygon.push_back(Json::array({p.X, p.Y}));
  return polygon;
}

}  // namespace

int RunTrace(Arguments& args, std::ostream& out) {
  std::optional<std::string> file;
  int reflections = kDefaultReflections;
  bool reflectionsGiven = false, reflected = false, surface = true, json = false;
  Frame view = IdentityFrame();
  int lightMode = 0;
  std::optional<std::vector<double>> zones;
  std::optional<double> refractiveIndex;
  bool indexGiven = false, materialGiven = false;
  int width = kDefaultWidth, height = kDefaultHeight;

  while (!args.Done()) {
    const std::string word = args.Take();
    if (word == "--default") {
      file.reset();
    } else if (word == "--reflections") {
      const auto value = args.TakeValue();
      const auto tag = value ? ParseInteger(*value) : std::nullopt;
      if (!tag || *tag < 0 || *tag > kMaxReflections) throw UsageError{"--reflections needs a tag from 0 to 13"};
      reflections = *tag;
      reflectionsGiven = true;
    } else if (word == "--reflected") {
      reflected = true;
    } else if (word == "--no-surface") {
      surface = false;
    } else if (word == "--view") {
      const auto value = args.TakeValue();
      if (value == "crown") {
        view = IdentityFrame();
      } else if (value == "pavilion") {
        view = PavilionView();
      } else {
        const auto turn = ParseList(value, 2, "--view");
        view = TurnedView(turn[0], turn[1]);
      }
    } else if (word == "--light") {
      const auto value = args.TakeValue();
      if (value == "grey") {
        lightMode = 0;
      } else if (value == "redblue") {
        lightMode = 1;
      } else if (value == "zones") {
        lightMode = 2;
      } else {
        throw UsageError{"--light needs grey, redblue or zones"};
      }
    } else if (word == "--zones") {
      zones = ParseList(args.TakeValue(), 3, "--zones");
      const auto& z = *zones;
      if (!(0 <= z[0] && z[0] <= z[1] && z[1] <= z[2] && z[2] <= 180)) {
        throw UsageError{"--zones needs ascending angles from 0 to 180 degrees"};
      }
    } else if (word == "--ri") {
      const auto value = args.TakeValue();
      const auto index = value ? ParseNumber(*value) : std::nullopt;
      if (!index || *index < 1 || *index > 10) throw UsageError{"--ri needs a refractive index from 1 to 10"};
      refractiveIndex = *index;
      indexGiven = true;
    } else if (word == "--material") {
      const auto name = args.TakeValue();
      const auto material = name ? FindMaterial(*name) : std::nullopt;
      if (!material) throw UsageError{"unknown material: " + name.value_or("")};
      refractiveIndex = material->refractiveIndex;
      materialGiven = true;
    } else if (word == "--width" || word == "--height") {
      const auto value = args.TakeValue();
      const auto size = value ? ParseInteger(*value) : std::nullopt;
      if (!size || *size < kMinPictureSide || *size > kMaxPictureSide) {
        throw UsageError{word + " needs a number of pixels from 4 to 20000"};
      }
      (word == "--width" ? width : height) = *size;
    } else if (word == "--json") {
      json = true;
    } else if (!word.empty() && word.front() != '-' && !file) {
      file = word;
    } else {
      throw UsageError{"unexpected argument: " + word};
    }
  }
  if (reflected && reflectionsGiven) throw UsageError{"give either --reflections or --reflected"};
  if (indexGiven && materialGiven) throw UsageError{"give either --ri or --material"};
  if (reflected) reflections = 1;

  DesignReadResult read = LoadDesign(file);
  const Stone stone = ConstructStone(read.design);

  TraceOptions options;
  options.RefractiveIndex = refractiveIndex.value_or(read.refractiveIndex);
  options.SurfaceRefl = surface;
  options.Reflected = reflected;

  IlluminationModel light;
  if (zones) light.SetZoneAngles((*zones)[0], (*zones)[1], (*zones)[2]);
  light.SetSourceMode(lightMode);

  RayTracer tracer;
  ArrayOfFOS polygons;
  tracer.RayTrace(stone, view, polygons, reflections - 1, width / 2 - 1, height / 2 - 1, options, light);

  double projectedArea = 0;
  for (const Race* beam : tracer.Level0Beams()) projectedArea += trace::TwiceArea(beam->Points) / 2;
  double areaSum = 0;
  LinearColor weighted;
  for (const FasetOnScreen& p : polygons) {
    const double area = trace::TwiceArea(p.Beam->Points) / 2;
    areaSum += area;
    weighted.R += p.Color.R * area;
    weighted.G += p.Color.G * area;
    weighted.B += p.Color.B * area;
  }
  const LinearColor brightness =
      areaSum > 0 ? LinearColor{weighted.R / areaSum, weighted.G / areaSum, weighted.B / areaSum} : LinearColor{};

  if (!json) {
    out << "level-0 beams: " << tracer.Level0Beams().size() << "\nfinished beams: " << polygons.size()
        << "\nbeam store used: " << tracer.StoreUsed() << "\ndeepest level: " << tracer.MaxLevelReached()
        << "\nbrightness: " << brightness.R << ' ' << brightness.G << ' ' << brightness.B
        << "\nprojected area: " << projectedArea << '\n';
    return kExitOk;
  }

  Json result;
  result["level0"] = tracer.Level0Beams().size();
  result["beams"] = polygons.size();
  result["store_used"] = tracer.StoreUsed();
  result["max_level_reached"] = tracer.MaxLevelReached();
  result["bg_color"] = ColorJson(light.BGColor());
  result["inner_color"] = ColorJson(light.InnerColor());
  result["brightness"] = ColorJson(brightness);
  result["projected_area"] = projectedArea;
  Json beams = Json::array();
  for (const FasetOnScreen& p : polygons) {
    Json beam;
    beam["level"] = p.Beam->Level;
    beam["step"] = p.Step;
    beam["polygon"] = PolygonJson(*p.Beam);
    beam["pixels"] = PixelsJson(p.Polygon);
    beam["color"] = ColorJson(p.Color);
    beam["in_light"] = p.Beam->InLight;
    beam["out_light"] = p.Beam->OutLight;
    beam["area"] = trace::TwiceArea(p.Beam->Points) / 2;
    beams.push_back(std::move(beam));
  }
  result["exit_beams"] = std::move(beams);
  out << result.dump(2) << '\n';
  return kExitOk;
}

}  // namespace brillora::cli
