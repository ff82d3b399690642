#include "output/gemcad_cutting_table.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace brillora {

namespace {

std::string IndexText(double index, int digits) {
  char text[32];
  if (index == std::round(index)) {
    std::snprintf(text, sizeof text, "%0*.0f", digits, index);
  } else {
    // Enough decimals for the fractions a gear is split into, without trailing zeros.
    std::snprintf(text, sizeof text, "%.4f", index);
    std::string trimmed = text;
    trimmed.erase(trimmed.find_last_not_of('0') + 1);
    return trimmed;
  }
  return text;
}

}  // namespace

std::vector<GemCadCuttingRow> GemCadCuttingRows(const GemCadDesign& design) {
  const int digits = static_cast<int>(std::to_string(std::abs(design.gearTeeth)).size());
  std::vector<GemCadCuttingRow> rows;
  int crownTiers = 0;
  int pavilionTiers = 0;
  for (const GemCadTier& tier : design.tiers) {
    GemCadCuttingRow row;
    row.crown = !std::signbit(tier.angle);
    row.slope = std::abs(tier.angle);
    const int number = row.crown ? ++crownTiers : ++pavilionTiers;
    for (const GemCadFacet& facet : tier.facets) {
      if (row.name.empty()) row.name = facet.name;
      if (!row.indexes.empty()) row.indexes += '-';
      row.indexes += IndexText(facet.index, digits);
    }
    if (row.name.empty()) {
      row.name.push_back(row.crown ? 'C' : 'P');
      row.name += std::to_string(number);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace brillora
