#include <algorithm>
#include <array>
#include <cmath>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <thread>

#include <QApplication>

#include "analysis/light_figures.h"
#include "analysis/tilt_curve.h"
#include "analysis/tilt_plot.h"
#include "cli/commands.h"
#include "cli/design_json.h"
#include "cli/trace_options.h"

namespace brillora::cli {

namespace {

struct AnalyzeSettings : MaterialChoice {
  std::optional<std::string> file;
  AnalysisSettings analysis;
  TiltSettings tilt;
  bool azimuthsGiven = false;
  bool json = false;
  std::optional<std::string> plot;
};

std::vector<double> ParseAzimuths(const std::optional<std::string>& text) {
  std::vector<double> azimuths;
  bool good = text && !text->empty() && text->back() != ',';
  if (good) {
    std::stringstream stream(*text);
    std::string item;
    while (good && std::getline(stream, item, ',')) {
      const auto value = ParseNumber(item);
      good = value && *value >= -360 && *value <= 360;
      if (good) azimuths.push_back(*value);
    }
  }
  if (!good) throw UsageError{"--azimuth needs angles from -360 to 360 degrees separated by commas"};
  return azimuths;
}

AnalyzeSettings ReadSettings(Arguments& args) {
  AnalyzeSettings s;
  while (!args.Done()) {
    const std::string word = args.Take();
    if (word == "--json") {
      s.json = true;
    } else if (word == "--default") {
      s.file.reset();
    } else if (word == "--head") {
      s.analysis.HeadDegrees = NumberIn(args, word, 0, 90, "an angle in degrees");
    } else if (word == "--depth") {
      const auto value = args.TakeValue();
      const auto depth = value ? ParseInteger(*value) : std::nullopt;
      if (!depth || *depth < 1 || *depth > 30) throw UsageError{"--depth needs a number of meetings with the surface from 1 to 30"};
      s.analysis.Depth = *depth;
    } else if (word == "--tilt") {
      s.tilt.MaxTilt = NumberIn(args, word, 0, 80, "an angle in degrees");
    } else if (word == "--tilt-step") {
      s.tilt.Step = NumberIn(args, word, 0.1, 30, "an angle in degrees");
    } else if (word == "--azimuth") {
      s.tilt.Azimuths = ParseAzimuths(args.TakeValue());
      s.azimuthsGiven = true;
    } else if (TakeMaterialOption(word, args, s)) {
    } else if (word == "--plot") {
      s.plot = args.TakeName();
      if (!s.plot || !PlotFormatKnown(*s.plot)) throw UsageError{"--plot needs a file name ending in .png or .svg"};
    } else if (!word.empty() && word.front() != '-' && !s.file) {
      s.file = word;
    } else {
      throw UsageError{"unexpected argument: " + word};
    }
  }
  CheckMaterialChoice(s);
  return s;
}

// A share as a percentage with two decimals.
double Percent(double share) { return std::round(share * 10000) / 100; }
// An angle in degrees with three decimals.
double Degrees(double degrees) { return std::round(degrees * 1000) / 1000; }

// An error bound the same way, rounded up: it must still bound the figures.
double PercentAbove(double share) { return std::max(0.0, std::ceil(share * 10000 - 1e-9)) / 100; }

Json SummaryJson(const TiltSummary& s) {
  Json j;
  j["iso"] = Percent(s.Iso);
  j["cos"] = Percent(s.Cos);
  j["sc2"] = Percent(s.Sc2);
  return j;
}

Json ResultJson(const AnalyzeSettings& s, const LightFigures& f, const std::vector<TiltCurve>& curves, bool cutShort) {
  Json result;
  Json& up = result["face_up"];
  up["iso"] = Percent(f.Iso);
  up["cos"] = Percent(f.Cos);
  up["sc2"] = Percent(f.Sc2);
  up["table_iso"] = Percent(f.TableIso);
  up["table_cos"] = Percent(f.TableCos);
  up["table_sc2"] = Percent(f.TableSc2);
  up["leakage"] = Percent(f.Leakage);
  up["head_shadow"] = Percent(f.HeadShadow);
  up["unresolved"] = Percent(f.Unresolved);
  up["fire"] = Percent(f.Fire);
  up["spread"] = Degrees(f.Spread);
  up["aset_red"] = Percent(f.AsetRed);
  up["aset_green"] = Percent(f.AsetGreen);
  up["aset_blue"] = Percent(f.HeadShadow);
  up["aset_black"] = Percent(f.Leakage);
  up["error_bound"] = PercentAbove(f.ErrorBound);
  Json tilt = Json::array();
  for (const TiltCurve& curve : curves) {
    Json axis;
    axis["azimuth"] = curve.Azimuth;
    Json points = Json::array();
    for (const TiltPoint& p : curve.Points) {
      points.push_back({{"angle", p.Angle},
                        {"iso", Percent(p.Iso)},
                        {"cos", Percent(p.Cos)},
                        {"sc2", Percent(p.Sc2)},
                        {"fire", Percent(p.Fire)},
                        {"error_bound", PercentAbove(p.ErrorBound)}});
    }
    axis["points"] = std::move(points);
    axis["mean"] = SummaryJson(curve.Mean);
    axis["variation"] = SummaryJson(curve.Variation);
    axis["error_bound"] = PercentAbove(curve.ErrorBound);
    tilt.push_back(std::move(axis));
  }
  result["tilt"] = std::move(tilt);
  Json& used = result["settings"];
  used["design"] = s.file ? Json(*s.file) : Json(nullptr);
  used["head"] = s.analysis.HeadDegrees;
  used["depth"] = s.analysis.Depth;
  used["refractive_index"] = s.analysis.RefractiveIndex;
  used["dispersion"] = s.analysis.Dispersion;
  used["tilt"] = s.tilt.MaxTilt;
  used["tilt_step"] = s.tilt.Step;
  used["azimuths"] = s.tilt.Azimuths;
  result["cut_short"] = cutShort;
  return result;
}

// Qt Charts draws through widgets: the plot gets an application of its own,
// off screen, as a command-line tool has no display to ask for.
void Plot(const std::vector<TiltCurve>& curves, const std::string& path) {
  std::optional<std::string> failure;
  if (QCoreApplication::instance() != nullptr) {
    failure = WriteTiltPlot(curves, path);
  } else {
    std::string name = "brillora-cli", platform = "-platform", offscreen = "offscreen";
    std::array<char*, 4> argv = {name.data(), platform.data(), offscreen.data(), nullptr};
    int argc = 3;
    const QApplication app(argc, argv.data());
    failure = WriteTiltPlot(curves, path);
  }
  if (failure) throw CommandFailure{kExitFailed, "cannot write " + path + ": " + *failure};
}

void PrintTable(std::ostream& out, const AnalyzeSettings& s, const LightFigures& f,
                const std::vector<TiltCurve>& curves, bool cutShort) {
  out << std::fixed << std::setprecision(2);
  out << "face up (head " << s.analysis.HeadDegrees << " deg, depth " << s.analysis.Depth << ", RI "
      << s.analysis.RefractiveIndex << ", dispersion " << std::setprecision(3) << s.analysis.Dispersion
      << std::setprecision(2) << ")\n";
  const auto row = [&](const char* name, double share, const char* tableName, std::optional<double> table) {
    out << "  " << std::left << std::setw(14) << name << std::right << std::setw(7) << Percent(share) << " %";
    if (table) out << "    " << std::left << std::setw(10) << tableName << std::right << std::setw(7) << Percent(*table) << " %";
    out << '\n';
  };
  row("ISO", f.Iso, "table ISO", f.TableIso);
  row("COS", f.Cos, "table COS", f.TableCos);
  row("SC2", f.Sc2, "table SC2", f.TableSc2);
  row("leakage", f.Leakage, "", std::nullopt);
  row("head shadow", f.HeadShadow, "", std::nullopt);
  row("unresolved", f.Unresolved, "", std::nullopt);
  row("fire", f.Fire, "", std::nullopt);
  out << "  " << std::left << std::setw(14) << "spread" << std::right << std::setw(7) << std::setprecision(3)
      << Degrees(f.Spread) << " deg\n" << std::setprecision(2);
  out << "  ASET  red " << Percent(f.AsetRed) << " %  green " << Percent(f.AsetGreen) << " %  blue "
      << Percent(f.HeadShadow) << " %  black " << Percent(f.Leakage) << " %\n";
  out << "  " << std::left << std::setw(14) << "error bound" << std::right << std::setw(7)
      << PercentAbove(f.ErrorBound) << " %\n";
  out << "tilt -" << s.tilt.MaxTilt << " .. +" << s.tilt.MaxTilt << " deg in steps of " << s.tilt.Step << " deg\n";
  out << "  azimuth     mean ISO   COS    SC2    variation ISO   COS    SC2    error bound\n";
  for (const TiltCurve& c : curves) {
    out << "  " << std::setw(7) << c.Azimuth << "    " << std::setw(6) << Percent(c.Mean.Iso) << ' ' << std::setw(6)
        << Percent(c.Mean.Cos) << ' ' << std::setw(6) << Percent(c.Mean.Sc2) << "      " << std::setw(6)
        << Percent(c.Variation.Iso) << ' ' << std::setw(6) << Percent(c.Variation.Cos) << ' ' << std::setw(6)
        << Percent(c.Variation.Sc2) << "    " << std::setw(6) << PercentAbove(c.ErrorBound) << '\n';
  }
  out << "cut short: " << (cutShort ? "yes" : "no") << '\n';
}

}  // namespace

int RunAnalyze(Arguments& args, std::ostream& out) {
  AnalyzeSettings s = ReadSettings(args);
  const DesignReadResult read = LoadDesign(s.file);
  const std::shared_ptr<const Stone> stone = InstalledStone(s.file, read);
  s.analysis.RefractiveIndex = s.refractiveIndex.value_or(read.refractiveIndex);
  s.analysis.Dispersion = MaterialDispersion(s.dispersion, read);
  if (!s.azimuthsGiven) s.tilt.Azimuths = DefaultAzimuths(read.design.SymOrder);

  LightAnalyzer analyzer;
  const LightFigures faceUp = analyzer.Analyze(*stone, IdentityFrame(), s.analysis);
  const int threads = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
  const std::vector<TiltCurve> curves = *TiltCurves(*stone, s.analysis, s.tilt, threads);
  const bool cutShort =
      faceUp.CutShort || std::any_of(curves.begin(), curves.end(), [](const TiltCurve& c) { return c.CutShort; });
  if (s.plot) Plot(curves, *s.plot);

  if (s.json) {
    PrintJson(out, ResultJson(s, faceUp, curves, cutShort));
  } else {
    PrintTable(out, s, faceUp, curves, cutShort);
  }
  return kExitOk;
}

}  // namespace brillora::cli
