// One design as the gallery summarises it, checked against what the file
// says, a stone worked by hand and the analysis run on its own; and the files
// a folder lists.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/light_figures.h"
#include "analysis/stone_symmetry.h"
#include "gallery/design_summary.h"
#include "gallery/gallery_descriptions.h"
#include "gallery/gallery_listing.h"
#include "io/design_file.h"
#include "io/gemcad_file.h"
#include "model/facet_construction.h"
#include "model/gemcad_design.h"

namespace brillora {
namespace {

namespace fs = std::filesystem;
const fs::path kSamples = fs::path(BRILLORA_SOURCE_DIR) / "GEM_DAT";
constexpr int kSize = 64;

// A square stone worked out by hand: four pavilion facets at 45 degrees
// meeting in a point, four girdle facets, four crown facets at 45 degrees
// and the table: 13 facets, four-fold and mirrored.
constexpr const char* kSquareStone =
    "GemCad 5.0\n"
    "g 96 0.0\n"
    "y 4 y\n"
    "I 1.760\n"
    "a -45 0.70710678118654752 0 24 48 72\n"
    "a 90 1 0 24 48 72\n"
    "a 45 1.06066017177982128 0 24 48 72\n"
    "a 0 1 0\n";

class GalleryFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "brillora-gallery-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path Write(const std::string& name, const std::string& text) {
    std::ofstream(folder_ / name, std::ios::binary) << text;
    return folder_ / name;
  }
  fs::path folder_;
};

// The light returned face up, traced over the sector that the stone's
// symmetry repeats instead of over the whole view.
double IsoBySymmetry(const Stone& stone, double refractiveIndex) {
  LightAnalyzer analyzer;
  AnalysisSettings settings;
  settings.RefractiveIndex = refractiveIndex;
  return analyzer.Analyze(stone, IdentityFrame(), settings, FindSymmetry(stone)).Iso;
}

// The first number of the file's first line, "8 Order of Symmetry".
int SymmetryLine(const fs::path& file) {
  std::ifstream in(file);
  int order = 0;
  in >> order;
  return order;
}

TEST_F(GalleryFiles, ADesignOfTiersIsSummarisedAsItsFileAndTheAnalysisHaveIt) {
  const fs::path file = kSamples / "RoundBrilliant.brl";
  const DesignSummary summary = SummariseDesign(file, kSize);
  ASSERT_TRUE(summary.ok()) << summary.error;
  EXPECT_EQ(summary.name, "RoundBrilliant");
  EXPECT_EQ(summary.symmetry, SymmetryLine(file));
  EXPECT_FALSE(summary.mirror);
  // As the sample folder's README has it.
  EXPECT_EQ(summary.facets, 74u);

  const DesignReadResult read = OpenDesignFile(file);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(summary.refractiveIndex, read.refractiveIndex);
  Design design = read.design;
  const double iso = IsoBySymmetry(ConstructStone(design), read.refractiveIndex);
  EXPECT_NEAR(summary.iso, iso, 1e-6);
  EXPECT_GT(summary.iso, 0.5);  // a round brilliant in diamond returns most of its light
  EXPECT_FALSE(summary.isoCutShort);

  // The crown, drawn over the background that fills the corners.
  ASSERT_EQ(summary.thumbnail.size(), QSize(kSize, kSize));
  EXPECT_NE(summary.thumbnail.pixel(kSize / 2, kSize / 2), summary.thumbnail.pixel(0, 0));
  EXPECT_EQ(summary.thumbnail.pixel(0, 0), summary.thumbnail.pixel(kSize - 1, kSize - 1));
}

TEST_F(GalleryFiles, AGemCadDesignIsSummarisedFromItsStone) {
  const fs::path file = Write("Square.asc", kSquareStone);
  const DesignSummary summary = SummariseDesign(file, kSize);
  ASSERT_TRUE(summary.ok()) << summary.error;
  EXPECT_EQ(summary.name, "Square");
  EXPECT_EQ(summary.symmetry, 4);
  EXPECT_TRUE(summary.mirror);
  EXPECT_EQ(summary.facets, 13u);
  EXPECT_DOUBLE_EQ(summary.refractiveIndex, 1.76);
  const GemCadReadResult read = ReadGemCadFile(file);
  ASSERT_TRUE(read.ok());
  EXPECT_NEAR(summary.iso, IsoBySymmetry(GemCadStone(read.design), 1.76), 1e-6);
  EXPECT_FALSE(summary.thumbnail.isNull());
}

