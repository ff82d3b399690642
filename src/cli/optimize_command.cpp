#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <thread>

#include "cli/commands.h"
#include "cli/design_json.h"
#include "cli/trace_options.h"
#include "io/gemcad_file.h"
#include "model/gemcad_design.h"
#include "optimize/optimizer.h"

namespace brillora::cli {

namespace {

struct OptimizeCommandSettings : MaterialChoice {
  std::optional<std::string> file;
  std::vector<std::string> vary;
  OptimizeSettings search;
  bool threadsGiven = false;
  std::optional<std::string> output;
  bool json = false;
};

// iso=W,cos=W,sc2=W,leakage=W,fire=W: the figures named count with their
// weights, the others not at all.
MeritWeights ParseWeights(const std::optional<std::string>& text) {
  const UsageError bad{"--weights needs iso=W,cos=W,sc2=W,leakage=W,fire=W (any of them, weights from -100 to 100)"};
  if (!text || text->empty() || text->back() == ',') throw bad;
  MeritWeights w{0, 0, 0, 0, 0};
  std::vector<std::string> named;
  std::stringstream stream(*text);
  std::string item;
  while (std::getline(stream, item, ',')) {
    const std::size_t equals = item.find('=');
    if (equals == std::string::npos) throw bad;
    const std::string name = item.substr(0, equals);
    const auto weight = ParseNumber(item.substr(equals + 1));
    if (!weight || std::abs(*weight) > 100 || std::find(named.begin(), named.end(), name) != named.end()) throw bad;
    named.push_back(name);
    if (name == "iso") {
      w.iso = *weight;
    } else if (name == "cos") {
      w.cos = *weight;
    } else if (name == "sc2") {
      w.sc2 = *weight;
    } else if (name == "leakage") {
      w.leakage = *weight;
    } else if (name == "fire") {
      w.fire = *weight;
    } else {
      throw bad;
    }
  }
  return w;
}

bool EndsWith(std::string name, const std::vector<std::string>& extensions) {
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return std::any_of(extensions.begin(), extensions.end(), [&](const std::string& e) { return name.ends_with(e); });
}

OptimizeCommandSettings ReadSettings(Arguments& args) {
  OptimizeCommandSettings s;
  const auto limit = [&](const std::string& word) {
    return NumberIn(args, word, 0, 200, "a per cent of the girdle's width");
  };
  while (!args.Done()) {
    const std::string word = args.Take();
    if (word == "--json") {
      s.json = true;
    } else if (word == "--default") {
      s.file.reset();
    } else if (word == "--vary") {
      const auto value = args.TakeValue();
      if (!value) throw UsageError{"--vary needs SIDE:STEP:slope or SIDE:STEP:position"};
      s.vary.push_back(*value);
    } else if (word == "--weights") {
      s.search.merit.weights = ParseWeights(args.TakeValue());
    } else if (word == "--tilt") {
      s.search.merit.tilt = NumberIn(args, word, 0, 80, "an angle in degrees");
    } else if (word == "--tilt-step") {
      s.search.merit.tiltStep = NumberIn(args, word, 0.1, 30, "an angle in degrees");
    } else if (word == "--range") {
      s.search.rangeDegrees = NumberIn(args, word, 0.01, 45, "an angle in degrees");
    } else if (word == "--max-total-depth") {
      s.search.limits.maxTotalDepth = limit(word);
    } else if (word == "--min-crown-height") {
      s.search.limits.minCrownHeight = limit(word);
    } else if (word == "--max-crown-height") {
      s.search.limits.maxCrownHeight = limit(word);
    } else if (word == "--min-table") {
      s.search.limits.minTable = limit(word);
    } else if (word == "--head") {
      s.search.merit.analysis.HeadDegrees = NumberIn(args, word, 0, 90, "an angle in degrees");
    } else if (word == "--depth") {
      s.search.merit.analysis.Depth =
          IntegerIn(args, word, AnalysisSettings::kShallowest, AnalysisSettings::kDeepest,
                    "a number of meetings with the surface");
    } else if (TakeMaterialOption(word, args, s)) {
    } else if (word == "--threads") {
      s.search.threads = IntegerIn(args, word, 1, 64, "a number of threads");
      s.threadsGiven = true;
    } else if (word == "--max-evaluations") {
      s.search.maxEvaluations = IntegerIn(args, word, 2, 1000000, "a number of candidates");
    } else if (word == "-o") {
      s.output = args.TakeName();
      if (!s.output || !EndsWith(*s.output, {".brl", ".txt", ".asc"})) {
        throw UsageError{"-o needs a file name ending in .brl, .txt or .asc"};
      }
    } else if (!word.empty() && word.front() != '-' && !s.file) {
      s.file = word;
    } else {
      throw UsageError{"unexpected argument: " + word};
    }
  }
  CheckMaterialChoice(s);
  const ProportionLimits& l = s.search.limits;
  if (l.minCrownHeight && l.maxCrownHeight && *l.minCrownHeight > *l.maxCrownHeight) {
    throw UsageError{"--min-crown-height is above --max-crown-height"};
  }
  if (!s.threadsGiven) s.search.threads = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
  return s;
}

std::vector<DesignVariable> Variables(const std::vector<std::string>& names, const Design& design) {
  std::vector<DesignVariable> variables;
  for (const std::string& name : names) {
    const VariableParse parsed = ParseVariable(name, design);
    if (!parsed.variable) throw CommandFailure{kExitUsage, "brillora-cli optimize: --vary " + parsed.error};
    if (std::find(variables.begin(), variables.end(), *parsed.variable) != variables.end()) {
      throw CommandFailure{kExitUsage, "brillora-cli optimize: --vary " + name + " is given twice"};
    }
    variables.push_back(*parsed.variable);
  }
  if (names.empty()) variables = DefaultVariables(design);
  if (variables.empty()) {
    throw CommandFailure{kExitUsage, "brillora-cli optimize: the design has no main tier whose slope could vary; "
                                     "name the steps with --vary"};
  }
  return variables;
}

// Shares as per cents to four decimals: a thousandth of a per cent is well
// above the figures' rounding and below anything a cutter could see.
double Percent(double share) { return std::round(share * 1e6) / 1e4; }
// Values as the controls give them, without the last bits of the conversions.
double Value(double value) { return std::round(value * 1e9) / 1e9; }

Json DesignPart(const OptimizedDesign& d, const std::vector<DesignVariable>& variables) {
  Json part;
  Json& values = part["variables"];
  values = Json::object();
  for (std::size_t i = 0; i < variables.size(); ++i) values[VariableName(variables[i])] = Value(d.values[i]);
  const Judgement& j = d.judgement;
  part["merit"] = Percent(j.merit);
  part["figures"] = {{"iso", Percent(j.figures.iso)},
                     {"cos", Percent(j.figures.cos)},
                     {"sc2", Percent(j.figures.sc2)},
                     {"leakage", Percent(j.figures.leakage)},
                     {"fire", Percent(j.figures.fire)}};
  part["proportions"] = {{"total_depth", Percent(j.proportions.totalDepth / 100)},
                         {"crown_height", Percent(j.proportions.crownHeight / 100)},
                         {"table", Percent(j.proportions.table / 100)}};
  return part;
}

Json LimitJson(const std::optional<double>& limit) { return limit ? Json(*limit) : Json(nullptr); }

Json ResultJson(const OptimizeCommandSettings& s, const OptimizeResult& r) {
  Json result;
  result["start"] = DesignPart(r.start, r.variables);
  result["result"] = DesignPart(r.result, r.variables);
  Json& tolerance = result["tolerance"];
  tolerance = Json::object();
  for (const VariableTolerance& t : r.tolerance) {
    tolerance[VariableName(t.variable)] = {{"step", t.step}, {"minus", Percent(t.minus)}, {"plus", Percent(t.plus)}};
  }
  result["evaluations"] = r.evaluations;
  result["seconds"] = std::round(r.seconds * 1000) / 1000;
  Json& used = result["settings"];
  const OptimizeSettings& o = s.search;
  used["design"] = s.file ? Json(*s.file) : Json(nullptr);
  Json names = Json::array();
  for (const DesignVariable& v : r.variables) names.push_back(VariableName(v));
  used["vary"] = std::move(names);
  used["weights"] = {{"iso", o.merit.weights.iso},
                     {"cos", o.merit.weights.cos},
                     {"sc2", o.merit.weights.sc2},
                     {"leakage", o.merit.weights.leakage},
                     {"fire", o.merit.weights.fire}};
  used["tilt"] = o.merit.tilt;
  used["tilt_step"] = o.merit.tiltStep;
  used["views"] = MeritViewCount(o.merit.tilt, o.merit.tiltStep);
  used["range"] = o.rangeDegrees;
  used["max_total_depth"] = LimitJson(o.limits.maxTotalDepth);
  used["min_crown_height"] = LimitJson(o.limits.minCrownHeight);
  used["max_crown_height"] = LimitJson(o.limits.maxCrownHeight);
  used["min_table"] = LimitJson(o.limits.minTable);
  used["head"] = o.merit.analysis.HeadDegrees;
  used["depth"] = o.merit.analysis.Depth;
  used["refractive_index"] = o.merit.analysis.RefractiveIndex;
  used["dispersion"] = o.merit.analysis.Dispersion;
  used["threads"] = o.threads;
  used["max_evaluations"] = o.maxEvaluations;
  used["global_evaluations"] = r.globalEvaluations;
  result["improved"] = r.improved;
  result["cut_short"] = r.start.judgement.figures.cutShort || r.result.judgement.figures.cutShort;
  return result;
}

void PrintTable(std::ostream& out, const OptimizeCommandSettings& s, const OptimizeResult& r) {
  const MeritSettings& m = s.search.merit;
  out << std::fixed << std::setprecision(3);
  out << "merit: " << m.weights.iso << " ISO + " << m.weights.cos << " COS + " << m.weights.sc2 << " SC2 + "
      << m.weights.leakage << " leakage + " << m.weights.fire << " fire, means over " << MeritViewCount(m.tilt, m.tiltStep) << " views (tilt ±"
      << std::setprecision(1) << m.tilt << " deg in steps of " << m.tiltStep << "), head " << m.analysis.HeadDegrees
      << " deg, depth " << m.analysis.Depth << ", RI " << std::setprecision(3) << m.analysis.RefractiveIndex
      << ", dispersion " << m.analysis.Dispersion << '\n';
  out << "                        start     result\n";
  const auto row = [&](const std::string& name, double start, double result, int decimals, const char* unit) {
    out << "  " << std::left << std::setw(20) << name << std::right << std::setprecision(decimals) << std::setw(9)
        << start << "  " << std::setw(9) << result << unit << '\n';
  };
  for (std::size_t i = 0; i < r.variables.size(); ++i) {
    const bool slope = r.variables[i].quantity == VariedQuantity::Slope;
    row(VariableName(r.variables[i]), r.start.values[i], r.result.values[i], slope ? 2 : 3, slope ? " deg" : "");
  }
  const Judgement& a = r.start.judgement;
  const Judgement& b = r.result.judgement;
  row("merit", 100 * a.merit, 100 * b.merit, 3, " %");
  row("ISO", 100 * a.figures.iso, 100 * b.figures.iso, 3, " %");
  row("COS", 100 * a.figures.cos, 100 * b.figures.cos, 3, " %");
  row("SC2", 100 * a.figures.sc2, 100 * b.figures.sc2, 3, " %");
  row("fire", 100 * a.figures.fire, 100 * b.figures.fire, 3, " %");
  row("leakage", 100 * a.figures.leakage, 100 * b.figures.leakage, 3, " %");
  row("total depth", a.proportions.totalDepth, b.proportions.totalDepth, 2, " %");
  row("crown height", a.proportions.crownHeight, b.proportions.crownHeight, 2, " %");
  row("table", a.proportions.table, b.proportions.table, 2, " %");
  if (!r.improved) out << "no better design within the ranges and limits: the result is the start\n";
  out << "cutting tolerance of the result: change of merit in per cent for an error of one step\n";
  for (const VariableTolerance& t : r.tolerance) {
    const bool slope = t.variable.quantity == VariedQuantity::Slope;
    out << "  " << std::left << std::setw(20) << VariableName(t.variable) << std::right << std::setprecision(3)
        << " -" << t.step << (slope ? " deg" : "    ") << std::setprecision(4) << std::setw(9) << 100 * t.minus
        << "   +" << std::setprecision(3) << t.step << (slope ? " deg" : "    ") << std::setprecision(4)
        << std::setw(9) << 100 * t.plus << '\n';
  }
  out << std::setprecision(2) << r.evaluations << " evaluations (" << r.globalEvaluations << " in the global phase), "
      << r.seconds << " s on " << s.search.threads << " thread" << (s.search.threads == 1 ? "" : "s") << '\n';
}

void WriteResult(const std::string& output, const Design& result, double refractiveIndex,
                 const std::optional<std::string>& file) {
  // Written as the desktop would save the design once the result is applied.
  EditorObserver quiet;
  const StepEditor editor(result, quiet);
  std::string error;
  if (EndsWith(output, {".asc"})) {
    const std::string name = file ? std::filesystem::path(*file).stem().string() : std::string("Default");
    error = WriteGemCadFile(output, GemCadOf(editor.CurrentDesign(), refractiveIndex, name));
  } else {
    const DesignSaveResult saved = SaveDesignFile(output, editor.CurrentDesign(), refractiveIndex);
    error = saved.written ? "" : saved.error.empty() ? "could not write " + output : saved.error;
  }
  if (!error.empty()) throw CommandFailure{kExitFailed, "brillora-cli optimize: " + error};
}

}  // namespace

int RunOptimize(Arguments& args, std::ostream& out) {
  OptimizeCommandSettings s = ReadSettings(args);
  const DesignReadResult read = LoadDesign(s.file);
  EditorObserver quiet;
  const Design start = StartEditor(s.file, read, quiet)->CurrentDesign();
  s.search.variables = Variables(s.vary, start);
  s.search.merit.analysis.RefractiveIndex = s.refractiveIndex.value_or(read.refractiveIndex);
  s.search.merit.analysis.Dispersion = MaterialDispersion(s.dispersion, read);

  const OptimizeResult r = Optimize(start, s.search);
  if (r.outcome == OptimizeOutcome::InfeasibleStart) {
    throw CommandFailure{kExitFailed, "brillora-cli optimize: the start design does not count: " +
                                          r.start.judgement.infeasible.value_or("no stone") +
                                          "; nothing was optimized"};
  }
  // Saved in the material it was optimized for.
  if (s.output) WriteResult(*s.output, r.result.design, s.search.merit.analysis.RefractiveIndex, s.file);
  if (s.json) {
    out << ResultJson(s, r).dump(2) << '\n';
  } else {
    PrintTable(out, s, r);
  }
  return kExitOk;
}

}  // namespace brillora::cli
