// brillora-cli given paths that are no files, endless files and values the
// optics cannot use: the reader's message and the usual status, never a
// crash, a hang or unbounded memory.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>

#include "support/run_cli.h"

namespace brillora {
namespace {

namespace fs = std::filesystem;
using testing::RunCli;

class OddInput : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "brillora-cli-odd-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string File(const std::string& name) const { return (dir_ / name).string(); }

  // A directory, a FIFO and a link to an endless device, with the extension given.
  std::vector<std::string> OddPaths(const std::string& extension) const {
    fs::create_directory(File("folder" + extension));
    EXPECT_EQ(::mkfifo(File("fifo" + extension).c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", File("zero" + extension));
    return {File("folder" + extension), File("fifo" + extension), File("zero" + extension)};
  }

  fs::path dir_;
};

TEST_F(OddInput, DesignsThatAreNoFilesAreUnreadable) {
  for (const std::string& path : OddPaths(".brl")) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"info", path}, {"trace", path}, {"edit", path, "--do", "new-step"}}) {
      const auto r = RunCli(args);
      EXPECT_EQ(r.status, 3) << args[0] << ' ' << path << ": " << r.err;
      EXPECT_EQ(r.err, "Invalid File Format\n");
    }
  }
}

TEST_F(OddInput, PicturesThatAreNoFilesAreUnreadable) {
  for (const std::string extension : {".jpg", ".gif"}) {
    for (const std::string& path : OddPaths(extension)) {
      const auto r = RunCli({"render", "--default", "--front", path, "-o", File("x.png"), "--width", "100",
                             "--height", "100"});
      EXPECT_EQ(r.status, 3) << path << ": " << r.err;
      EXPECT_EQ(r.err, "Invalid graphic file format.\n");
    }
  }
  EXPECT_FALSE(fs::exists(File("x.png")));
}

TEST_F(OddInput, IndicesAndTurnsTheOpticsCannotUse) {
  const std::string design = File("d.brl");
  std::ofstream(design, std::ios::binary) << "8 Order of Symmetry\r\n1 Steps of Crown\r\nh\r\n"
                                             "1\t89.00\t0\t0\t0.70\t1\r\n1 Steps of Pavilion\r\nh\r\n"
                                             "1\t41.00\t0\t0\t0.20\t0\r\n-1 Refractive Index\r\n";
  const auto negative = RunCli({"trace", design});
  EXPECT_EQ(negative.status, 3);
  EXPECT_EQ(negative.err, "Invalid File Format\n");

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--ri", "-1"}, {"--ri", "0.99"}, {"--ri", "5.01"}, {"--ri", "1e400"},
        {"--view", "1e100,0"}, {"--view", "0,-361"}, {"--view", "nan,0"}}) {
    std::vector<std::string> words = {"trace", "--default"};
    words.insert(words.end(), args.begin(), args.end());
    const auto r = RunCli(words);
    EXPECT_EQ(r.status, 2) << args[0] << ' ' << args[1];
    EXPECT_NE(r.err.find(args[0] + " needs"), std::string::npos) << r.err;
  }
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--ri", "1"}, {"--ri", "5"}, {"--view", "-360,360"}}) {
    EXPECT_EQ(RunCli({"trace", "--default", args[0], args[1]}).status, 0) << args[0] << ' ' << args[1];
  }
}

// /dev/full takes nothing: a command that could not write its result fails,
// even when it did its work (the picture of render is written all the same).
TEST_F(OddInput, OutputThatCannotBeWrittenIsAFailure) {
  const std::vector<std::vector<std::string>> commands = {
      {"info", "--default", "--facets"},
      {"trace", "--default"},
      {"trace", "--default", "--json"},
      {"render", "--default", "-o", File("x.png"), "--width", "100", "--height", "100"},
      {"animate", "--default", "-o", File("x.gif"), "--width", "100", "--height", "100"},
      {"edit", "--default", "--do", "new-step", "-o", File("x.brl")},
      {"--help"},
      {"info", "--help"},
  };
  for (const auto& args : commands) {
    const auto r = testing::RunCliWritingTo(args, "/dev/full");
    EXPECT_EQ(r.status, 4) << args[0];
    EXPECT_NE(r.err.find("cannot write the standard output: No space left on device"), std::string::npos)
        << args[0] << ": " << r.err;
  }
}

