#include <cmath>
#include <ostream>

#include "cli/commands.h"
#include "cli/design_json.h"
#include "cli/light_options.h"
#include "cli/trace_options.h"
#include "light/illumination_model.h"
#include "trace/index_at_wavelength.h"
#include "trace/plane_geometry.h"
#include "trace/ray_tracer.h"
#include "view/picture_traces.h"

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

// What one trace made: its beams and the mean colour of its polygons.
struct TraceSummary {
  const RayTracer* tracer = nullptr;
  const ArrayOfFOS* polygons = nullptr;
  double projectedArea = 0;
  LinearColor brightness;
};

TraceSummary Summarize(const RayTracer& tracer, const ArrayOfFOS& polygons) {
  TraceSummary summary{&tracer, &polygons, 0.0, {}};
  for (const Race* beam : tracer.Level0Beams()) summary.projectedArea += trace::TwiceArea(beam->Points) / 2;
  double areaSum = 0;
  LinearColor weighted;
  for (const FasetOnScreen& p : polygons) {
    const double area = trace::TwiceArea(p.Beam->Points) / 2;
    areaSum += area;
    weighted.R += p.Color.R * area;
    weighted.G += p.Color.G * area;
    weighted.B += p.Color.B * area;
  }
  if (areaSum > 0) summary.brightness = {weighted.R / areaSum, weighted.G / areaSum, weighted.B / areaSum};
  return summary;
}

void PrintSummary(std::ostream& out, const TraceSummary& t) {
  out << "level-0 beams: " << t.tracer->Level0Beams().size() << "\nfinished beams: " << t.polygons->size()
      << "\nbeam store used: " << t.tracer->StoreUsed() << "\ndeepest level: " << t.tracer->MaxLevelReached()
      << "\ncut short: " << (t.tracer->CutShort() ? "yes" : "no") << "\nbrightness: " << t.brightness.R << ' '
      << t.brightness.G << ' ' << t.brightness.B << "\nprojected area: " << t.projectedArea << '\n';
}

// The keys of one trace, into `result`.
void SummaryJson(Json& result, const TraceSummary& t) {
  result["level0"] = t.tracer->Level0Beams().size();
  result["beams"] = t.polygons->size();
  result["store_used"] = t.tracer->StoreUsed();
  result["max_level_reached"] = t.tracer->MaxLevelReached();
  result["cut_short"] = t.tracer->CutShort();
}

Json BeamsJson(const ArrayOfFOS& polygons) {
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
  return beams;
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
  const int width = settings.width, height = settings.height;

  const TraceSubject subject = LoadTraceSubject(settings);
  IlluminationModel light;
  SetUpLight(light, settings);

  PictureTraces traces;
  traces.Trace(*subject.stone, settings.view, MaxLevel(settings), FastScale(width, height), subject.options,
               subject.PictureDispersion(settings), light);
  const std::span<const ArrayOfFOS> lines = traces.Lines();
  std::vector<TraceSummary> summaries;
  for (std::size_t k = 0; k < lines.size(); ++k) summaries.push_back(Summarize(traces.Tracer(k), lines[k]));
  // With dispersion each line gives its own channel.
  LinearColor brightness = summaries[0].brightness;
  if (lines.size() == 3) brightness = {summaries[0].brightness.R, summaries[1].brightness.G, summaries[2].brightness.B};
  const FasetOnScreen* picked = pick ? PickedPolygon(traces.First(), *pick, width, height) : nullptr;

  if (!json) {
    if (lines.size() == 1) {
      PrintSummary(out, summaries[0]);
    } else {
      for (std::size_t k = 0; k < lines.size(); ++k) {
        out << "line " << kPictureLines[k] << " nm (RI "
            << OptionsAtLine(subject.options, subject.dispersion, kPictureLines[k]).RefractiveIndex << "):\n";
        PrintSummary(out, summaries[k]);
      }
    }
    if (pick) out << "picked step: " << (picked ? std::to_string(picked->Step) : "none") << '\n';
    return kExitOk;
  }

  Json result;
  if (lines.size() == 1) SummaryJson(result, summaries[0]);
  result["bg_color"] = ColorJson(light.BGColor());
  result["inner_color"] = ColorJson(light.InnerColor());
  result["brightness"] = ColorJson(brightness);
  result["projected_area"] = summaries[0].projectedArea;
  if (pick) result["picked_step"] = picked ? Json(picked->Step) : Json(nullptr);
  if (lines.size() == 1) {
    result["exit_beams"] = BeamsJson(lines[0]);
  } else {
    result["dispersion"] = subject.dispersion;
    Json each = Json::array();
    for (std::size_t k = 0; k < lines.size(); ++k) {
      Json line;
      line["wavelength"] = kPictureLines[k];
      line["refractive_index"] = OptionsAtLine(subject.options, subject.dispersion, kPictureLines[k]).RefractiveIndex;
      SummaryJson(line, summaries[k]);
      line["brightness"] = ColorJson(summaries[k].brightness);
      line["exit_beams"] = BeamsJson(lines[k]);
      each.push_back(std::move(line));
    }
    result["lines"] = std::move(each);
  }
  PrintJson(out, result);
  return kExitOk;
}

}  // namespace brillora::cli
