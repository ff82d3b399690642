#pragma once

#include <memory>
#include <string>

#include "model/design.h"

namespace brillora {

// The design being edited: both sides, the side the controls edit, and the stone
// last built from them. The main window owns exactly one.
struct DesignState {
  MasStep CrownSteps;
  MasStep PavilionSteps;
  bool IsCrown = true;
  bool Changed = false;  // the next rebuild must construct the stone anew
  int SymOrder = 8;
  int GearNotches = 96;
  std::string SoundName;  // cue the next rebuild plays; empty for none
  std::shared_ptr<const Stone> stone = std::make_shared<const Stone>();

  MasStep& CurSteps() { return IsCrown ? CrownSteps : PavilionSteps; }
  const MasStep& CurSteps() const { return IsCrown ? CrownSteps : PavilionSteps; }
  MasStep& OtherSteps() { return IsCrown ? PavilionSteps : CrownSteps; }
  const MasStep& OtherSteps() const { return IsCrown ? PavilionSteps : CrownSteps; }

  // The steps and symmetry as a design file would hold them.
  Design AsDesign() const { return {SymOrder, GearNotches, CrownSteps, PavilionSteps}; }
};

}  // namespace brillora
