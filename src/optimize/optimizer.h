#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/design.h"
#include "optimize/cutting_tolerance.h"
#include "optimize/design_judge.h"
#include "optimize/design_variable.h"
#include "optimize/merit.h"
#include "optimize/proportions.h"

namespace brillora {

struct OptimizeSettings {
  std::vector<DesignVariable> variables;  // empty: the main tiers' slopes
  MeritSettings merit;
  ProportionLimits limits;
  double rangeDegrees = 5.0;
  int threads = 1;
  // Candidates judged, the start and the rounded result among them; the
  // global phase takes half of the others. 0: DefaultEvaluations. 1 judges
  // the start alone and gives its tolerances.
  int maxEvaluations = 0;
  // Without it the local refinement starts from the start alone.
  bool globalPhase = true;
};

// A design with the values of the variables and what it is worth.
struct OptimizedDesign {
  Design design;
  std::vector<double> values;  // one per variable, in the settings' order
  Judgement judgement;
};

enum class OptimizeOutcome {
  Finished,
  Cancelled,        // stopped early: the best design found so far is offered
  InfeasibleStart,  // the start keeps no limit or has no stone: nothing was searched
};

struct OptimizeResult {
  OptimizeOutcome outcome = OptimizeOutcome::Finished;
  std::vector<DesignVariable> variables;
  OptimizedDesign start;
  // The best design found, its values rounded to two decimals of a design
  // file (slopes to 0.01 degree, positions to 0.001) and
  // judged so; the start when nothing better was found.
  OptimizedDesign result;
  bool improved = false;
  std::vector<VariableTolerance> tolerance;  // of the result; empty unless finished
  int evaluations = 0;                       // candidates judged, the start and the rounded result among them
  int budget = 0;                            // the most that could be judged
  int globalEvaluations = 0;
  double seconds = 0.0;
};

struct OptimizeProgress {
  int evaluations = 0;
  int budget = 0;
  double bestMerit = 0.0;
  bool global = false;  // in the global phase
};

using ProgressReport = std::function<void(const OptimizeProgress& progress)>;
using StopAsked = std::function<bool()>;

// The candidates a search of that many variables judges unless told: thirty
// per variable and thirty more.
int DefaultEvaluations(std::size_t variables);

// Searches the variables' ranges for the design of the highest merit that
// keeps the start's structure and the limits: a deterministic global phase
// (DIRECT-L over the whole box) and a local refinement (Subplex) from the best
// point it found. The same design and settings give the same result bit for
// bit, on any number of threads. `progress` hears of every candidate judged;
// `stop`, asked as often, ends the search early with the best found so far.
OptimizeResult Optimize(const Design& design, const OptimizeSettings& settings, const ProgressReport& progress = {},
                        const StopAsked& stop = {});

}  // namespace brillora
