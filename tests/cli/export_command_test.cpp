// brillora-cli export, through the built program.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "support/run_cli.h"

namespace brillora {
namespace {

namespace fs = std::filesystem;
using testing::RunCli;

fs::path Scratch(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / ("brillora_export_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return dir / name;
}

std::string Sample(const std::string& name) { return std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/" + name; }

TEST(ExportCommand, WritesStlAndObjOfTheStoneAtTheDiameterAsked) {
  const fs::path stl = Scratch("round.stl");
  const auto r = RunCli({"export", Sample("RoundBrilliant.brl"), "-o", stl.string(), "--diameter", "6.5"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto json = nlohmann::json::parse(r.out);
  const std::size_t triangles = json["triangles"];
  EXPECT_EQ(fs::file_size(stl), 84 + 50 * triangles);
  EXPECT_EQ(json["diameter_mm"], 6.5);

  const fs::path obj = Scratch("round.OBJ");
  const auto o = RunCli({"export", Sample("RoundBrilliant.brl"), "-o", obj.string()});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(nlohmann::json::parse(o.out)["diameter_mm"], 10.0);
  std::ifstream in(obj);
  int faces = 0;
  for (std::string line; std::getline(in, line);) faces += line.rfind("f ", 0) == 0 ? 1 : 0;
  EXPECT_EQ(static_cast<std::size_t>(faces), triangles);
}

TEST(ExportCommand, RefusesBadOptionsAndNamesAFileItCannotWrite) {
  EXPECT_EQ(RunCli({"export", "--default"}).status, 2);
  EXPECT_EQ(RunCli({"export", "--default", "-o", Scratch("x.png").string()}).status, 2);
  EXPECT_EQ(RunCli({"export", "--default", "-o", Scratch("x.stl").string(), "--diameter", "-1"}).status, 2);
  EXPECT_EQ(RunCli({"export", Scratch("missing.brl").string(), "-o", Scratch("x.stl").string()}).status, 3);
  const auto r = RunCli({"export", "--default", "-o", "/nonexistent-folder/x.stl"});
  EXPECT_EQ(r.status, 4);
  EXPECT_NE(r.err.find("/nonexistent-folder/x.stl"), std::string::npos) << r.err;
}

TEST(ExportCommand, EverySampleExportsToGemCadAndReadsBackAsTheSameStone) {
  for (const char* name : {"Default.brl", "Dodecagon12.brl", "Hexagon6.brl", "Round48.brl", "RoundBrilliant.brl"}) {
    const fs::path asc = Scratch(std::string(name) + ".asc");
    const auto written = RunCli({"export", Sample(name), "-o", asc.string()});
    ASSERT_EQ(written.status, 0) << name << ": " << written.err;
    const auto design = RunCli({"info", Sample(name)});
    const auto imported = RunCli({"info", asc.string()});
    ASSERT_EQ(imported.status, 0) << name << ": " << imported.err;
    const auto a = nlohmann::json::parse(design.out);
    const auto b = nlohmann::json::parse(imported.out);
    EXPECT_EQ(b["format"], "GemCad");
    EXPECT_NEAR(b["volume"].get<double>(), a["volume"].get<double>(), 1e-5 * a["volume"].get<double>()) << name;
    EXPECT_EQ(b["facets"], a["facets"]) << name;
    for (const auto& stl : {Scratch(std::string(name) + ".stl"), Scratch(std::string(name) + ".obj")}) {
      EXPECT_EQ(RunCli({"export", asc.string(), "-o", stl.string()}).status, 0) << name;
    }
  }
  const fs::path asc = Scratch("Default.brl.asc");
  EXPECT_EQ(RunCli({"trace", asc.string()}).status, 0);
  EXPECT_EQ(RunCli({"render", asc.string(), "-o", Scratch("d.png").string(), "--width", "100", "--height", "100"}).status, 0);
  EXPECT_EQ(RunCli({"edit", asc.string(), "--do", "maxslope 30"}).status, 3);
}

TEST(ExportCommand, AnUnreadableGemCadDesignIsNamedAndRefused) {
  const fs::path bad = Scratch("bad.asc");
  std::ofstream(bad) << "GemCad 5.0\ng 96 0\na 40 nan 0\n";
  for (const char* command : {"info", "trace"}) {
    const auto r = RunCli({command, bad.string()});
    EXPECT_EQ(r.status, 3) << command;
    EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace brillora
