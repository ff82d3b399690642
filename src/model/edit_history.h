#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "model/design_state.h"
#include "model/editor_controls.h"

namespace brillora {

// The design and the controls as one completed edit left them, with the
// number of the revision it was. The stone travels with it: a built stone is
// an immutable value, so going back to a revision needs no construction.
struct EditorSnapshot {
  DesignState state;
  EditorControls controls;
  std::uint64_t revision = 0;
};

// True when the two designs differ in anything a design file holds or the
// construction reads: the symmetry and every field of every step.
bool DesignsDiffer(const DesignState& a, const DesignState& b);

// The states before the edits that can be undone and after those that can
// be redone. The oldest edits are forgotten past a fixed depth, so that a
// long session's history stays small.
class EditHistory {
 public:
  static constexpr std::size_t kDepth = 1000;

  // A new edit was completed: `before` is what it started from. Edits that
  // had been undone can no longer be redone.
  void Record(EditorSnapshot before);
  // The state to go back to, given the one being left; nothing when there is
  // no edit to undo.
  std::optional<EditorSnapshot> Undo(EditorSnapshot current);
  std::optional<EditorSnapshot> Redo(EditorSnapshot current);
  void Clear();

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }

 private:
  std::deque<EditorSnapshot> undo_;
  std::deque<EditorSnapshot> redo_;
};

}  // namespace brillora
