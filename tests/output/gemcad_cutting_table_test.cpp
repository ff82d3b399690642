#include <gtest/gtest.h>

#include <algorithm>

#include "output/gemcad_cutting_table.h"
#include "output/sheet_layout.h"

namespace brillora {
namespace {

GemCadTier Tier(double angle, std::vector<GemCadFacet> facets) { return {angle, 1.0, std::move(facets), ""}; }

TEST(GemCadCuttingTable, TiersReadAsACutterReadsThem) {
  GemCadDesign design;
  design.gearTeeth = 120;
  design.tiers = {Tier(-41.5, {{5, "P"}, {65, ""}}), Tier(-0.0, {{0, ""}}), Tier(90, {{7.5, ""}, {67.5, "G"}}),
                  Tier(30, {{0, ""}, {60, ""}}), Tier(0, {{0, "T"}})};
  const std::vector<GemCadCuttingRow> rows = GemCadCuttingRows(design);
  ASSERT_EQ(rows.size(), 5u);
  // A 120-tooth gear's positions take three digits; a named tier keeps the
  // first name among its facets, the others are counted side by side.
  EXPECT_FALSE(rows[0].crown);
  EXPECT_EQ(rows[0].name, "P");
  EXPECT_EQ(rows[0].slope, 41.5);
  EXPECT_EQ(rows[0].indexes, "005-065");
  EXPECT_FALSE(rows[1].crown);  // the culet, at -0
  EXPECT_EQ(rows[1].name, "P2");
  EXPECT_EQ(rows[1].indexes, "000");
  EXPECT_TRUE(rows[2].crown);
  EXPECT_EQ(rows[2].name, "G");
  EXPECT_EQ(rows[2].indexes, "7.5-67.5");
  EXPECT_EQ(rows[3].name, "C2");
  EXPECT_EQ(rows[4].name, "T");
  EXPECT_EQ(rows[4].slope, 0.0);
}

TEST(GemCadCuttingTable, TheSheetListsEachSideBesideItsPicture) {
  GemCadDesign design;
  design.tiers = {Tier(-43, {{0, "P1"}, {48, ""}}), Tier(35, {{3, ""}, {93, ""}}), Tier(0, {{0, "T"}})};
  const SheetLayout layout = GemCadSheetLayout({0, 0, 640, 960}, GemCadCuttingRows(design), 1.76);
  const auto at = [&](const std::string& text) {
    const auto found = std::find_if(layout.texts.begin(), layout.texts.end(),
                                    [&](const SheetText& t) { return t.text == text; });
    return found == layout.texts.end() ? SheetText{"", -1, -1, 0} : *found;
  };
  // Lines of 480 / 16 = 30 pixels; the headings on the second line of each
  // half, the tiers from the third, beside a picture 480 wide.
  EXPECT_EQ(at("RI = 1.76").y, 0);
  EXPECT_EQ(at("C1").y, 60);
  EXPECT_EQ(at("03-93").y, 60);
  EXPECT_EQ(at("T").y, 90);
  EXPECT_EQ(at("P1").y, 480 + 60);
  EXPECT_EQ(at("00-48").y, 480 + 60);
  EXPECT_EQ(at("43.00").y, 480 + 60);
  EXPECT_EQ(at("P1").x, 480);
  EXPECT_EQ(layout.pictures.size(), 2u);
  EXPECT_EQ(layout.pictures[1].seen, SheetPicture::Seen::FromBelow);
}

TEST(GemCadCuttingTable, ManyTiersShrinkTheLines) {
  GemCadDesign design;
  for (int i = 0; i < 40; ++i) design.tiers.push_back(Tier(20 + i, {{0, ""}}));
  const SheetLayout layout = GemCadSheetLayout({0, 0, 640, 960}, GemCadCuttingRows(design), 1.54);
  const auto last = std::find_if(layout.texts.begin(), layout.texts.end(),
                                 [](const SheetText& t) { return t.text == "C40"; });
  ASSERT_NE(last, layout.texts.end());
  EXPECT_LT(last->y + last->fontHeight, 480);  // the crown's half holds all 40
}

}  // namespace
}  // namespace brillora
