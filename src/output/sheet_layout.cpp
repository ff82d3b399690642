#include "output/sheet_layout.h"

#include <algorithm>

#include "model/number_text.h"
#include "output/single_round.h"

namespace brillora {

namespace {

constexpr int kLinesPerHalf = 16;
// With the tolerance column the table takes as many columns across as the
// picture is wide, twenty, and the column starts after the sixteenth.
constexpr int kColumnsWithTolerance = 20;
constexpr int kToleranceColumn = 16;

void AddStepTable(SheetLayout& layout, const MasStep& steps, int top, int half, int textLeft, int col,
                  const std::vector<std::optional<double>>* tolerances) {
  const int n = std::max(0, static_cast<int>(steps.size()) - 2);
  // The headings take the second line and each step one more below them.
  const int row = n + 2 > kLinesPerHalf ? half / (n + 2) : half / kLinesPerHalf;
  const int font = std::max(1, row);
  auto add = [&](std::string text, int x, int y) { layout.texts.push_back({std::move(text), x, y, font}); };
  const int headings = top + row;
  add("Angle", textLeft + col, headings);
  add("Split", textLeft + 4 * col, headings);
  add("Shift", textLeft + 7 * col, headings);
  add("Position", textLeft + 10 * col, headings);
  add("Auto", textLeft + 14 * col, headings);
  if (tolerances) add("\u00b10.1\u00b0", textLeft + kToleranceColumn * col, headings);
  for (int i = 1; i <= n; ++i) {
    const TStep& step = steps[static_cast<std::size_t>(i)];
    const int line = top + (i + 1) * row;
    add(std::to_string(i), textLeft, line);
    add(FormatFixed(step.Angle, 5, 2), textLeft + col, line);
    add(std::to_string(step.Split), textLeft + 5 * col, line);
    add(std::to_string(step.Shift), textLeft + 8 * col, line);
    add(FormatFixed(step.Posit, 4, 2), textLeft + 11 * col, line);
    if (step.Auto) add("A", textLeft + 15 * col, line);
    if (tolerances && static_cast<std::size_t>(i) < tolerances->size() && (*tolerances)[i]) {
      add(FormatFixed(*(*tolerances)[i], 5, 3), textLeft + kToleranceColumn * col, line);
    }
  }
}

void AddTierTable(SheetLayout& layout, const std::vector<const GemCadCuttingRow*>& tiers, int top, int half,
                  int textLeft, int col) {
  const int n = static_cast<int>(tiers.size());
  const int row = n + 2 > kLinesPerHalf ? half / (n + 2) : half / kLinesPerHalf;
  const int font = std::max(1, row);
  auto add = [&](std::string text, int x, int y) { layout.texts.push_back({std::move(text), x, y, font}); };
  const int headings = top + row;
  add("Tier", textLeft, headings);
  add("Angle", textLeft + 3 * col, headings);
  add("Index", textLeft + 7 * col, headings);
  for (int i = 0; i < n; ++i) {
    const GemCadCuttingRow& tier = *tiers[static_cast<std::size_t>(i)];
    const int line = top + (i + 2) * row;
    add(tier.name, textLeft, line);
    add(FormatFixed(tier.slope, 5, 2), textLeft + 3 * col, line);
    add(tier.indexes, textLeft + 7 * col, line);
  }
}

}  // namespace

namespace {

double StretchY(const SheetArea& area) { return area.toPrinter ? area.scaleX / area.scaleY : 1.0; }

}  // namespace

SheetLayout ImageLayout(const SheetArea& area) {
  SheetLayout layout;
  layout.pictures.push_back(
      {SheetPicture::Seen::CurrentView, area.x, area.y, area.x + area.w, area.y + area.h, StretchY(area)});
  return layout;
}

int SheetPictureWidth(int half, const SheetArea& area) {
  return area.toPrinter ? RoundSingle(half * area.scaleY / area.scaleX) : half;
}

SheetLayout DataSheetLayout(const SheetArea& area, const MasStep& crown, const MasStep& pavilion,
                            double refractiveIndex, const SlopeTolerances* tolerances) {
  SheetLayout layout;
  const int half = area.h / 2;
  const int pw = SheetPictureWidth(half, area);
  const int row = half / kLinesPerHalf;
  const int col = pw / (tolerances ? kColumnsWithTolerance : kLinesPerHalf);
  const int textLeft = area.x + pw;
  layout.texts.push_back({"RI = " + FormatFixed(refractiveIndex, 4, 2), area.x + col, area.y, std::max(1, row)});
  for (int k = 0; k < 2; ++k) {
    const int top = area.y + k * half;
    const std::vector<std::optional<double>>* column =
        tolerances ? (k == 0 ? &tolerances->crown : &tolerances->pavilion) : nullptr;
    AddStepTable(layout, k == 0 ? crown : pavilion, top, half, textLeft, col, column);
    layout.pictures.push_back({k == 0 ? SheetPicture::Seen::FromFront : SheetPicture::Seen::FromBelow, area.x,
                               top + row, textLeft - col, top + half, StretchY(area)});
  }
  return layout;
}

SheetLayout GemCadSheetLayout(const SheetArea& area, const std::vector<GemCadCuttingRow>& tiers,
                              double refractiveIndex) {
  SheetLayout layout;
  const int half = area.h / 2;
  const int pw = SheetPictureWidth(half, area);
  const int row = half / kLinesPerHalf;
  const int col = pw / kLinesPerHalf;
  const int textLeft = area.x + pw;
  layout.texts.push_back({"RI = " + FormatFixed(refractiveIndex, 4, 2), area.x + col, area.y, std::max(1, row)});
  for (int k = 0; k < 2; ++k) {
    const int top = area.y + k * half;
    std::vector<const GemCadCuttingRow*> side;
    for (const GemCadCuttingRow& tier : tiers) {
      if (tier.crown == (k == 0)) side.push_back(&tier);
    }
    AddTierTable(layout, side, top, half, textLeft, col);
    layout.pictures.push_back({k == 0 ? SheetPicture::Seen::FromFront : SheetPicture::Seen::FromBelow, area.x,
                               top + row, textLeft - col, top + half, StretchY(area)});
  }
  return layout;
}

}  // namespace brillora
