#include "model/edit_history.h"

#include <utility>

namespace brillora {

namespace {

bool StepsDiffer(const MasStep& a, const MasStep& b) {
  if (a.size() != b.size()) return true;
  for (std::size_t k = 0; k < a.size(); ++k) {
    const TStep& s = a[k];
    const TStep& t = b[k];
    if (s.Shift != t.Shift || s.Split != t.Split || s.Posit != t.Posit || s.Angle != t.Angle ||
        s.Auto != t.Auto) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool DesignsDiffer(const DesignState& a, const DesignState& b) {
  return a.SymOrder != b.SymOrder || a.GearNotches != b.GearNotches ||
         StepsDiffer(a.CrownSteps, b.CrownSteps) || StepsDiffer(a.PavilionSteps, b.PavilionSteps);
}

void EditHistory::Record(EditorSnapshot before) {
  undo_.push_back(std::move(before));
  if (undo_.size() > kDepth) undo_.pop_front();
  redo_.clear();
}

std::optional<EditorSnapshot> EditHistory::Undo(EditorSnapshot current) {
  if (undo_.empty()) return std::nullopt;
  EditorSnapshot target = std::move(undo_.back());
  undo_.pop_back();
  redo_.push_back(std::move(current));
  return target;
}

std::optional<EditorSnapshot> EditHistory::Redo(EditorSnapshot current) {
  if (redo_.empty()) return std::nullopt;
  EditorSnapshot target = std::move(redo_.back());
  redo_.pop_back();
  undo_.push_back(std::move(current));
  return target;
}

void EditHistory::Clear() {
  undo_.clear();
  redo_.clear();
}

}  // namespace brillora