TEST_F(GalleryFiles, AFileThatGivesNoStoneIsSummarisedWithTheReason) {
  const DesignSummary garbled = SummariseDesign(Write("Garbled.brl", "8 Order of Symmetry\nnonsense\n"), kSize);
  EXPECT_EQ(garbled.error, kInvalidFileFormat);
  EXPECT_EQ(garbled.name, "Garbled");
  EXPECT_TRUE(garbled.thumbnail.isNull());

  const DesignSummary notGemCad = SummariseDesign(Write("Notes.asc", "Hello\n"), kSize);
  EXPECT_NE(notGemCad.error.find("begins with"), std::string::npos) << notGemCad.error;

  // A crown alone encloses nothing.
  const DesignSummary open = SummariseDesign(Write("Open.asc", "GemCad 5.0\ng 96 0\na 40 1 0 24 48 72\n"), kSize);
  EXPECT_FALSE(open.ok());
  EXPECT_EQ(open.facets, 0u);

  const DesignSummary missing = SummariseDesign(folder_ / "Gone.brl", kSize);
  EXPECT_FALSE(missing.ok());
}

TEST_F(GalleryFiles, AFolderListsItsDesignsByNameWhateverTheCase) {
  Write("b.brl", "");
  Write("A.TXT", "");
  Write("c.asc", "");
  Write("picture.png", "");
  Write("README.md", "");
  fs::create_directory(folder_ / "d.brl");  // a folder, not a design
  const GalleryListing listing = ListGalleryFolder(folder_);
  EXPECT_TRUE(listing.error.empty());
  EXPECT_FALSE(listing.moreLeftOut);
  const std::vector<fs::path> expected{folder_ / "A.TXT", folder_ / "b.brl", folder_ / "c.asc"};
  EXPECT_EQ(listing.files, expected);

  EXPECT_FALSE(ListGalleryFolder(folder_ / "none").error.empty());
}

// The rows of a README's tables that name a design file give its
// description; headers, rules, prose and other files' rows give none.
TEST_F(GalleryFiles, AReadmeDescribesTheDesignsItsTablesName) {
  EXPECT_TRUE(ReadGalleryDescriptions(folder_).empty());
  Write("README.md",
        "# Designs\n"
        "| Not | a row\n"
        "| File | Symmetry | What it shows |\n"
        "|---|---|---|\n"
        "| Round.brl | 8 | a round brilliant |\r\n"
        "  |  Square.asc|4|  a square, from GemCad  |\n"
        "| Blank.brl | 8 | |\n"
        "| Alone.brl |\n"
        "| notes.odt | 1 | not a design |\n"
        "| sub/Deep.brl | 3 | in another folder |\n");
  const std::map<std::string, std::string> expected{{"Round.brl", "a round brilliant"},
                                                    {"Square.asc", "a square, from GemCad"}};
  EXPECT_EQ(ReadGalleryDescriptions(folder_), expected);

  // Every sample design is described.
  const std::map<std::string, std::string> samples = ReadGalleryDescriptions(kSamples);
  for (const fs::path& design : ListGalleryFolder(kSamples).files) {
    EXPECT_EQ(samples.count(design.filename().string()), 1u) << design;
  }
  EXPECT_EQ(samples.at("RoundBrilliant.brl"), "the classic round brilliant as closely as tiers allow");
}

TEST_F(GalleryFiles, AHugeFolderListsItsFirstDesignsOnly) {
  for (std::size_t i = 0; i <= kGalleryMostDesigns; ++i) {
    std::ostringstream name;
    name << 'd' << 10000 + i << ".brl";
    Write(name.str(), "");
  }
  const GalleryListing listing = ListGalleryFolder(folder_);
  ASSERT_EQ(listing.files.size(), kGalleryMostDesigns);
  EXPECT_TRUE(listing.moreLeftOut);
  EXPECT_EQ(listing.files.front().filename(), "d10000.brl");
}

}  // namespace
}  // namespace brillora
