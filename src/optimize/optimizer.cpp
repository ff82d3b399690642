#include "optimize/optimizer.h"

#include <nlopt.hpp>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>

#include "optimize/candidate_stone.h"
#include "optimize/value_rounding.h"

namespace brillora {

namespace {

// Where a candidate does not count: the search sees the worst value there is.
constexpr double kInfeasible = HUGE_VAL;
// The local refinement starts with steps of a ninth of the box, the size of
// the boxes the global phase leaves after two rounds of thirds, and ends
// once its simplex is within a fortieth of a control step.
constexpr double kLocalStartStep = 1.0 / 9;
constexpr double kLocalEndStep = 1.0 / 40;
constexpr double kMeritTolerance = 1e-9;
// Rounded values that break a limit are drawn back toward the start.
constexpr std::array<double, 7> kTowardStart = {1.0, 0.99, 0.95, 0.9, 0.75, 0.5, 0.25};

// The variables of a search as coordinates from 0 to 1 across their ranges,
// which gives every variable the same weight in the global phase's boxes.
class Search {
 public:
  Search(const Design& start, const OptimizeSettings& settings, std::vector<DesignVariable> variables,
         DesignJudge& judge, const ProgressReport& progress, const StopAsked& stop)
      : start_(start), variables_(std::move(variables)), judge_(judge), progress_(progress), stop_(stop) {
    for (const DesignVariable& v : variables_) ranges_.push_back(SearchRange(start, v, settings.rangeDegrees));
  }

  std::size_t Size() const { return variables_.size(); }
  const std::vector<ValueRange>& Ranges() const { return ranges_; }
  int Evaluations() const { return evaluations_; }
  bool Stopped() const { return stopped_; }
  bool HaveBest() const { return haveBest_; }
  const std::vector<double>& Best() const { return best_; }
  double BestMerit() const { return bestMerit_; }

  std::vector<double> Coordinates(const std::vector<double>& values) const {
    std::vector<double> u(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
      const double width = ranges_[i].high - ranges_[i].low;
      u[i] = width > 0 ? std::clamp((values[i] - ranges_[i].low) / width, 0.0, 1.0) : 0.5;
    }
    return u;
  }

  std::vector<double> Values(const std::vector<double>& u) const {
    std::vector<double> values(u.size());
    for (std::size_t i = 0; i < u.size(); ++i) {
      values[i] = ranges_[i].low + std::clamp(u[i], 0.0, 1.0) * (ranges_[i].high - ranges_[i].low);
    }
    return values;
  }

  Design DesignWith(const std::vector<double>& values) const {
    Design design = start_;
    for (std::size_t i = 0; i < values.size(); ++i) SetValue(design, variables_[i], values[i]);
    return design;
  }

  // A judged candidate, counted and reported; nothing when stopped. A
  // candidate that must be judged whatever (the result of a stopped search)
  // is not stoppable.
  std::optional<Judgement> Judge(const Design& design, bool global, bool stoppable = true) {
    if (stoppable && stop_ && stop_()) {
      stopped_ = true;
      return std::nullopt;
    }
    std::optional<Judgement> j = judge_.Judge(design, stoppable ? stop_ : StopAsked{});
    if (!j) {
      stopped_ = true;
      return std::nullopt;
    }
    ++evaluations_;
    if (progress_) progress_({evaluations_, budget_, haveBest_ ? bestMerit_ : j->merit, global});
    return j;
  }

  void Offer(const std::vector<double>& u, const Judgement& j) {
    if (!j.Feasible() || (haveBest_ && !(j.merit > bestMerit_))) return;
    haveBest_ = true;
    bestMerit_ = j.merit;
    best_ = u;
  }

  void SetBudget(int total) { budget_ = total; }

  // One phase: `algorithm` from `u` with at most `evaluations` candidates.
  void Run(nlopt::algorithm algorithm, std::vector<double> u, int evaluations) {
    if (evaluations <= 0 || stopped_ || u.empty()) return;
    const unsigned n = static_cast<unsigned>(u.size());
    nlopt::opt opt(algorithm, n);
    opt.set_lower_bounds(std::vector<double>(n, 0.0));
    opt.set_upper_bounds(std::vector<double>(n, 1.0));
    opt.set_min_objective(&Search::Objective, this);
    opt.set_maxeval(evaluations);
    phaseEnd_ = evaluations_ + evaluations;
    global_ = algorithm == nlopt::GN_ORIG_DIRECT_L;
    if (!global_) {
      std::vector<double> start(n), end(n);
      for (unsigned i = 0; i < n; ++i) {
        const double width = ranges_[i].high - ranges_[i].low;
        start[i] = kLocalStartStep;
        end[i] = width > 0 ? kLocalEndStep * ControlStep(variables_[i]) / width : 1.0;
      }
      opt.set_initial_step(start);
      opt.set_xtol_abs(end);
      opt.set_ftol_abs(kMeritTolerance);
    }
    double value = 0;
    try {
      opt.optimize(u, value);
    } catch (const nlopt::forced_stop&) {
      // The budget ran out or the search was stopped; the best point is kept here.
    } catch (const std::exception&) {
      // A phase that cannot go on (rounding errors in the local model) ends
      // with what it found.
    }
  }

