// GemCad text designs: the lines read as described, a design of our own whose
// corners are worked out by hand imports to them, every sample and random
// designs come back as the same stone, and hostile files get a message.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>

#include "io/design_file.h"
#include "io/gemcad_file.h"
#include "model/gemcad_design.h"
#include "model/step_editor.h"
#include "params/weight.h"
#include "support/halfspace_clip.h"
#include "support/random_design.h"
#include "support/square_gemcad.h"
#include "support/stone_checks.h"
#include "support/trial_count.h"

namespace brillora {
namespace {

const std::filesystem::path kSamples = std::filesystem::path(BRILLORA_SOURCE_DIR) / "GEM_DAT";

constexpr const char* kSquareStone = testing::kSquareGemCadStone;

TEST(GemCadFile, LinesReadAsDescribed) {
  const GemCadReadResult r = ReadGemCadText(kSquareStone);
  ASSERT_TRUE(r.ok()) << r.error;
  const GemCadDesign& d = r.design;
  EXPECT_EQ(d.gearTeeth, 96);
  EXPECT_EQ(d.symmetry, 4);
  EXPECT_TRUE(d.mirror);
  EXPECT_DOUBLE_EQ(d.refractiveIndex, 1.76);
  EXPECT_EQ(d.headings, (std::vector<std::string>{"A square stone", "worked out by hand"}));
  EXPECT_EQ(d.footnotes, (std::vector<std::string>{"footnote one"}));
  ASSERT_EQ(d.tiers.size(), 4u);
  EXPECT_EQ(d.tiers[0].instruction, "cut the pavilion first");
  EXPECT_EQ(d.tiers[0].facets[3].name, "P1");
  // The girdle goes on over two lines without a keyword.
  ASSERT_EQ(d.tiers[1].facets.size(), 4u);
  EXPECT_EQ(d.tiers[1].facets[0].name, "G1");
  EXPECT_EQ(d.tiers[1].facets[2].index, 48);
  EXPECT_EQ(d.tiers[1].facets[2].name, "G3");
  EXPECT_EQ(d.tiers[1].facets[3].index, 72);
  EXPECT_DOUBLE_EQ(d.tiers[0].angle, -45);

  // A fractional index: 12.5 teeth of 96 turn 46.875 degrees from +y toward +x.
  const GemCadReadResult f = ReadGemCadText("GemCad 5.0\ng 96 0\na 30 1 12.5\n");
  ASSERT_TRUE(f.ok()) << f.error;
  const TFacet plane = GemCadPlane(f.design.tiers[0], f.design.tiers[0].facets[0].index, 96);
  const double turn = 46.875 * M_PI / 180;
  EXPECT_NEAR(plane.Nx, 0.5 * std::sin(turn), 1e-15);
  EXPECT_NEAR(plane.Ny, 0.5 * std::cos(turn), 1e-15);
  EXPECT_NEAR(plane.Nz, std::sqrt(3.0) / 2, 1e-15);
}

TEST(GemCadFile, AHandWorkedStoneImportsToItsCorners) {
  const GemCadReadResult r = ReadGemCadText(kSquareStone);
  ASSERT_TRUE(r.ok()) << r.error;
  const Stone stone = GemCadStone(r.design);
  Stone expected;
  for (double x : {-0.5, 0.5}) {
    for (double y : {-0.5, 0.5}) expected.AllVertices.push_back({x, y, 1});
  }
  for (double z : {0.5, 0.0}) {
    for (double x : {-1.0, 1.0}) {
      for (double y : {-1.0, 1.0}) expected.AllVertices.push_back({x, y, z});
    }
  }
  expected.AllVertices.push_back({0, 0, -1});
  EXPECT_EQ(stone.AllVertices.size(), 13u);
  EXPECT_EQ(testing::Unmatched(stone, expected, 1e-12), 0);
  EXPECT_EQ(stone.AllFacets.size(), 13u);
  EXPECT_NEAR(SixfoldVolume(stone) / 6.0, 4.5, 1e-12);
  EXPECT_EQ(testing::SurfaceFault(stone), "");
}

// A gear counted negative is indexed the other way round: index 24 of 96
// faces -x instead of +x, so a design without symmetry becomes its mirror
// image, and the count is written back as it was read.
TEST(GemCadFile, AGearCountedBackwardsMirrorsTheStone) {
  const auto design = [](const char* gear) {
    return ReadGemCadText(std::string("GemCad 5.0\n") + gear +
                          "y 1 n\na -42 0.7 0 20 45 70\na 90 1 0 10 30 50 70 85\na 40 1 5 25 55 80\na 0 0.9 0\n");
  };
  const GemCadReadResult forwards = design("g 96 0\n");
  const GemCadReadResult backwards = design("g -96 0\n");
  ASSERT_TRUE(forwards.ok()) << forwards.error;
  ASSERT_TRUE(backwards.ok()) << backwards.error;
  const TFacet east = GemCadPlane(backwards.design.tiers[1], 24, backwards.design.gearTeeth);
  EXPECT_NEAR(east.Nx, -1.0, 1e-15);
  EXPECT_NEAR(east.Ny, 0.0, 1e-15);

  const Stone stone = GemCadStone(backwards.design);
  Stone mirrored = GemCadStone(forwards.design);
  ASSERT_FALSE(mirrored.AllVertices.empty());
  for (TVertex& v : mirrored.AllVertices) v.x = -v.x;
  EXPECT_EQ(stone.AllVertices.size(), mirrored.AllVertices.size());
  EXPECT_EQ(testing::Unmatched(stone, mirrored, 1e-12), 0);
  EXPECT_GT(testing::Unmatched(stone, GemCadStone(forwards.design), 1e-6), 0);  // no symmetry of its own hides the mirror

  const std::string text = GemCadText(backwards.design);
  EXPECT_NE(text.find("g -96 "), std::string::npos) << text;
  const GemCadReadResult again = ReadGemCadText(text);
  ASSERT_TRUE(again.ok()) << again.error;
  EXPECT_EQ(again.design.gearTeeth, -96);
}

// A design written as GemCad lines and read back gives the stone of the
// design's planes, cut from a box independently of the reader, and the one
// the desktop builds. The construction takes corners closer than its
// same-point distance as one (an Auto tier of Dodecagon12 meets its
// neighbours 1e-4 short of a point); there the planes' own stone keeps them
// apart, and the two agree only to that distance.
void ExpectRoundTrip(const Design& design, const std::string& what) {
  EditorObserver quiet;
  const StepEditor editor(design, quiet);
  const Stone& built = *editor.State().stone;
  const Design planes = editor.CurrentDesign();
  const std::string text = GemCadText(GemCadOf(planes, 1.54, what));
  const GemCadReadResult read = ReadGemCadText(text);
  ASSERT_TRUE(read.ok()) << what << ": " << read.error;
  const Stone imported = GemCadStone(read.design);
  const testing::ClippedSolid exact = testing::ClipBox(testing::PlanesOf(planes));
  Stone corners;
  corners.AllVertices = exact.vertices;
  EXPECT_EQ(testing::Unmatched(imported, corners, 1e-6), 0) << what << "\n" << text;
  EXPECT_NEAR(SixfoldVolume(imported) / 6.0, exact.volume, 1e-7 * exact.volume) << what;
  const bool everyCorner = built.AllVertices.size() == imported.AllVertices.size();
  EXPECT_EQ(testing::Unmatched(built, imported, everyCorner ? 1e-6 : 2e-4), 0) << what;
}

TEST(GemCadFile, EverySampleComesBackAsTheSameStone) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kSamples)) {
    if (entry.path().extension() != ".brl") continue;
    ++files;
    const DesignReadResult read = OpenDesignFile(entry.path());
    ASSERT_TRUE(read.ok());
    ExpectRoundTrip(read.design, entry.path().filename().string());
  }
  EXPECT_GE(files, 40);
}

