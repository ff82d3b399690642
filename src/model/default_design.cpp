#include "model/default_design.h"

#include "model/girdle.h"

namespace brillora {

Design DefaultDesign() {
  Design design;
  design.SymOrder = 8;
  design.GearNotches = 96;

  design.CrownSteps.resize(4);
  design.CrownSteps[0].Posit = 0.5;
  design.CrownSteps[0].Facets.resize(1);
  TStep& girdle = design.CrownSteps[1];
  girdle.Auto = true;
  girdle.Angle = 89.0;
  girdle.Posit = GirdlePosit(kStartPositBar / 1000.0, girdle.Angle);
  TStep& main = design.CrownSteps[2];
  main.Auto = false;
  main.Angle = 40.0;
  main.Posit = kStartPositBar / 100.0;

  design.PavilionSteps.resize(3);
  design.PavilionSteps[0].Posit = 1.0;
  design.PavilionSteps[0].Facets.resize(1);
  TStep& pavilionMain = design.PavilionSteps[1];
  pavilionMain.Auto = true;
  pavilionMain.Angle = 40.0;
  pavilionMain.Posit = 0.2;
  return design;
}

}  // namespace brillora
