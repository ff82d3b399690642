#include <cmath>
#include <ostream>

#include "cli/commands.h"
#include "cli/design_json.h"
#include "cli/trace_options.h"
#include "light/illumination_model.h"
#include "trace/plane_geometry.h"
#include "trace/ray_tracer.h"

namespace brillora::cli {

namespace {

constexpr int kDefaultWidth = 450;
constexpr int kDefaultHeight = 467;
constexpr int kMinPictureSide = 4;
constexpr int kMaxPictureSide = 20000;

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
  TraceSettings settings;
  settings.width = kDefaultWidth;
  settings.height = kDefaultHeight;
  bool json = false;
  std::optional<PickPixel> pick;
  while (!args.Done()) {
    const std::string word = args.Take();
    if (word == "--json") {
      json = true;
    } else if (word == "--pick") {
      pick = ParsePickPixel(args.TakeValue());
    } else if (!TakeTraceOption(word, args, settings, {kMinPictureSide, kMaxPictureSide})) {
      throw UsageError{"unexpected argument: " + word};
    }
  }
  FinishTraceOptions(settings);
  if (pick) CheckPickInside(*pick, settings);
  const int reflections = settings.reflections;
  const auto& zones = settings.zones;
  const int width = settings.width, height = settings.height;

  const TraceSubject subject = LoadTraceSubject(settings);
  const Stone& stone = *subject.stone;
  const TraceOptions& options = subject.options;

  IlluminationModel light;
  if (zones) light.SetZoneAngles((*zones)[0], (*zones)[1], (*zones)[2]);
  light.SetSourceMode(settings.lightMode);

  RayTracer tracer;
  ArrayOfFOS polygons;
  tracer.RayTrace(stone, settings.view, polygons, reflections - 1, width / 2 - 1, height / 2 - 1, options, light);

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
  const FasetOnScreen* picked = pick ? PickedPolygon(polygons, *pick, width, height) : nullptr;

  if (!json) {
    out << "level-0 beams: " << tracer.Level0Beams().size() << "\nfinished beams: " << polygons.size()
        << "\nbeam store used: " << tracer.StoreUsed() << "\ndeepest level: " << tracer.MaxLevelReached()
        << "\ncut short: " << (tracer.CutShort() ? "yes" : "no")
        << "\nbrightness: " << brightness.R << ' ' << brightness.G << ' ' << brightness.B
        << "\nprojected area: " << projectedArea << '\n';
    if (pick) out << "picked step: " << (picked ? std::to_string(picked->Step) : "none") << '\n';
    return kExitOk;
  }

  Json result;
  result["level0"] = tracer.Level0Beams().size();
  result["beams"] = polygons.size();
  result["store_used"] = tracer.StoreUsed();
  result["max_level_reached"] = tracer.MaxLevelReached();
  result["cut_short"] = tracer.CutShort();
  result["bg_color"] = ColorJson(light.BGColor());
  result["inner_color"] = ColorJson(light.InnerColor());
  result["brightness"] = ColorJson(brightness);
  result["projected_area"] = projectedArea;
  if (pick) result["picked_step"] = picked ? Json(picked->Step) : Json(nullptr);
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
  PrintJson(out, result);
  return kExitOk;
}

}  // namespace brillora::cli
