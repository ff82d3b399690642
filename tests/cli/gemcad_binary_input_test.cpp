// GemCad binary designs (.gem) on the command line: every command that reads
// a GemCad text design reads the binary form of the same design to the same
// figures, info carries the corners' warning, and no command writes one.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "io/gemcad_file.h"
#include "support/gemcad_binary_writer.h"
#include "support/run_cli.h"

namespace brillora {
namespace {

namespace fs = std::filesystem;
using testing::RunCli;
using Json = nlohmann::json;

class GemCadBinaryInput : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("brillora_gem_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    // The round brilliant sample as GemCad text, written by the program, and
    // as GemCad binary, written by the test.
    const std::string round = std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/RoundBrilliant.brl";
    ASSERT_EQ(RunCli({"export", round, "-o", File("round.asc")}).status, 0);
    const GemCadReadResult text = ReadGemCadFile(File("round.asc"));
    ASSERT_TRUE(text.ok()) << text.error;
    design_ = text.design;
    std::ofstream(File("round.GEM"), std::ios::binary) << testing::GemCadBinaryOf(design_).bytes;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string File(const std::string& name) const { return (dir_ / name).string(); }

  fs::path dir_;
  GemCadDesign design_;
};

TEST_F(GemCadBinaryInput, InfoAndTraceReadItAsTheTextOfTheSameDesign) {
  const auto text = RunCli({"info", File("round.asc"), "--diameter", "6.5"});
  const auto binary = RunCli({"info", File("round.GEM"), "--diameter", "6.5"});
  ASSERT_EQ(binary.status, 0) << binary.err;
  const Json a = Json::parse(text.out);
  const Json b = Json::parse(binary.out);
  EXPECT_EQ(b["format"], "GemCad");
  for (const char* key : {"symmetry", "gear", "mirror", "refractive_index", "headings", "vertices", "facets"}) {
    EXPECT_EQ(b[key], a[key]) << key;
  }
  ASSERT_EQ(b["tiers"].size(), a["tiers"].size());
  for (const char* key : {"volume", "weight_ct", "total_height_mm"}) {
    EXPECT_NEAR(b[key].get<double>(), a[key].get<double>(), 1e-9 * a[key].get<double>()) << key;
  }
  EXPECT_EQ(b["warnings"], Json::array());

  const auto traceText = RunCli({"trace", File("round.asc"), "--json", "--width", "60", "--height", "60"});
  const auto traceBinary = RunCli({"trace", File("round.GEM"), "--json", "--width", "60", "--height", "60"});
  ASSERT_EQ(traceBinary.status, 0) << traceBinary.err;
  const Json s = Json::parse(traceText.out);
  const Json t = Json::parse(traceBinary.out);
  EXPECT_EQ(t["beams"], s["beams"]);
  EXPECT_EQ(t["cut_short"], false);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(t["brightness"][c].get<double>(), s["brightness"][c].get<double>(), 1e-9);
}

TEST_F(GemCadBinaryInput, EveryReadingCommandTakesIt) {
  const std::vector<std::vector<std::string>> commands = {
      {"render", File("round.GEM"), "-o", File("round.png"), "--width", "100", "--height", "100"},
      {"analyze", File("round.GEM"), "--json", "--tilt", "1", "--depth", "2"},
      {"export", File("round.GEM"), "-o", File("again.asc")},
      {"export", File("round.GEM"), "-o", File("round.stl")},
      {"thumbnail", File("round.GEM"), File("thumb.png"), "--size", "48"},
      {"sheet", File("round.GEM"), "-o", File("sheet.png")},
  };
  for (const auto& args : commands) {
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 0) << args[0] << ": " << r.err;
  }
  // What export wrote from the binary reads back as the design itself.
  const GemCadReadResult again = ReadGemCadFile(File("again.asc"));
  ASSERT_TRUE(again.ok()) << again.error;
  EXPECT_EQ(again.design.tiers.size(), design_.tiers.size());
  EXPECT_TRUE(fs::exists(File("thumb.png")));
  EXPECT_TRUE(fs::exists(File("sheet.png")));
  // Its cutting table lists its tiers; there are no steps to tolerate errors in.
  const auto tolerances = RunCli({"sheet", File("round.GEM"), "--tolerances", "-o", File("tolerances.png")});
  EXPECT_EQ(tolerances.status, 3);
  EXPECT_NE(tolerances.err.find("needs a design of steps"), std::string::npos) << tolerances.err;
  EXPECT_FALSE(fs::exists(File("tolerances.png")));
}

TEST_F(GemCadBinaryInput, InfoWarnsOfCornersOffTheirPlanes) {
  std::ofstream(File("drift.gem"), std::ios::binary) << testing::GemCadBinaryOf(design_, 2e-3).bytes;
  const auto r = RunCli({"info", File("drift.gem")});
  ASSERT_EQ(r.status, 0) << r.err;
  const Json j = Json::parse(r.out);
  ASSERT_EQ(j["warnings"].size(), 1u);
  EXPECT_NE(j["warnings"][0].get<std::string>().find("off their planes"), std::string::npos) << j["warnings"][0];
  EXPECT_EQ(j["facets"], Json::parse(RunCli({"info", File("round.asc")}).out)["facets"]);
}

TEST_F(GemCadBinaryInput, NothingIsWrittenAsBinaryAndADamagedFileIsNamed) {
  const auto r = RunCli({"export", File("round.asc"), "-o", File("out.gem")});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("GemCad designs are written as .asc text"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(File("out.gem")));
  const auto optimize = RunCli({"optimize", "--default", "-o", File("out.gem")});
  EXPECT_EQ(optimize.status, 2);
  EXPECT_FALSE(fs::exists(File("out.gem")));

  fs::resize_file(File("round.GEM"), fs::file_size(File("round.GEM")) / 2);
  for (const char* command : {"info", "trace"}) {
    const auto cut = RunCli({command, File("round.GEM")});
    EXPECT_EQ(cut.status, 3) << command;
    EXPECT_EQ(cut.err.rfind("Invalid GemCad design: byte ", 0), 0u) << cut.err;
  }
}

}  // namespace
}  // namespace brillora
