#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "output/page_geometry.h"
#include "output/print_layout.h"
#include "output/sheet_layout.h"

namespace brillora {
namespace {

// A step array of n tiers between the table (or culet) and the placeholder.
MasStep Steps(int n) {
  MasStep steps(static_cast<std::size_t>(n + 2));
  for (int i = 1; i <= n; ++i) {
    TStep& s = steps[static_cast<std::size_t>(i)];
    s.Angle = 40 + i * 0.25;
    s.Split = i % 3;
    s.Shift = -i;
    s.Posit = 0.5;
    s.Auto = i == 2;
  }
  return steps;
}

const SheetText* Find(const SheetLayout& layout, const std::string& text, int y) {
  const auto found = std::find_if(layout.texts.begin(), layout.texts.end(),
                                  [&](const SheetText& t) { return t.text == text && t.y == y; });
  return found == layout.texts.end() ? nullptr : &*found;
}

// A4 portrait: 210 x 297 mm at 600 dots per inch.
constexpr PrinterMetrics kA4{600, 600, 4961, 7016};

TEST(SheetLayout, ToleranceColumnOnlyWhenAsked) {
  const SheetArea area{0, 0, 400, 400, false, 1, 1};
  const SheetLayout plain = DataSheetLayout(area, Steps(3), Steps(2), 2.42);
  SlopeTolerances tolerances{std::vector<std::optional<double>>(5), std::vector<std::optional<double>>(4)};
  tolerances.crown[1] = -0.0123;
  tolerances.crown[3] = -1.5;  // the Auto step 2 has none
  tolerances.pavilion[1] = -0.25;
  const SheetLayout with = DataSheetLayout(area, Steps(3), Steps(2), 2.42, &tolerances);
  const auto count = [](const SheetLayout& layout, const std::string& text) {
    return std::count_if(layout.texts.begin(), layout.texts.end(), [&](const SheetText& t) { return t.text == text; });
  };
  EXPECT_EQ(count(plain, "\u00b10.1\u00b0"), 0);
  EXPECT_EQ(count(with, "\u00b10.1\u00b0"), 2);  // a heading on each half
  EXPECT_EQ(with.texts.size(), plain.texts.size() + 2 + 3);
  // Each value on its step's line, right of every other column.
  const auto line = [](const SheetLayout& layout, const std::string& text) {
    const auto t = std::find_if(layout.texts.begin(), layout.texts.end(),
                                [&](const SheetText& s) { return s.text.find(text) != std::string::npos; });
    return t == layout.texts.end() ? nullptr : &*t;
  };
  const SheetText* value = line(with, "-1.5");
  const auto a = std::find_if(with.texts.begin(), with.texts.end(), [](const SheetText& t) { return t.text == "A"; });
  ASSERT_NE(a, with.texts.end());
  const SheetText* auto2 = &*a;
  ASSERT_NE(value, nullptr);
  EXPECT_GT(value->x, auto2->x);
  ASSERT_NE(line(with, "-0.012"), nullptr);
  EXPECT_LT(line(with, "-0.012")->y, auto2->y);
  EXPECT_EQ(plain.pictures.size(), with.pictures.size());
}

TEST(SheetLayout, PreviewOfThreeHundredPixels) {
  const SheetArea area{0, 0, 300, 300, false, 0.05, 0.05};
  const SheetLayout layout = DataSheetLayout(area, Steps(3), Steps(1), 2.417);
  // half 150, row 9, col 9: a 9-pixel font, each picture 150 wide less one column.
  ASSERT_EQ(layout.pictures.size(), 2u);
  const SheetPicture& crown = layout.pictures[0];
  const SheetPicture& pavilion = layout.pictures[1];
  EXPECT_EQ(crown.seen, SheetPicture::Seen::FromFront);
  EXPECT_EQ(pavilion.seen, SheetPicture::Seen::FromBelow);
  EXPECT_EQ(crown.left, 0);
  EXPECT_EQ(crown.top, 9);
  EXPECT_EQ(crown.right, 150 - 9);
  EXPECT_EQ(crown.bottom, 150);
  EXPECT_EQ(crown.stretchY, 1.0);
  EXPECT_EQ(pavilion.top, 159);
  EXPECT_EQ(pavilion.bottom, 300);
  for (const SheetText& t : layout.texts) EXPECT_EQ(t.fontHeight, 9) << t.text;
  ASSERT_NE(Find(layout, "RI = 2.42", 0), nullptr);
  EXPECT_EQ(Find(layout, "RI = 2.42", 0)->x, 9);
  // Headings on the second line of each half, at their columns right of the picture.
  const int textLeft = 150;
  const std::pair<const char*, int> headings[] = {{"Angle", 1}, {"Split", 4}, {"Shift", 7}, {"Position", 10}, {"Auto", 14}};
  for (const auto& [name, column] : headings) {
    for (int top : {0, 150}) {
      const SheetText* heading = Find(layout, name, top + 9);
      ASSERT_NE(heading, nullptr) << name << " " << top;
      EXPECT_EQ(heading->x, textLeft + column * 9);
    }
  }
  // Crown step 2: number, angle, split, shift, position and the Auto letter.
  const int line = 3 * 9;
  EXPECT_EQ(Find(layout, "2", line)->x, textLeft);
  EXPECT_EQ(Find(layout, "40.50", line)->x, textLeft + 9);
  const auto splitShown = std::count_if(layout.texts.begin(), layout.texts.end(), [&](const SheetText& t) {
    return t.text == "2" && t.y == line && t.x == textLeft + 5 * 9;
  });
  EXPECT_EQ(splitShown, 1);
  EXPECT_EQ(Find(layout, "-2", line)->x, textLeft + 8 * 9);
  EXPECT_EQ(Find(layout, "0.50", line)->x, textLeft + 11 * 9);
  EXPECT_EQ(Find(layout, "A", line)->x, textLeft + 15 * 9);
  EXPECT_EQ(Find(layout, "A", 2 * 9), nullptr);  // step 1 is not Auto
}

TEST(SheetLayout, OneStepPavilionPrintsOneRow) {
  const SheetLayout layout = DataSheetLayout({0, 0, 320, 320, false, 1, 1}, Steps(2), Steps(1), 1.5);
  // Pavilion half from 160: headings at 170, its one step at 180, nothing below.
  int below = 0;
  for (const SheetText& t : layout.texts) {
    if (t.y > 180) ++below;
  }
  EXPECT_EQ(below, 0);
  EXPECT_NE(Find(layout, "1", 180), nullptr);
  EXPECT_NE(Find(layout, "40.25", 180), nullptr);
  EXPECT_EQ(Find(layout, "2", 190), nullptr);
}

TEST(SheetLayout, UnequalResolutionsKeepPicturesSquareOnPaper) {
  // Twice as many dots down as across: a printer pixel is half as tall as wide.
  const PageGeometry page = PBAlign({300, 600, 2480, 7016}, 337);
  EXPECT_DOUBLE_EQ(page.scaleX, 2 * page.scaleY);
  const SheetLayout layout = DataSheetLayout({0, 0, 3200, 6400, true, page.scaleX, page.scaleY}, Steps(1), Steps(1), 1.5);
  const SheetPicture& p = layout.pictures[0];
  EXPECT_EQ(2 * (p.right - p.left), p.bottom - p.top);
  // The stone drawn into it is stretched down to stay round on paper.
  EXPECT_DOUBLE_EQ(p.stretchY, 2.0);
  // On the preview the same half gives a picture as wide as the half.
  EXPECT_EQ(SheetPictureWidth(3200, {0, 0, 3200, 6400, false, page.scaleX, page.scaleY}), 3200);
}

TEST(SheetLayout, LongTableShrinksToItsHalf) {
  const SheetLayout layout = DataSheetLayout({0, 0, 320, 320, false, 1, 1}, Steps(30), Steps(2), 1.5);
  for (const SheetText& t : layout.texts) {
    if (t.y == 0) continue;  // the index
    // Crown rows end before the pavilion half begins at 160.
    if (t.x >= 160 && t.y < 160) {
      EXPECT_LE(t.y + t.fontHeight, 160) << t.text;
      EXPECT_EQ(t.fontHeight, 160 / 32);
    }
  }
  EXPECT_NE(Find(layout, "30", 31 * 5), nullptr);
  // The pavilion keeps the full line.
  EXPECT_NE(Find(layout, "Angle", 170), nullptr);
}

TEST(PageGeometry, A4PreviewAndFirstSquare) {
  const PageGeometry page = PBAlign(kA4, 337);
  EXPECT_EQ(page.width, 238);
  EXPECT_EQ(page.height, 337);
  // 337 preview pixels span 297 mm.
  EXPECT_NEAR(page.cmPerPixel * 337, 2.54 * 7016 / 600, 1e-9);
  const PageRect first = DefaultRect(page.width, page.height);
  EXPECT_EQ(first, (PageRect{24, 34, 214, 224}));
  // A landscape page is too low for the square across: it takes 80 % of the height.
  const PageRect wide = DefaultRect(400, 200);
  EXPECT_EQ(wide, (PageRect{40, 20, 200, 180}));
}

TEST(PrintLayout, EdgesAndFrameStopAtTheirLimits) {
  const PageRect r{20, 30, 120, 130};
  // Top dragged below the bottom stops 5 pixels above it.
  EXPECT_EQ(Dragged(r, 1, 0, 500, 238, 337).top, 125);
  EXPECT_EQ(Dragged(r, 0, -100, -100, 238, 337), (PageRect{0, 0, 120, 130}));
  EXPECT_EQ(Dragged(r, 8, 500, 500, 238, 337), (PageRect{20, 30, 238, 337}));
  EXPECT_EQ(Dragged(r, 3, 200, 7, 238, 337), (PageRect{115, 30, 120, 130}));
  // The whole frame shrinks where it meets the border.
  EXPECT_EQ(Dragged(r, 4, 150, 0, 238, 337), (PageRect{170, 30, 238, 130}));
  EXPECT_EQ(Dragged(r, 4, -30, -40, 238, 337), (PageRect{0, 0, 90, 90}));
}

TEST(PrintLayout, ZonesSplitTheFrameInQuarters) {
  // A 100 x 80 frame: columns up to 25, above 75; rows up to 20, above 60.
  EXPECT_EQ(Zone(25, 20, 100, 80), 0);
  EXPECT_EQ(Zone(26, 20, 100, 80), 1);
  EXPECT_EQ(Zone(76, 10, 100, 80), 2);
  EXPECT_EQ(Zone(10, 40, 100, 80), 3);
  EXPECT_EQ(Zone(50, 60, 100, 80), 4);
  EXPECT_EQ(Zone(75, 61, 100, 80), 7);
  EXPECT_EQ(Zone(99, 79, 100, 80), 8);
}

TEST(PrintLayout, MarginFieldsLeaveRoomForTheContent) {
  const Margins m{10, 10, 10, 45};
  EXPECT_DOUBLE_EQ(AppliedField(LayoutField::Top, 60, 10, m).top, 53);
  EXPECT_DOUBLE_EQ(AppliedField(LayoutField::Left, 95, 10, m).left, 88);
  EXPECT_DOUBLE_EQ(AppliedField(LayoutField::Bottom, 20, 45, m).bottom, 20);
  EXPECT_DOUBLE_EQ(AppliedField(LayoutField::Right, -3, 10, m).right, 0);
  // Width grown from 80 to 90 with both side margins open: 5 from each side.
  const Margins grown = AppliedField(LayoutField::Width, 90, 80, m);
  EXPECT_DOUBLE_EQ(grown.left, 5);
  EXPECT_DOUBLE_EQ(grown.right, 5);
  // Width grown with the left margin closed: the whole excess from each side.
  const Margins oneSide = AppliedField(LayoutField::Width, 90, 80, {10, 0, 20, 10});
  EXPECT_DOUBLE_EQ(oneSide.left, 0);
  EXPECT_DOUBLE_EQ(oneSide.right, 10);
  // Height shrunk from 80 to 60: 10 more on top and bottom.
  const Margins shrunk = AppliedField(LayoutField::Height, 60, 80, {10, 10, 10, 10});
  EXPECT_DOUBLE_EQ(shrunk.top, 20);
  EXPECT_DOUBLE_EQ(shrunk.bottom, 20);
  EXPECT_EQ(RectFromMargins({10, 10, 10, 45}, 238, 337), (PageRect{24, 34, 214, 185}));
  EXPECT_EQ(RectFromMarginsResized({10, 10, 10, 45}, 238, 337), (PageRect{24, 34, 214, 185}));
}

TEST(PrintLayout, CentringAndTheFieldsShown) {
  EXPECT_EQ(Centered({20, 10, 200, 50}, 300, 100, true, false), (PageRect{60, 10, 240, 50}));
  EXPECT_EQ(Centered({20, 10, 200, 50}, 300, 100, false, true), (PageRect{20, 30, 200, 70}));
  const PageGeometry page = PBAlign(kA4, 337);
  const LayoutView v = ViewOf({24, 34, 214, 224}, page);
  EXPECT_NEAR(v.width, 190.0 / 238 * 100, 1e-9);
  EXPECT_NEAR(v.margins.bottom, 113.0 / 337 * 100, 1e-9);
  // 190 preview pixels of 297 mm / 337 are 16.7 cm.
  EXPECT_EQ(v.widthCm, "16.7");
  EXPECT_EQ(v.topCm, " 3.0");
}

TEST(PrintLayout, OkPrintsTheRectangleInPrinterPixels) {
  const PageGeometry page = PBAlign(kA4, 337);
  const SheetArea area = PrinterArea({24, 34, 214, 224}, page);
  // 7016 / 337 printer pixels per preview pixel each way.
  const double k = 7016.0 / 337;
  EXPECT_EQ(area.x, static_cast<int>(std::lround(24 * k)));
  EXPECT_EQ(area.y, static_cast<int>(std::lround(34 * k)));
  EXPECT_EQ(area.w, static_cast<int>(std::lround(190 * k)));
  EXPECT_TRUE(area.toPrinter);
}

TEST(PrintLayout, ResizeScalesThePageUniformly) {
  // Grown by as much across as the page's proportions ask: both follow.
  const WindowSize grown = UniformResize({400, 400}, {438, 537}, 238, 337);
  const double t = (38.0 * 238 + 137.0 * 337) / (238.0 * 238 + 337.0 * 337);
  EXPECT_EQ(grown.height, 400 + static_cast<int>(std::lround(337 * t)));
  EXPECT_EQ(grown.width, 400 + static_cast<int>(std::lround(238 * t)));
  // Shrunk below the floor: the client is 353 high and the width stays.
  EXPECT_EQ(UniformResize({400, 360}, {300, 200}, 238, 337), (WindowSize{400, 353}));
}

}  // namespace
}  // namespace brillora