 private:
  static double Objective(unsigned n, const double* x, double* /*gradient*/, void* data) {
    auto& search = *static_cast<Search*>(data);
    if (search.evaluations_ >= search.phaseEnd_) throw nlopt::forced_stop();
    const std::vector<double> u(x, x + n);
    const std::optional<Judgement> j = search.Judge(search.DesignWith(search.Values(u)), search.global_);
    if (!j) throw nlopt::forced_stop();
    search.Offer(u, *j);
    return j->Feasible() ? -j->merit : kInfeasible;
  }

  const Design& start_;
  std::vector<DesignVariable> variables_;
  std::vector<ValueRange> ranges_;
  DesignJudge& judge_;
  const ProgressReport& progress_;
  const StopAsked& stop_;
  int evaluations_ = 0;
  int budget_ = 0;
  int phaseEnd_ = 0;
  bool global_ = false;
  bool stopped_ = false;
  bool haveBest_ = false;
  double bestMerit_ = 0.0;
  std::vector<double> best_;
};

OptimizedDesign Judged(const Design& design, const std::vector<DesignVariable>& variables, Judgement judgement) {
  OptimizedDesign d{design, {}, std::move(judgement)};
  for (const DesignVariable& v : variables) d.values.push_back(ValueOf(design, v));
  return d;
}

}  // namespace

int DefaultEvaluations(std::size_t variables) { return 30 * (static_cast<int>(variables) + 1); }

OptimizeResult Optimize(const Design& design, const OptimizeSettings& settings, const ProgressReport& progress,
                        const StopAsked& stop) {
  const auto began = std::chrono::steady_clock::now();
  OptimizeResult r;
  r.variables = settings.variables.empty() ? DefaultVariables(design) : settings.variables;
  DesignJudge judge(design, settings.merit, settings.limits, settings.threads);
  Search search(design, settings, r.variables, judge, progress, stop);
  const int budget = settings.maxEvaluations > 0 ? settings.maxEvaluations : DefaultEvaluations(r.variables.size());
  search.SetBudget(budget);
  r.budget = budget;
  const auto finish = [&] {
    r.evaluations = search.Evaluations();
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    return r;
  };

  const std::optional<Judgement> start = search.Judge(design, false);
  if (!start) {
    r.outcome = OptimizeOutcome::Cancelled;
    return finish();
  }
  r.start = Judged(design, r.variables, *start);
  r.result = r.start;
  if (!start->Feasible()) {
    r.outcome = OptimizeOutcome::InfeasibleStart;
    return finish();
  }
  const std::vector<double> u0 = search.Coordinates(r.start.values);
  search.Offer(u0, *start);

  // The start and the rounded result take one evaluation each.
  const int searchBudget = std::max(0, budget - 2);
  const int globalBudget = settings.globalPhase ? searchBudget / 2 : 0;
  search.Run(nlopt::GN_ORIG_DIRECT_L, u0, globalBudget);
  r.globalEvaluations = search.Evaluations() - 1;
  search.Run(nlopt::LN_SBPLX, search.Best(), budget - 1 - search.Evaluations());
  const bool cancelled = search.Stopped();

  // The best point as a design file keeps it. Should the rounding carry it
  // past a limit, it is drawn back toward the start.
  if (search.BestMerit() > r.start.judgement.merit) {
    const std::vector<double> best = search.Values(search.Best());
    for (const double share : kTowardStart) {
      std::vector<double> values = r.start.values;
      for (std::size_t i = 0; i < values.size(); ++i) values[i] += share * (best[i] - values[i]);
      // The result is the design the editor would hold.
      Design rounded = RoundedValues(search.DesignWith(values), r.variables, search.Ranges());
      FollowFirstTiers(rounded);
      const std::optional<Judgement> j = search.Judge(rounded, false, false);
      if (j && j->Feasible() && j->merit > r.start.judgement.merit) {
        r.result = Judged(rounded, r.variables, *j);
        r.improved = true;
        break;
      }
    }
  }
  if (cancelled) {
    r.outcome = OptimizeOutcome::Cancelled;
    return finish();
  }
  const auto tolerance =
      CuttingTolerances(r.result.design, r.variables, r.result.judgement.merit, judge, stop);
  if (!tolerance) {
    r.outcome = OptimizeOutcome::Cancelled;
    return finish();
  }
  r.tolerance = *tolerance;
  return finish();
}

}  // namespace brillora