TEST(GemCadFile, RandomDesignsComeBackAsTheSameStone) {
  std::mt19937 random(17);
  int checked = 0;
  for (int n = 0; n < 400 && checked < testing::TrialCount(60); ++n) {
    const Design design = testing::RandomDesign(random, {.minSymOrder = 3});
    EditorObserver quiet;
    const StepEditor editor(design, quiet);
    const Stone& stone = *editor.State().stone;
    // Where the construction takes slivers' corners as one, the planes' own
    // intersection keeps them apart; such designs say nothing here.
    if (stone.AllFacets.empty() || !testing::SurfaceFault(stone).empty() ||
        !testing::WellConditioned(editor.CurrentDesign())) {
      continue;
    }
    ++checked;
    ExpectRoundTrip(design, "random design " + std::to_string(n));
    if (HasFailure()) return;
  }
  EXPECT_GE(checked, testing::TrialCount(60) / 2);
}

// A GemCad file keeps the very numbers of its tiers, so that the planes read
// back are those written and the stone the same to the last digit (nine
// decimals would move a plane by up to half a billionth).
TEST(GemCadFile, WrittenNumbersReadBackExactly) {
  std::mt19937 random(41);
  EditorObserver quiet;
  int checked = 0;
  for (int n = 0; n < 100; ++n) {
    const StepEditor editor(testing::RandomDesign(random), quiet);
    GemCadDesign written = GemCadOf(editor.CurrentDesign(), 1.5 + 1e-7 * n, "random");
    for (GemCadTier& tier : written.tiers) {
      if (!tier.facets.empty()) tier.facets.front().index += 0.1 * n;  // a fractional index as well
    }
    if (!GemCadBeyondBounds(written).empty()) continue;  // not written at all
    ++checked;
    const GemCadReadResult read = ReadGemCadText(GemCadText(written));
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.design.tiers.size(), written.tiers.size());
    EXPECT_EQ(read.design.refractiveIndex, written.refractiveIndex);
    for (std::size_t t = 0; t < written.tiers.size(); ++t) {
      EXPECT_EQ(read.design.tiers[t].angle, written.tiers[t].angle);
      EXPECT_EQ(std::signbit(read.design.tiers[t].angle), std::signbit(written.tiers[t].angle));
      EXPECT_EQ(read.design.tiers[t].distance, written.tiers[t].distance);
      for (std::size_t f = 0; f < written.tiers[t].facets.size(); ++f) {
        EXPECT_EQ(read.design.tiers[t].facets[f].index, written.tiers[t].facets[f].index);
      }
    }
    if (HasFailure()) return;
  }
  EXPECT_GT(checked, 50);
}

