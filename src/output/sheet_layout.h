#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/design.h"
#include "output/gemcad_cutting_table.h"

namespace brillora {

// What the printed page holds: the data sheet ("Data") or the image alone.
enum class ContentKind { DataSheet, Image };

// Where the content goes, in pixels of the device drawn on.
struct SheetArea {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool toPrinter = false;
  double scaleX = 1.0;  // preview pixels per printer pixel, across and down
  double scaleY = 1.0;
};

// A picture of the stone in a rectangle that holds both of its edges.
struct SheetPicture {
  enum class Seen { CurrentView, FromFront, FromBelow };
  Seen seen = Seen::CurrentView;
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  // Pixels down per pixel across of the same length on paper: 2 on a printer
  // with twice as many dots down as across, so that the stone stays round.
  double stretchY = 1.0;
};

// A text written with its top-left corner at (x, y) in a font this many pixels high.
struct SheetText {
  std::string text;
  int x = 0;
  int y = 0;
  int fontHeight = 1;
};

// What a cutting error of 0.1 degree in each step's slope costs, as the
// change in merit in per cent (the worse of the two directions), by element
// of each side's step array; nothing for a step whose slope is derived.
struct SlopeTolerances {
  std::vector<std::optional<double>> crown;
  std::vector<std::optional<double>> pavilion;
};

struct SheetLayout {
  std::vector<SheetPicture> pictures;
  std::vector<SheetText> texts;
};

// The image: the current view filling the area.
SheetLayout ImageLayout(const SheetArea& area);

// The data sheet: the crown in the upper half, the pavilion in the lower, each
// a picture beside the table of its steps (elements 1 .. n of the step array;
// the table and culet element and the placeholder are not printed). A half
// whose table would run past its sixteen lines gets a smaller font and line.
// With tolerances, each step's line ends in a column "±0.1°" and the columns
// close up to make room for it.
SheetLayout DataSheetLayout(const SheetArea& area, const MasStep& crown, const MasStep& pavilion,
                            double refractiveIndex, const SlopeTolerances* tolerances = nullptr);

// The data sheet of a GemCad design that is not made of steps: as above, but
// each half's table lists the tiers of its side as a GemCad cutter reads
// them, name, slope and gear positions, one line each.
SheetLayout GemCadSheetLayout(const SheetArea& area, const std::vector<GemCadCuttingRow>& tiers,
                              double refractiveIndex);

// The width of each data sheet picture for a half of that height: on a printer
// whose resolutions differ, fewer or more pixels across, so that it is square on paper.
int SheetPictureWidth(int half, const SheetArea& area);

}  // namespace brillora
