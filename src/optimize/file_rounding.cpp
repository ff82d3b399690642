#include "optimize/file_rounding.h"

#include "io/design_file.h"

namespace brillora {

Design RoundedAsFilesKeep(const Design& design, const std::vector<DesignVariable>& variables) {
  // The refractive index plays no part in the steps' values.
  const DesignReadResult read = ReadDesignText(DesignFileText(design, 2.42, "", ""));
  Design rounded = design;
  if (!read.ok()) return rounded;
  // Slopes first: the girdle's position read back goes with its slope.
  for (const DesignVariable& v : variables) {
    if (v.quantity != VariedQuantity::Slope) continue;
    SetValue(rounded, v, ValueOf(read.design, v));
  }
  for (const DesignVariable& v : variables) {
    if (v.quantity != VariedQuantity::Position) continue;
    const TStep& kept = StepsOf(read.design, v.side).at(static_cast<std::size_t>(v.element));
    TStep& step = StepsOf(rounded, v.side).at(static_cast<std::size_t>(v.element));
    if (!IsGirdleThickness(v) || kept.Angle == step.Angle) {
      step.Posit = kept.Posit;
    } else {
      // The file gives the girdle's thickness; here it goes with the slope the
      // girdle keeps.
      SetValue(rounded, v, ValueOf(read.design, v));
    }
  }
  return rounded;
}

}  // namespace brillora