TEST(GemCadFile, HostileLinesGetAMessageNamingTheLine) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "empty"},
      {"Hello\n", "begins with"},
      {"GemCad 5.0\na 40 1 0\n", "no gear"},
      {"GemCad 5.0\ng 96 0\n", "no facets"},
      {"GemCad 5.0\ng 0 0\na 40 1 0\n", "line 2"},
      {"GemCad 5.0\ng 999999999999 0\na 40 1 0\n", "line 2"},
      {"GemCad 5.0\ng 96 0\na nan 1 0\n", "line 3"},
      {"GemCad 5.0\ng 96 0\na 40 inf 0\n", "line 3"},
      {"GemCad 5.0\ng 96 0\na 95 1 0\n", "slope"},
      {"GemCad 5.0\ng 96 0\na 40 1 1e400\n", "gear index"},
      {"GemCad 5.0\ng 96 0\na 40 1 n x\n", "name"},
      {"GemCad 5.0\ng 96 0\na 40 1 0 n\n", "name"},
      {"GemCad 5.0\ng 96 0\n7 8 9\n", "keyword"},
      {"GemCad 5.0\ng 96 0\ny 8 q\na 40 1 0\n", "mirror"},
      {"GemCad 5.0\ng 96 0\nI 0\na 40 1 0\n", "refractive"},
  };
  for (const auto& [text, words] : cases) {
    const GemCadReadResult r = ReadGemCadText(text);
    EXPECT_FALSE(r.ok()) << text;
    EXPECT_NE(r.error.find(words), std::string::npos) << text << " gave " << r.error;
  }
  // Counts are bounded before anything is kept for them.
  std::string many = "GemCad 5.0\ng 96 0\n";
  for (std::size_t t = 0; t <= kGemCadMaxTiers; ++t) many += "a 40 1 0\n";
  EXPECT_NE(ReadGemCadText(many).error.find("tiers"), std::string::npos);
  std::string wide = "GemCad 5.0\ng 96 0\na 40 1";
  for (std::size_t f = 0; f <= kGemCadMaxFacets; ++f) wide += " 1";
  EXPECT_NE(ReadGemCadText(wide).error.find("facets"), std::string::npos);
  EXPECT_FALSE(ReadGemCadText(std::string(kGemCadMaxBytes + 1, ' ')).ok());
  // Only regular files are read: a FIFO would be waited on for ever.
  EXPECT_NE(ReadGemCadFile("/dev/zero").error.find("regular"), std::string::npos);
  EXPECT_NE(ReadGemCadFile(kSamples).error.find("regular"), std::string::npos);
  // Planes that leave the stone open make no stone.
  const GemCadReadResult open = ReadGemCadText("GemCad 5.0\ng 96 0\na 40 1 0 24 48 72\n");
  ASSERT_TRUE(open.ok());
  EXPECT_TRUE(GemCadStone(open.design).AllFacets.empty());
}

