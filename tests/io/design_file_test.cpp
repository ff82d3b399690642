#include "io/design_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <random>
#include <sstream>

#include "model/default_design.h"
#include "model/design_limits.h"
#include "model/girdle.h"
#include "model/facet_construction.h"
#include "support/random_design.h"

namespace brillora {
namespace {

namespace fs = std::filesystem;

std::string Text(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (auto line : lines) text.append(line).append("\r\n");
  return text;
}

// A well-formed file: two crown steps (girdle column holds 10 x thickness), one pavilion step.
std::string ValidText() {
  return Text({"8 Order of Symmetry", "2 Steps of Crown", "Step\tAngle\tSplit\tShift\tPosit\tAuto",
               "1\t89.00\t0\t0\t0.70\t1", "2\t40.00\t0\t0\t0.70\t0", "1 Steps of Pavilion",
               "Step\tAngle\tSplit\tShift\tPosit\tAuto", "1\t41.00\t0\t0\t0.20\t1",
               "2.420 Refractive Index", "Date   1/1/26", "Time   10:00:00"});
}

std::string Replace(std::string text, std::string_view from, std::string_view to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "brillora-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, ignored);
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string ReadWhole(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(NextToken, SkipsBlanksCollectsAndConvertsCommas) {
  std::string token = "old";
  int next = 99;
  NextToken("  41,5\tx", 1, next, token);
  EXPECT_EQ(token, "41.5");
  EXPECT_EQ(next, 7);  // just after the last collected character: the tab
  NextToken("  41,5\tx", next, next, token);
  EXPECT_EQ(token, "x");
  EXPECT_EQ(next, 9);
}

TEST(NextToken, LeavesEverythingAloneWhenNothingRemains) {
  std::string token = "keep";
  int next = 5;
  NextToken("ab", 3, next, token);  // position past the end
  EXPECT_EQ(token, "keep");
  EXPECT_EQ(next, 5);
  NextToken("ab \t ", 3, next, token);  // only blanks remain
  EXPECT_EQ(token, "keep");
  EXPECT_EQ(next, 5);
}

TEST(TokenValue, AcceptsCleanNumbersOnly) {
  const auto value = [](std::string_view line, bool& valid) {
    int next = 1;
    return TokenValue(line, 1, next, valid);
  };
  bool valid = true;
  EXPECT_DOUBLE_EQ(value("-12.5e1", valid), -125.0);
  EXPECT_DOUBLE_EQ(value("+.5", valid), 0.5);
  EXPECT_DOUBLE_EQ(value("7.", valid), 7.0);
  EXPECT_DOUBLE_EQ(value("41,00", valid), 41.0);
  EXPECT_TRUE(valid);
  for (std::string_view bad : {"", "3.5x", "abc", "1e", "--1", ".", "inf", "nan", "1e999", "0x10"}) {
    valid = true;
    value(bad, valid);
    EXPECT_FALSE(valid) << "'" << bad << "'";
  }
  valid = false;
  EXPECT_DOUBLE_EQ(value("2", valid), 2.0);
  EXPECT_FALSE(valid) << "a clean number never sets the flag back";
}

TEST(ReadDesign, ReadsStepsAndUndoesTheGirdleTransform) {
  const DesignReadResult r = ReadDesignText(ValidText());
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.design.SymOrder, 8);
  EXPECT_EQ(r.design.GearNotches, 96);
  ASSERT_EQ(r.design.CrownSteps.size(), 4u);
  ASSERT_EQ(r.design.PavilionSteps.size(), 3u);
  // Girdle column 0.70 is ten times a thickness of 0.07.
  EXPECT_NEAR(r.design.CrownSteps[1].Posit, GirdlePosit(0.07, 89.0), 1e-12);
  EXPECT_DOUBLE_EQ(r.design.CrownSteps[2].Posit, 0.70);
  EXPECT_DOUBLE_EQ(r.design.PavilionSteps[1].Angle, 41.0);
  EXPECT_TRUE(r.design.PavilionSteps[1].Auto);
  EXPECT_DOUBLE_EQ(r.design.CrownSteps[0].Posit, 0.5);
  EXPECT_DOUBLE_EQ(r.design.PavilionSteps[0].Posit, 1.0);
  EXPECT_EQ(r.design.CrownSteps[0].Facets.size(), 1u);
  EXPECT_DOUBLE_EQ(r.refractiveIndex, 2.42);
}

TEST(ReadDesign, FieldRules) {
  // Comma decimal separator reads as a point.
  auto r = ReadDesignText(Replace(ValidText(), "1\t41.00", "1\t41,50"));
  ASSERT_TRUE(r.ok());
  EXPECT_DOUBLE_EQ(r.design.PavilionSteps[1].Angle, 41.5);
  // Auto: 0.5 is false, 0.51 true.
  r = ReadDesignText(Replace(ValidText(), "0.20\t1", "0.20\t0.5"));
  ASSERT_TRUE(r.ok());
  EXPECT_FALSE(r.design.PavilionSteps[1].Auto);
  r = ReadDesignText(Replace(ValidText(), "0.20\t1", "0.20\t0.51"));
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(r.design.PavilionSteps[1].Auto);
  // Tokens after the sixth are ignored; LF-only line ends read the same.
  r = ReadDesignText(Replace(ValidText(), "0.20\t1", "0.20\t1\textra words"));
  EXPECT_TRUE(r.ok());
  std::string lf = ValidText();
  std::erase(lf, '\r');
  EXPECT_TRUE(ReadDesignText(lf).ok());
  // 16 is a symmetry order.
  r = ReadDesignText(Replace(ValidText(), "8 Order", "16 Order"));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.design.SymOrder, 16);
}

TEST(ReadDesign, InvalidFiles) {
  const std::string valid = ValidText();
  const std::vector<std::string> invalid = {
      Replace(valid, "8 Order", "13 Order"),               // not in the symmetry list
      Replace(valid, "8 Order", "08 Order"),               // compared as text
      Replace(valid, "8 Order", "8.0 Order"),
      Replace(valid, "1 Steps of Pavilion", "0 Steps of Pavilion"),
      Replace(valid, "2 Steps of Crown", "-1 Steps of Crown"),
      Replace(valid, "\t0.20\t1", "\t0.20"),               // five fields
      Replace(valid, "2.420 Refractive", "x Refractive"),
      valid.substr(0, valid.find("2.420")),                // no refractive-index line
      "",
      // Hostile values: no editor writes them, and they would overflow or allocate.
      Replace(valid, "2 Steps of Crown", "1000000000 Steps of Crown"),
      Replace(valid, "2 Steps of Crown", "501 Steps of Crown"),
      Replace(valid, "1\t41.00", "1\t1e400"),
      Replace(valid, "1\t41.00", "1\t0"),                  // slope must be in (0, 90]
      Replace(valid, "1\t41.00", "1\t90.01"),
      Replace(valid, "41.00\t0\t0", "41.00\t97\t0"),       // split beyond the 96 notches
      Replace(valid, "41.00\t0\t0", "41.00\t0\t-3000000000"),
      Replace(valid, "0.20\t1", "1e309\t1"),
      // Slopes that two decimals cannot hold, and indices no optics can use.
      Replace(valid, "1\t41.00", "1\t0.004"),
      Replace(valid, "2.420 Refractive", "-1 Refractive"),
      Replace(valid, "2.420 Refractive", "0.999 Refractive"),
      Replace(valid, "2.420 Refractive", "5.001 Refractive"),
      // A girdle thickness that leaves no finite position at a slope that flat.
      Replace(valid, "1\t89.00\t0\t0\t0.70", "1\t0.01\t0\t0\t1e307"),
  };
  for (const auto& text : invalid) {
    const auto r = ReadDesignText(text);
    EXPECT_EQ(r.error, kInvalidFileFormat) << text;
  }
}

TEST(ReadDesign, BoundsOfSlopeAndIndexAreAccepted) {
  for (const auto& [from, to] : {std::pair<std::string_view, std::string_view>{"1\t41.00", "1\t0.01"},
                                 {"1\t41.00", "1\t90"},
                                 {"2.420 Refractive", "1.000 Refractive"},
                                 {"2.420 Refractive", "5 Refractive"}}) {
    EXPECT_TRUE(ReadDesignText(Replace(ValidText(), from, to)).ok()) << to;
  }
}

TEST(ReadDesign, EditorExtremesStillRead) {
  std::string text = Replace(ValidText(), "1\t41.00\t0\t0", "1\t90.00\t0\t-95");
  text = Replace(text, "2 Steps of Crown", "500 Steps of Crown");
  for (int i = 3; i <= 500; ++i) {
    text = Replace(text, "1 Steps of Pavilion",
                   std::to_string(i) + "\t20.00\t0\t0\t0.90\t0\r\n1 Steps of Pavilion");
  }
  const auto r = ReadDesignText(text);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.design.CrownSteps.size(), 502u);
  EXPECT_EQ(r.design.PavilionSteps[1].Shift, -95);
}

TEST(DesignFiles, ExtensionDecidesWhetherToRead) {
  TempFolder folder;
  for (const char* name : {"a.brl", "a.txt", "a.BRL", "a.Txt"}) {
    std::ofstream(folder.path() / name, std::ios::binary) << ValidText();
    EXPECT_TRUE(OpenDesignFile(folder.path() / name).ok()) << name;
  }
  std::ofstream(folder.path() / "a.dat", std::ios::binary) << ValidText();
  EXPECT_EQ(OpenDesignFile(folder.path() / "a.dat").error, kInvalidFileType);
  EXPECT_EQ(OpenDesignFile(folder.path() / "missing.brl").error, kInvalidFileFormat);
  EXPECT_EQ(OpenDesignFile(folder.path()).error, kInvalidFileType);
  fs::create_directory(folder.path() / "dir.brl");
  EXPECT_EQ(OpenDesignFile(folder.path() / "dir.brl").error, kInvalidFileFormat);
}

TEST(DesignFiles, WriterFormatsAsCuttersExpect) {
  Design d = DefaultDesign();
  d.CrownSteps[2].Angle = 9.5;
  d.PavilionSteps[1].Shift = -3;
  const std::string text = DesignFileText(d, 2.42, "D", "T");
  EXPECT_EQ(text,
            "8 Order of Symmetry\r\n"
            "2 Steps of Crown\r\n"
            "Step\tAngle\tSplit\tShift\tPosit\tAuto\r\n"
            "1\t89.00\t0\t0\t0.70\t1\r\n"
            "2\t 9.50\t0\t0\t0.70\t0\r\n"
            "1 Steps of Pavilion\r\n"
            "Step\tAngle\tSplit\tShift\tPosit\tAuto\r\n"
            "1\t40.00\t0\t-3\t0.20\t1\r\n"
            "2.420 Refractive Index\r\n"
            "Date   D\r\n"
            "Time   T\r\n");
}

// The dispersion goes on a line after the time line, where a reader that
// knows none stops: the text up to it is the text of a file without one.
TEST(DesignFiles, TheDispersionLineComesWhereOlderReadersNeverRead) {
  const Design d = DefaultDesign();
  const std::string plain = DesignFileText(d, 2.42, "D", "T");
  const std::string with = DesignFileText(d, 2.42, "D", "T", 0.044);
  EXPECT_EQ(with, plain + "0.044 Dispersion\r\n");
  const DesignReadResult read = ReadDesignText(with);
  ASSERT_TRUE(read.ok()) << read.error;
  EXPECT_EQ(read.dispersion, 0.044);
  EXPECT_EQ(read.refractiveIndex, 2.42);
  EXPECT_FALSE(ReadDesignText(plain).dispersion);
  // Cut off after the time line, as an older reader reads it, the file is the
  // same design.
  const DesignReadResult older = ReadDesignText(with.substr(0, plain.size()));
  ASSERT_TRUE(older.ok());
  EXPECT_EQ(older.design.CrownSteps.size(), read.design.CrownSteps.size());
  EXPECT_EQ(older.refractiveIndex, read.refractiveIndex);
}

TEST(DesignFiles, OnlyALineCaptionedDispersionIsReadAsOne) {
  // Other lines after the time line were never read and still are not.
  const DesignReadResult notes = ReadDesignText(ValidText() + "cut for a client\r\n0.5 Carat\r\n");
  ASSERT_TRUE(notes.ok()) << notes.error;
  EXPECT_FALSE(notes.dispersion);
  EXPECT_EQ(ReadDesignText(ValidText() + "\r\n0,060 Dispersion\r\n").dispersion, 0.060);
  EXPECT_EQ(ReadDesignText(ValidText() + "0.3 Dispersion").dispersion, 0.3);
  for (const char* bad : {"0.31 Dispersion", "-0.01 Dispersion", "x Dispersion", "0.04a Dispersion"}) {
    EXPECT_EQ(ReadDesignText(ValidText() + bad + "\r\n").error, kInvalidFileFormat) << bad;
  }
}

TEST(DesignFiles, RoundTripKeepsTwoDecimalsOverRandomDesigns) {
  TempFolder folder;
  std::mt19937 random(7);
  for (int trial = 0; trial < 300; ++trial) {
    Design d = testing::RandomDesign(random);
    ConstructStone(d);  // derived slopes of Auto tiers are what a save writes
    const fs::path file = folder.path() / (trial % 2 ? "r.brl" : "r.txt");
    const auto saved = SaveDesignFile(file, d, 1.766);
    ASSERT_TRUE(saved.written) << saved.error;
    const auto r = OpenDesignFile(file);
    ASSERT_TRUE(r.ok()) << ReadWhole(file);
    EXPECT_EQ(r.design.SymOrder, d.SymOrder);
    EXPECT_DOUBLE_EQ(r.refractiveIndex, 1.766);
    for (const auto& [read, original] :
         {std::pair{&r.design.CrownSteps, &d.CrownSteps}, {&r.design.PavilionSteps, &d.PavilionSteps}}) {
      ASSERT_EQ(read->size(), original->size());
      for (std::size_t k = 1; k + 1 < read->size(); ++k) {
        const TStep& a = (*read)[k];
        const TStep& b = (*original)[k];
        EXPECT_NEAR(a.Angle, b.Angle, 0.005 + 1e-9);
        EXPECT_EQ(a.Split, b.Split);
        EXPECT_EQ(a.Shift, b.Shift);
        EXPECT_EQ(a.Auto, b.Auto);
        if (read == &r.design.CrownSteps && k == 1) {
          // The girdle column holds 10 t rounded to 2 decimals: t within 0.0005.
          const double tan = std::tan(a.Angle * std::numbers::pi / 180);
          const double tOriginal = (1 - b.Posit) * std::tan(b.Angle * std::numbers::pi / 180);
          EXPECT_NEAR((1 - a.Posit) * tan, tOriginal, 0.0005 + 1e-9);
        } else {
          EXPECT_NEAR(a.Posit, b.Posit, 0.005 + 1e-9);
        }
      }
    }
  }
}

TEST(DesignFiles, SaveWithOtherExtensionWritesNothing) {
  TempFolder folder;
  const auto saved = SaveDesignFile(folder.path() / "x.doc", DefaultDesign(), 2.42);
  EXPECT_FALSE(saved.written);
  EXPECT_TRUE(saved.error.empty());
  EXPECT_FALSE(fs::exists(folder.path() / "x.doc"));
}

TEST(DesignFiles, FailedSaveSaysWhyAndKeepsTheOldFile) {
  TempFolder folder;
  const fs::path file = folder.path() / "keep.brl";
  std::ofstream(file, std::ios::binary) << "old contents";

  // A folder that does not exist: the message names the file and the reason.
  const auto missing = WriteDesignFile(folder.path() / "no" / "x.brl", DefaultDesign(), 2.42);
  EXPECT_FALSE(missing.written);
  EXPECT_NE(missing.error.find("x.brl"), std::string::npos) << missing.error;
  EXPECT_NE(missing.error.find("No such file"), std::string::npos) << missing.error;

  // A folder in the way of the name: the rename fails, the old file next to it stays.
  fs::create_directory(folder.path() / "taken.brl");
  std::ofstream(folder.path() / "taken.brl" / "inside", std::ios::binary) << "x";
  const auto blocked = WriteDesignFile(folder.path() / "taken.brl", DefaultDesign(), 2.42);
  EXPECT_FALSE(blocked.written);
  EXPECT_NE(blocked.error.find("taken.brl"), std::string::npos);
  EXPECT_EQ(ReadWhole(file), "old contents");

  // No temporary files are left behind by the failures.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder.path())) ++entries;
  EXPECT_EQ(entries, 2);

  // A successful save replaces the old file whole and keeps its permissions.
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(WriteDesignFile(file, DefaultDesign(), 2.42).written);
  EXPECT_TRUE(OpenDesignFile(file).ok());
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A new design gets the mode every new file gets under the process's umask,
// and saving leaves the umask as it found it.
TEST(DesignFiles, NewFilesFollowTheUmask) {
  TempFolder folder;
  const mode_t before = ::umask(0);
  for (const mode_t mask : {mode_t{022}, mode_t{027}, mode_t{077}, mode_t{0}}) {
    ::umask(mask);
    const fs::path file = folder.path() / ("new" + std::to_string(mask) + ".brl");
    ASSERT_TRUE(WriteDesignFile(file, DefaultDesign(), 2.42).written);
    struct stat written{};
    ASSERT_EQ(::stat(file.c_str(), &written), 0);
    EXPECT_EQ(written.st_mode & 0777, 0666 & ~mask) << "umask " << mask;
    EXPECT_EQ(::umask(mask), mask);
  }
  ::umask(before);
}

// Paths of every kind that is no design file, and files that claim too much
// or hold what no optics can use: each gives "Invalid File Format" at once,
// without blocking on a FIFO or reading an endless device.
std::vector<fs::path> OddDesignPaths(const fs::path& folder) {
  const std::vector<fs::path> paths = {folder / "folder.brl", folder / "fifo.brl", folder / "zero.brl",
                                       folder / "random.brl", folder / "long.brl", folder / "count.brl",
                                       folder / "index.brl"};
  fs::create_directory(paths[0]);
  EXPECT_EQ(::mkfifo(paths[1].c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", paths[2]);
  fs::create_symlink("/dev/urandom", paths[3]);
  std::ofstream(paths[4], std::ios::binary) << ValidText();
  fs::resize_file(paths[4], kMaxDesignFileBytes + 1);  // sparse: nothing large is written
  // A count that claims far more steps than the file holds, an index no optics can use.
  std::ofstream(paths[5], std::ios::binary) << Replace(ValidText(), "2 Steps of Crown", "2000000000 Steps of Crown");
  std::ofstream(paths[6], std::ios::binary) << Replace(ValidText(), "2.420 Refractive", "-1 Refractive");
  return paths;
}

// Many thousands of corrupted variants of valid files: every outcome is either a
// design that builds or "Invalid File Format", never a crash (run under the
// sanitizers). A design that reads holds only values the optics and the
// writer can use; odd paths and files are refused as a whole.
TEST(DesignFiles, CorruptedFilesNeverCrashTheReader) {
  TempFolder folder;
  for (const fs::path& path : OddDesignPaths(folder.path())) {
    EXPECT_EQ(OpenDesignFile(path).error, kInvalidFileFormat) << path;
  }

  std::mt19937 random(99);
  std::vector<std::string> seeds = {ValidText()};
  for (int i = 0; i < 8; ++i) {
    Design d = testing::RandomDesign(random);
    seeds.push_back(DesignFileText(d, 1.54, "d", "t"));
  }
  const std::string alphabet = "0123456789.,-+eE \t\r\nx";
  int valid = 0, invalid = 0;
  for (int trial = 0; trial < 20000; ++trial) {
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
    DesignReadResult r = ReadDesignText(text);
    if (r.ok()) {
      ++valid;
      ASSERT_GE(r.refractiveIndex, kMinRefractiveIndex);
      ASSERT_LE(r.refractiveIndex, kMaxRefractiveIndex);
      for (const MasStep* side : {&r.design.CrownSteps, &r.design.PavilionSteps}) {
        for (std::size_t k = 1; k + 1 < side->size(); ++k) {
          ASSERT_GE((*side)[k].Angle, kMinSlopeDegrees);
          ASSERT_TRUE(std::isfinite((*side)[k].Posit));
        }
      }
      const Stone stone = ConstructStone(r.design);
      for (const TFacet& f : stone.AllFacets) {
        for (int v : f.Points) ASSERT_LT(static_cast<std::size_t>(v), stone.AllVertices.size());
      }
    } else {
      ASSERT_EQ(r.error, kInvalidFileFormat);
      ++invalid;
    }
  }
  EXPECT_GT(valid, 1000);
  EXPECT_GT(invalid, 1000);
}

}  // namespace
}  // namespace brillora
