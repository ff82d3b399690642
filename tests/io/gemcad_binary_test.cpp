// GemCad binary designs: a file laid out by hand reads to the planes worked
// out by hand, designs written both as text and as binary read to the same
// design and stone, the corners are checked against the planes, and cut or
// damaged files get a message naming a byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>

#include "io/design_file.h"
#include "io/gemcad_binary.h"
#include "io/gemcad_file.h"
#include "model/gemcad_design.h"
#include "model/step_editor.h"
#include "support/gemcad_binary_writer.h"
#include "support/random_design.h"
#include "support/square_gemcad.h"
#include "support/stone_checks.h"
#include "support/trial_count.h"

namespace brillora {
namespace {

const std::filesystem::path kSamples = std::filesystem::path(BRILLORA_SOURCE_DIR) / "GEM_DAT";

constexpr const char* kSquareStone = testing::kSquareGemCadStone;

GemCadDesign SquareStone() {
  const GemCadReadResult read = ReadGemCadText(kSquareStone);
  EXPECT_TRUE(read.ok()) << read.error;
  return read.design;
}

// The design written as text by the program's writer and as binary by the
// test's reads back the same both ways, to the same stone.
void ExpectSameBothWays(const GemCadDesign& design, const std::string& what) {
  const GemCadReadResult text = ReadGemCadText(GemCadText(design));
  const GemCadReadResult binary = ReadGemCadBinary(testing::GemCadBinaryOf(design).bytes);
  ASSERT_TRUE(text.ok()) << what << ": " << text.error;
  ASSERT_TRUE(binary.ok()) << what << ": " << binary.error;
  EXPECT_TRUE(binary.warnings.empty()) << what << ": " << binary.warnings.front();
  const GemCadDesign& a = text.design;
  const GemCadDesign& b = binary.design;
  EXPECT_EQ(b.gearTeeth, a.gearTeeth) << what;
  EXPECT_EQ(b.gearOffset, a.gearOffset) << what;
  EXPECT_EQ(b.symmetry, a.symmetry) << what;
  EXPECT_EQ(b.mirror, a.mirror) << what;
  EXPECT_EQ(b.refractiveIndex, design.refractiveIndex) << what;
  EXPECT_EQ(b.headings, a.headings) << what;
  EXPECT_EQ(b.footnotes, a.footnotes) << what;
  ASSERT_EQ(b.tiers.size(), a.tiers.size()) << what;
  const double teeth = std::abs(a.gearTeeth);
  for (std::size_t t = 0; t < a.tiers.size(); ++t) {
    EXPECT_NEAR(b.tiers[t].angle, a.tiers[t].angle, 1e-9) << what << " tier " << t;
    EXPECT_EQ(std::signbit(b.tiers[t].angle), std::signbit(a.tiers[t].angle)) << what << " tier " << t;
    EXPECT_NEAR(b.tiers[t].distance, a.tiers[t].distance, 1e-12 * a.tiers[t].distance) << what;
    EXPECT_EQ(b.tiers[t].instruction, a.tiers[t].instruction) << what;
    ASSERT_EQ(b.tiers[t].facets.size(), a.tiers[t].facets.size()) << what;
    for (std::size_t f = 0; f < a.tiers[t].facets.size(); ++f) {
      // The text keeps the index as written; the binary gives it within one
      // turn, and a level facet's at 0, where every index gives its plane.
      const double turn = std::remainder(b.tiers[t].facets[f].index - a.tiers[t].facets[f].index, teeth);
      if (a.tiers[t].angle != 0.0) {
        EXPECT_NEAR(turn, 0.0, 1e-9) << what << " tier " << t << " facet " << f;
      }
      EXPECT_EQ(b.tiers[t].facets[f].name, a.tiers[t].facets[f].name) << what;
    }
  }
  const Stone fromText = GemCadStone(a);
  const Stone fromBinary = GemCadStone(b);
  ASSERT_FALSE(fromText.AllFacets.empty()) << what;
  EXPECT_EQ(fromBinary.AllFacets.size(), fromText.AllFacets.size()) << what;
  EXPECT_EQ(testing::Unmatched(fromText, fromBinary, 1e-9), 0) << what;
}

void Int32(std::string& out, std::int32_t value) {
  for (int b = 0; b < 4; ++b) out += static_cast<char>(std::bit_cast<std::uint32_t>(value) >> (8 * b) & 0xFF);
}
void Double(std::string& out, double value) {
  for (int b = 0; b < 8; ++b) out += static_cast<char>(std::bit_cast<std::uint64_t>(value) >> (8 * b) & 0xFF);
}

// A file of one facet per plane, laid out field by field without the
// writer, its corners all at the plane's point nearest the centre.
std::string HandLaid(const std::vector<std::array<double, 3>>& planes, std::int32_t gear) {
  std::string out;
  std::int32_t tier = 7;
  for (const auto& p : planes) {
    for (double c : p) Double(out, c);
    Int32(out, tier--);
    out += "\x06" "a\tb cd";
    Int32(out, -1);
    const double squared = p[0] * p[0] + p[1] * p[1] + p[2] * p[2];
    for (int corner = 0; corner < 2; ++corner) {
      for (double c : p) Double(out, c / squared);
      Int32(out, corner == 0 ? 5 : 0);
    }
  }
  Int32(out, 0);
  Int32(out, 0x01020304);
  Int32(out, 3);  // symmetry
  Int32(out, 1);  // mirror
  Int32(out, gear);
  Double(out, 2.42);
  Int32(out, 0);
  Double(out, 1.5);
  out += "\x05Title";
  out += "\x08" "by\r\nhand";
  out += "\x0a" "foot\r\nnote";
  return out;
}

TEST(GemCadBinary, AFileLaidOutByHandReadsToItsPlanes) {
  const double h = std::sqrt(0.5);
  // Table at 2; a crown facet at 45 degrees and distance 1 facing +x; a
  // pavilion facet at 45 degrees, distance 0.5, facing -y; a girdle facet facing +y.
  const std::vector<std::array<double, 3>> planes = {{0, 0, 0.5}, {h, 0, h}, {0, -2 * h, -2 * h}, {0, 1, 0}};
  const GemCadReadResult read = ReadGemCadBinary(HandLaid(planes, 96));
  ASSERT_TRUE(read.ok()) << read.error;
  EXPECT_TRUE(read.warnings.empty());
  const GemCadDesign& d = read.design;
  EXPECT_EQ(d.gearTeeth, 96);
  EXPECT_EQ(d.gearOffset, 1.5);
  EXPECT_EQ(d.symmetry, 3);
  EXPECT_TRUE(d.mirror);
  EXPECT_EQ(d.refractiveIndex, 2.42);
  EXPECT_EQ(d.headings, (std::vector<std::string>{"Title", "by", "hand"}));
  EXPECT_EQ(d.footnotes, (std::vector<std::string>{"foot", "note"}));
  // Tiers by their numbers: 7, 6, 5, 4 in the file come as 4, 5, 6, 7.
  ASSERT_EQ(d.tiers.size(), 4u);
  const double angles[] = {90, -45, 45, 0};
  const double distances[] = {1, 0.5, 1, 2};
  const double indices[] = {0, 48, 24, 0};
  for (int t = 0; t < 4; ++t) {
    EXPECT_NEAR(d.tiers[t].angle, angles[t], 1e-12) << t;
    EXPECT_NEAR(d.tiers[t].distance, distances[t], 1e-12) << t;
    ASSERT_EQ(d.tiers[t].facets.size(), 1u);
    EXPECT_EQ(d.tiers[t].facets[0].index, indices[t]) << t;
    EXPECT_EQ(d.tiers[t].facets[0].name, "a");
    EXPECT_EQ(d.tiers[t].instruction, "b cd");
  }
  // Counted the other way round, the facet facing +x sits at index 72.
  const GemCadReadResult backwards = ReadGemCadBinary(HandLaid(planes, -96));
  ASSERT_TRUE(backwards.ok()) << backwards.error;
  EXPECT_EQ(backwards.design.tiers[2].facets[0].index, 72);
  EXPECT_EQ(backwards.design.tiers[1].facets[0].index, 48);
}

TEST(GemCadBinary, DesignsWrittenAsTextAndBinaryReadAlike) {
  ExpectSameBothWays(SquareStone(), "square stone");
  for (const char* name : {"Default.brl", "RoundBrilliant.brl", "Hexagon6.brl", "Round48.brl"}) {
    const DesignReadResult read = OpenDesignFile(kSamples / name);
    ASSERT_TRUE(read.ok()) << name;
    EditorObserver quiet;
    const StepEditor editor(read.design, quiet);
    ExpectSameBothWays(GemCadOf(editor.CurrentDesign(), read.refractiveIndex, name), name);
  }
  // Counted backwards, without symmetry or mirror, turned by a fraction of a
  // tooth, with an offset: the planes and texts still come through.
  std::mt19937 random(25);
  EditorObserver quiet;
  int checked = 0;
  for (int n = 0; n < 60 && checked < testing::TrialCount(30); ++n) {
    const StepEditor editor(testing::RandomDesign(random, {.minSymOrder = 3}), quiet);
    if (editor.State().stone->AllFacets.empty()) continue;
    GemCadDesign d = GemCadOf(editor.CurrentDesign(), 1.5 + 0.01 * n, "random " + std::to_string(n));
    // A plane p.x = 1 always has the centre inside: the binary form cannot
    // hold a tier that passes the centre.
    if (std::any_of(d.tiers.begin(), d.tiers.end(), [](const GemCadTier& t) { return t.distance <= 0.0; })) continue;
    if (n % 2) d.gearTeeth = -d.gearTeeth;
    d.symmetry = n % 3 == 0 ? 1 : d.symmetry;
    d.mirror = n % 4 == 0;
    d.gearOffset = 0.5 * (n % 5);
    const double turn = 0.37 * (n % 7);
    for (GemCadTier& tier : d.tiers) {
      for (GemCadFacet& facet : tier.facets) facet.index += turn;
    }
    d.tiers.front().instruction = "cut first";
    d.footnotes = {"one", "two"};
    ++checked;
    ExpectSameBothWays(d, "random design " + std::to_string(n));
    if (HasFailure()) return;
  }
  EXPECT_GE(checked, testing::TrialCount(30));
}

TEST(GemCadBinary, CornersOffTheirPlanesAreAWarning) {
  const GemCadDesign square = SquareStone();
  const GemCadReadResult far = ReadGemCadBinary(testing::GemCadBinaryOf(square, 1e-3).bytes);
  ASSERT_TRUE(far.ok()) << far.error;
  ASSERT_EQ(far.warnings.size(), 1u);
  EXPECT_NE(far.warnings[0].find("the corners of 1 facet lie up to 0.001 off their planes (the first at byte 0)"),
            std::string::npos)
      << far.warnings[0];
  // The stone is the planes' all the same.
  EXPECT_EQ(testing::Unmatched(GemCadStone(far.design), GemCadStone(square), 1e-9), 0);
  const GemCadReadResult near = ReadGemCadBinary(testing::GemCadBinaryOf(square, 1e-6).bytes);
  ASSERT_TRUE(near.ok()) << near.error;
  EXPECT_TRUE(near.warnings.empty());
}

// Where the message says the file went wrong.
std::size_t NamedByte(const std::string& error) {
  const std::string prefix = "Invalid GemCad design: byte ";
  EXPECT_EQ(error.rfind(prefix, 0), 0u) << error;
  return std::stoul(error.substr(prefix.size()));
}

TEST(GemCadBinary, EveryCutFileIsRefusedAtAByteWithinIt) {
  for (const char* name : {"square", "Default.brl"}) {
    GemCadDesign design = SquareStone();
    if (std::string(name) != "square") {
      const DesignReadResult read = OpenDesignFile(kSamples / name);
      EditorObserver quiet;
      const StepEditor editor(read.design, quiet);
      design = GemCadOf(editor.CurrentDesign(), read.refractiveIndex, name);
    }
    const testing::GemCadBinary file = testing::GemCadBinaryOf(design);
    for (std::size_t size = 0; size < file.bytes.size(); ++size) {
      const GemCadReadResult r = ReadGemCadBinary(std::string_view(file.bytes).substr(0, size));
      // Cut among the texts, what is left may be a design of fewer lines.
      if (size < file.trailer + 40) {
        ASSERT_FALSE(r.ok()) << name << " cut at " << size;
      }
      if (!r.ok()) {
        ASSERT_LE(NamedByte(r.error), size) << r.error;
      }
    }
  }
}

TEST(GemCadBinary, BoundsHoldBeforeAnythingIsKept) {
  const std::string one = HandLaid({{0, 0, 1}}, 96);
  const std::size_t record = one.find(std::string("\0\0\0\0\x04\x03\x02\x01", 8));
  ASSERT_NE(record, std::string::npos);
  const std::string facet = one.substr(0, record);
  const std::string trailer = one.substr(record);
  std::string many;
  for (std::size_t f = 0; f <= kGemCadMaxFacets; ++f) many += facet;
  const GemCadReadResult tooMany = ReadGemCadBinary(many + trailer);
  EXPECT_EQ(tooMany.error, "Invalid GemCad design: byte " + std::to_string(kGemCadMaxFacets * facet.size()) +
                               ": more facets than any GemCad design has");
  // A thousand and one tier numbers.
  std::string tiers;
  for (std::int32_t t = 0; t <= static_cast<std::int32_t>(kGemCadMaxTiers); ++t) {
    std::string f = facet;
    for (int b = 0; b < 4; ++b) f[24 + b] = static_cast<char>(std::bit_cast<std::uint32_t>(t) >> (8 * b) & 0xFF);
    tiers += f;
  }
  EXPECT_NE(ReadGemCadBinary(tiers + trailer).error.find("more tiers than any GemCad design has"), std::string::npos);
  std::string texts = one;
  for (std::size_t t = 0; t <= kGemCadMaxTexts; ++t) texts += '\0';
  EXPECT_NE(ReadGemCadBinary(texts).error.find("more header lines"), std::string::npos);
  EXPECT_FALSE(ReadGemCadBinary(std::string(kGemCadMaxBytes + 1, '\0')).ok());
  EXPECT_EQ(ReadGemCadBinary("").error, "Invalid GemCad design: byte 0: the file is empty");
  EXPECT_EQ(ReadGemCadBinary(trailer).error, "Invalid GemCad design: byte 0: there are no facets");

  const auto withDouble = [&](std::size_t at, double value) {
    std::string bytes = one;
    for (int b = 0; b < 8; ++b) bytes[at + b] = static_cast<char>(std::bit_cast<std::uint64_t>(value) >> (8 * b) & 0xFF);
    return ReadGemCadBinary(bytes).error;
  };
  EXPECT_EQ(withDouble(8, NAN), "Invalid GemCad design: byte 8: a facet's plane is not a number");
  EXPECT_EQ(withDouble(16, 1e-7), "Invalid GemCad design: byte 0: a facet's plane lies farther than a million units "
                                  "from the centre or is not a number");
  const std::size_t corner = 24 + 4 + 7 + 4;
  EXPECT_EQ(withDouble(corner + 16, INFINITY),
            "Invalid GemCad design: byte " + std::to_string(corner + 16) + ": a corner is not a number");
  EXPECT_EQ(withDouble(record + 20, 0.5),
            "Invalid GemCad design: byte " + std::to_string(record + 20) + ": the refractive index must be a number from 1 to 10");
}

// Thousands of damaged variants of valid files: each is read or refused with
// a message naming a byte within the file, and what is read makes a stone
// whose polygons name only its own vertices, never a crash (run under the
// sanitizers).
TEST(GemCadBinary, DamagedFilesNeverCrashTheReader) {
  std::mt19937 random(2025);
  std::vector<std::string> seeds = {testing::GemCadBinaryOf(SquareStone()).bytes};
  for (const char* name : {"RoundBrilliant.brl", "Hexagon6.brl"}) {
    const DesignReadResult read = OpenDesignFile(kSamples / name);
    EditorObserver quiet;
    const StepEditor editor(read.design, quiet);
    seeds.push_back(testing::GemCadBinaryOf(GemCadOf(editor.CurrentDesign(), 1.54, name)).bytes);
  }
  const auto anyDouble = [&] {
    const double values[] = {0.0, -0.0, NAN, INFINITY, 1e308, 1e-308, 5e-324, 1.0, -1.0, 1e6};
    return values[random() % std::size(values)];
  };
  const auto anyInt = [&] {
    const std::int32_t values[] = {0, 1, -1, 255, 1000, 1001, 10000, 10001, INT32_MAX, INT32_MIN};
    return values[random() % std::size(values)];
  };
  int valid = 0, invalid = 0;
  for (int trial = 0; trial < testing::TrialCount(4000); ++trial) {
    std::string bytes = seeds[trial % seeds.size()];
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
      const std::size_t at = random() % bytes.size();
      std::string value;
      switch (random() % 6) {
        case 0: bytes[at] = static_cast<char>(random()); break;
        case 1: bytes.erase(at, 1 + random() % 8); break;
        case 2: bytes.insert(at, 1, static_cast<char>(random())); break;
        case 3: Double(value, anyDouble()); bytes.replace(at, value.size(), value); break;
        case 4: Int32(value, anyInt()); bytes.replace(at, value.size(), value); break;
        case 5: bytes.resize(at); break;
      }
    }
    const GemCadReadResult r = ReadGemCadBinary(bytes);
    if (!r.ok()) {
      ASSERT_LE(NamedByte(r.error), bytes.size()) << r.error;
      ++invalid;
      continue;
    }
    ++valid;
    ASSERT_TRUE(GemCadBeyondBounds(r.design).empty()) << GemCadBeyondBounds(r.design);
    const Stone stone = GemCadStone(r.design);
    for (const TFacet& f : stone.AllFacets) {
      for (int v : f.Points) ASSERT_LT(static_cast<std::size_t>(v), stone.AllVertices.size());
    }
  }
  EXPECT_GT(valid, testing::TrialCount(4000) / 10);
  EXPECT_GT(invalid, testing::TrialCount(4000) / 10);
}

TEST(GemCadBinary, TheNameDecidesTheFormatAndOnlyTextIsWritten) {
  EXPECT_TRUE(IsGemCadName("a.gem"));
  EXPECT_TRUE(IsGemCadName("a.GeM"));
  EXPECT_TRUE(IsGemCadName("a.ASC"));
  EXPECT_FALSE(IsGemCadName("a.gem.txt"));
  EXPECT_TRUE(IsGemCadBinaryName("a.GEM"));
  EXPECT_FALSE(IsGemCadBinaryName("a.asc"));
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "brillora-gemcad-binary";
  std::filesystem::create_directories(folder);
  const GemCadDesign square = SquareStone();
  std::ofstream(folder / "square.GEM", std::ios::binary) << testing::GemCadBinaryOf(square).bytes;
  const GemCadReadResult read = ReadGemCadFile(folder / "square.GEM");
  ASSERT_TRUE(read.ok()) << read.error;
  EXPECT_EQ(read.design.tiers.size(), square.tiers.size());
  // The same bytes under a text name are text, and not a GemCad text at that.
  std::filesystem::copy_file(folder / "square.GEM", folder / "square.asc",
                             std::filesystem::copy_options::overwrite_existing);
  EXPECT_NE(ReadGemCadFile(folder / "square.asc").error.find("line 1"), std::string::npos);
  EXPECT_EQ(WriteGemCadFile(folder / "out.gem", square),
            "Cannot write \"" + (folder / "out.gem").string() +
                "\": GemCad designs are written as .asc text; .gem files are only read");
  EXPECT_FALSE(std::filesystem::exists(folder / "out.gem"));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace brillora