// The writer's bounds are the reader's: a design within them is written and
// reads back, one beyond them is refused by both.
TEST(GemCadFile, TheWriterKeepsTheReadersBounds) {
  std::mt19937 random(1000);
  const auto near = [&](double bound) {
    return bound * std::uniform_real_distribution<double>(0.9, 1.1)(random) *
           (random() % 2 ? 1 : -1);
  };
  int within = 0, beyond = 0;
  for (int trial = 0; trial < 300; ++trial) {
    GemCadDesign d;
    d.gearTeeth = static_cast<int>(std::abs(near(kGemCadMaxTeeth)));
    d.symmetry = 1 + static_cast<int>(random() % 1100);
    d.refractiveIndex = std::uniform_real_distribution<double>(0.9, 11.0)(random);
    d.headings = {"bounds"};
    const std::size_t tiers = random() % 3 == 0 ? kGemCadMaxTiers + random() % 2 : 1 + random() % 8;
    const std::size_t facets = random() % 3 == 0 ? kGemCadMaxFacets / tiers + 1 : 1 + random() % 4;
    for (std::size_t t = 0; t < tiers; ++t) {
      GemCadTier tier;
      tier.angle = random() % 20 == 0 ? near(90) : 40.0;
      tier.distance = random() % 20 == 0 ? near(kGemCadMaxDistance) : 1.0;
      for (std::size_t f = 0; f < facets; ++f) {
        tier.facets.push_back({random() % 50 == 0 ? near(kGemCadMaxGearIndex) : static_cast<double>(f), "n"});
      }
      d.tiers.push_back(std::move(tier));
    }
    const bool written = GemCadBeyondBounds(d).empty();
    const GemCadReadResult read = ReadGemCadText(GemCadText(d));
    EXPECT_EQ(read.ok(), written) << GemCadBeyondBounds(d) << " / " << read.error;
    (written ? within : beyond) += 1;
  }
  EXPECT_GT(within, 30);
  EXPECT_GT(beyond, 30);
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "brillora-bounds.asc";
  GemCadDesign wide;
  wide.tiers.assign(kGemCadMaxTiers + 1, GemCadTier{40.0, 1.0, {{0.0, ""}}, ""});
  EXPECT_NE(WriteGemCadFile(file, wide).find("more than the 1000 of a GemCad design"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(file));
}

// Thousands of corrupted variants of valid GemCad files: each is read or
// refused with a message, and what is read makes a stone whose polygons
// name only its own vertices, never a crash (run under the sanitizers).
TEST(GemCadFile, CorruptedFilesNeverCrashTheReader) {
  std::mt19937 random(98);
  std::vector<std::string> seeds = {kSquareStone};
  for (const char* name : {"RoundBrilliant.brl", "Hexagon6.brl"}) {
    const DesignReadResult read = OpenDesignFile(kSamples / name);
    EditorObserver quiet;
    const StepEditor editor(read.design, quiet);
    seeds.push_back(GemCadText(GemCadOf(editor.CurrentDesign(), 1.54, name)));
  }
  const std::string alphabet = "0123456789.-+eEnGgyaIHF \t\r\nx";
  int valid = 0, invalid = 0;
  for (int trial = 0; trial < testing::TrialCount(4000); ++trial) {
    std::string text = seeds[trial % seeds.size()];
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits && !text.empty(); ++e) {
      const std::size_t at = random() % text.size();
      switch (random() % 5) {
        case 0: text[at] = alphabet[random() % alphabet.size()]; break;
        case 1: text.erase(at, 1 + random() % 8); break;
        case 2: text.insert(at, 1, alphabet[random() % alphabet.size()]); break;
        case 3: text.insert(at, std::to_string(random())); break;
        case 4: text.resize(at); break;
      }
    }
    const GemCadReadResult r = ReadGemCadText(text);
    if (!r.ok()) {
      ASSERT_EQ(r.error.rfind("Invalid GemCad design", 0), 0u) << r.error;
      ++invalid;
      continue;
    }
    ++valid;
    const Stone stone = GemCadStone(r.design);
    for (const TFacet& f : stone.AllFacets) {
      for (int v : f.Points) ASSERT_LT(static_cast<std::size_t>(v), stone.AllVertices.size());
    }
  }
  EXPECT_GT(valid, testing::TrialCount(4000) / 10);
  EXPECT_GT(invalid, testing::TrialCount(4000) / 10);
}

}  // namespace
}  // namespace brillora