// The design writer refuses a read-only file with the words the picture
// writers use for it, and leaves it as it was.
TEST_F(OddInput, ReadOnlyFilesAreNotReplaced) {
  for (const std::string name : {"locked.brl", "locked.png"}) {
    std::ofstream(File(name), std::ios::binary) << "old";
    fs::permissions(File(name), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  }
  const auto edit = RunCli({"edit", "--default", "--do", "new-step", "-o", File("locked.brl")});
  const auto render = RunCli({"render", "--default", "-o", File("locked.png"), "--width", "100", "--height", "100"});
  for (const auto& [r, name] : {std::pair{edit, "locked.brl"}, {render, "locked.png"}}) {
    EXPECT_EQ(r.status, 4) << name;
    EXPECT_NE(r.err.find("Existing file " + File(name) + " is not writable"), std::string::npos) << r.err;
    std::ifstream in(File(name));
    std::string content;
    in >> content;
    EXPECT_EQ(content, "old") << name;
  }
}

TEST_F(OddInput, OptionValuesNeverSwallowTheNextOption) {
  const auto material = RunCli({"render", "--default", "--material", "-o", File("x.png")});
  EXPECT_EQ(material.status, 2);
  EXPECT_NE(material.err.find("--material needs a material name"), std::string::npos) << material.err;
  const auto info = RunCli({"info", "--default", "--material", "--facets"});
  EXPECT_EQ(info.status, 2);
  EXPECT_NE(info.err.find("--material needs a material name"), std::string::npos) << info.err;
  const auto front = RunCli({"render", "--default", "--front", "-o", File("x.png")});
  EXPECT_EQ(front.status, 2);
  EXPECT_NE(front.err.find("--front needs a picture file"), std::string::npos) << front.err;
  EXPECT_FALSE(fs::exists(File("x.png")));
}

// Bytes of every value in a GemCad design's texts, and names that are not
// UTF-8, for the design and for what is written: every command that prints
// JSON prints valid JSON (which is UTF-8) and succeeds; what export writes
// reads back.
TEST_F(OddInput, TextsAndNamesOfAnyBytesNeverStopTheJsonOutput) {
  std::mt19937 random(316);
  const auto bytes = [&](bool inName) {
    std::string text;
    for (int i = 0; i < 12; ++i) {
      char c;
      do c = static_cast<char>(1 + random() % 255);
      while (c == '\n' || c == '\r' || (inName && (c == ' ' || c == '\t')));
      text += c;
    }
    return text;
  };
  const std::string odd = "\xE9\x80\xFF\xC3";  // Windows-1252, and a cut UTF-8 sequence
  const std::string design = File("design" + odd + ".brl");
  fs::copy_file(std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/Default.brl", design);
  for (int trial = 0; trial < 3; ++trial) {
    const std::string gemcad = File("stone" + std::to_string(trial) + odd + ".asc");
    std::ofstream(gemcad, std::ios::binary) << "GemCad 5.0\ng 96 0\ny 4 y\nI 1.760\nH " << bytes(false)
                                            << "\na -45 0.70710678118654752 0 24 48 72 n " << bytes(true) << " G "
                                            << bytes(false) << "\na 90 1 0 24 48 72\na 45 1.06066017177982128 0 24 48 72"
                                            << "\na 0 1 0 n " << bytes(true) << "\nF " << bytes(false) << "\n";
    for (const std::string& input : {gemcad, design}) {
      const std::string written = File("out" + std::to_string(trial) + odd);
      const std::vector<std::vector<std::string>> commands = {
          {"info", input, "--facets"},
          {"trace", input, "--json", "--width", "60", "--height", "60"},
          {"analyze", input, "--json", "--tilt", "1", "--depth", "1"},
          {"export", input, "-o", written + ".asc"},
          {"export", input, "-o", written + ".stl"},
          {"export", input, "-o", written + ".obj"},
          {"info", written + ".asc"},
      };
      for (const auto& args : commands) {
        const auto r = RunCli(args);
        EXPECT_EQ(r.status, 0) << args[0] << ' ' << args[1] << ": " << r.err;
        EXPECT_TRUE(nlohmann::json::accept(r.out)) << args[0] << ' ' << args[1] << ":\n" << r.out;
      }
    }
  }
  const auto edit = RunCli({"edit", design, "--do", "new-step", "-o", File("edited" + odd + ".brl")});
  EXPECT_EQ(edit.status, 0) << edit.err;
  EXPECT_TRUE(nlohmann::json::accept(edit.out));
}

// A side of 500 steps, the most a design file holds: the editor adds no
// step to it, whichever control asks, and writes nothing.
TEST_F(OddInput, NoEditMakesADesignTheReaderRefuses) {
  std::string crown = "1\t89.00\t0\t0\t0.70\t1\r\n";
  for (int k = 2; k <= 500; ++k) crown += std::to_string(k) + "\t" + std::to_string(50 - k / 20) + ".00\t0\t0\t0.95\t0\r\n";
  std::ofstream(File("full.brl"), std::ios::binary) << "8 Order of Symmetry\r\n500 Steps of Crown\r\nh\r\n" << crown
                                                    << "1 Steps of Pavilion\r\nh\r\n1\t41.00\t0\t0\t0.20\t0\r\n"
                                                    << "2.42 Refractive Index\r\n";
  ASSERT_EQ(RunCli({"info", File("full.brl")}).status, 0);
  for (const std::vector<std::string>& actions :
       {std::vector<std::string>{"--do", "new-step"}, {"--do", "new"}, {"--do", "tab 500"},
        {"--do", "tab 500", "--do", "position 100", "--do", "clear-next"}}) {
    std::vector<std::string> args = {"edit", File("full.brl")};
    args.insert(args.end(), actions.begin(), actions.end());
    args.insert(args.end(), {"-o", File("more.brl")});
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2) << actions.back() << ": " << r.err;
    EXPECT_NE(r.err.find("A side has at most 500 steps"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(File("more.brl"))) << actions.back();
  }
  // One step fewer has room for one more, and the result reads back.
  const auto fewer = RunCli({"edit", File("full.brl"), "--do", "tab 498", "--do", "clear-next", "--do", "new-step",
                             "-o", File("more.brl")});
  ASSERT_EQ(fewer.status, 0) << fewer.err;
  EXPECT_EQ(RunCli({"info", File("more.brl")}).status, 0);
}

// Every file export writes reads back: a design whose planes enclose no
// stone is refused alike for every format (status 3, as a design that cannot
// be used), one beyond what a GemCad file holds is not written (status 4).
TEST_F(OddInput, ExportWritesOnlyWhatReadsBack) {
  std::ofstream(File("open.brl"), std::ios::binary) << "8 Order of Symmetry\r\n2 Steps of Crown\r\nh\r\n"
                                                    << "1\t89.00\t0\t0\t0.70\t1\r\n2\t40.00\t0\t0\t100\t0\r\n"
                                                    << "1 Steps of Pavilion\r\nh\r\n1\t40.00\t0\t0\t0.20\t1\r\n"
                                                    << "2.42 Refractive Index\r\n";
  std::ofstream(File("open.asc"), std::ios::binary) << "GemCad 5.0\ng 96 0\na 40 1 0 24 48 72\n";
  for (const std::string input : {"open.brl", "open.asc"}) {
    for (const std::string format : {".asc", ".stl", ".obj"}) {
      const auto r = RunCli({"export", File(input), "-o", File("out" + format)});
      EXPECT_EQ(r.status, 3) << input << " to " << format;
      EXPECT_EQ(r.err, "brillora-cli export: the design's planes enclose no stone\n");
      EXPECT_FALSE(fs::exists(File("out" + format)));
    }
  }
  // 59 tiers of 96 facets above the girdle: more facets than a GemCad design has.
  std::string crown = "1\t89.00\t3\t0\t0.70\t1\r\n";
  for (int k = 2; k <= 60; ++k) crown += std::to_string(k) + "\t" + std::to_string(60 - k / 2) + ".00\t1\t0\t0.98\t0\r\n";
  std::ofstream(File("wide.brl"), std::ios::binary) << "48 Order of Symmetry\r\n60 Steps of Crown\r\nh\r\n" << crown
                                                    << "1 Steps of Pavilion\r\nh\r\n1\t41.00\t3\t0\t0.20\t0\r\n"
                                                    << "2.42 Refractive Index\r\n";
  const auto wide = RunCli({"export", File("wide.brl"), "-o", File("wide.asc")});
  EXPECT_EQ(wide.status, 4) << wide.err;
  EXPECT_NE(wide.err.find("more than the 5000 of a GemCad design"), std::string::npos) << wide.err;
  EXPECT_FALSE(fs::exists(File("wide.asc")));
  EXPECT_EQ(RunCli({"export", File("wide.brl"), "-o", File("wide.stl")}).status, 0) << "a mesh holds any number";
}

// Edits whose numbers two decimals cannot hold (a girdle of 0.00122 after
// its slope changed, an upright-ish girdle, a position lowered by the Auto
// tier after it): saved and opened again, the same stone.
TEST_F(OddInput, SavedDesignsReopenAsTheStoneTheEditorShowed) {
  const std::string samples = std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/";
  const std::vector<std::vector<std::string>> edits = {
      {"--default", "--do", "slope-bar 450"},
      {samples + "Round48.brl", "--do", "slope 0.01"},
      {samples + "Dodecagon12.brl", "--do", "side pavilion", "--do", "position 200"},
      {samples + "RoundBrilliant.brl", "--do", "maxslope 37.3", "--do", "side pavilion", "--do", "maxslope 40.9"},
  };
  for (const auto& edit : edits) {
    std::vector<std::string> args = {"edit"};
    args.insert(args.end(), edit.begin(), edit.end());
    args.insert(args.end(), {"-o", File("saved.brl")});
    const auto edited = RunCli(args);
    ASSERT_EQ(edited.status, 0) << edited.err;
    const auto reopened = RunCli({"info", File("saved.brl")});
    ASSERT_EQ(reopened.status, 0) << reopened.err;
    const auto shown = nlohmann::json::parse(edited.out);
    const auto read = nlohmann::json::parse(reopened.out);
    EXPECT_GT(shown["vertices"], 0) << edit[0];
    for (const char* key : {"vertices", "facets", "crown", "pavilion"}) EXPECT_EQ(read[key], shown[key]) << edit[0] << ' ' << key;
    EXPECT_NEAR(read["volume"].get<double>(), shown["volume"].get<double>(), 1e-12) << edit[0];
  }
}

// --diameter is bounded as the other numbers are: weights and heights of any
// accepted size are numbers; a missing GemCad design is said not to exist.
TEST_F(OddInput, DiametersAreBoundedAndMissingDesignsNamed) {
  for (const std::string command : {"info", "export"}) {
    for (const std::string value : {"1e300", "0", "-1", "1000001"}) {
      std::vector<std::string> args = {command, "--default", "--diameter", value};
      if (command == "export") args.insert(args.end(), {"-o", File("x.stl")});
      const auto r = RunCli(args);
      EXPECT_EQ(r.status, 2) << command << ' ' << value;
      EXPECT_NE(r.err.find("--diameter needs a positive number of millimetres, at most a million"), std::string::npos)
          << r.err;
    }
  }
  const auto largest = RunCli({"info", "--default", "--diameter", "1e6"});
  ASSERT_EQ(largest.status, 0);
  EXPECT_TRUE(nlohmann::json::parse(largest.out)["weight_ct"].is_number_float()) << largest.out;
  const auto missing = RunCli({"info", File("missing.asc")});
  EXPECT_EQ(missing.status, 3);
  EXPECT_EQ(missing.err, "Cannot read \"" + File("missing.asc") + "\": the file does not exist\n");
}

TEST_F(OddInput, AnimateRefusesAViewItWouldNotShow) {
  const auto r = RunCli({"animate", "--default", "--view", "pavilion", "-o", File("x.gif")});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--view is not taken"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(File("x.gif")));
}

}  // namespace
}  // namespace brillora
