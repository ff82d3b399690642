// brillora-cli trace, run as a program.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "support/run_cli.h"

namespace brillora {
namespace {

using testing::RunCli;
using Json = nlohmann::json;

const std::string kSamples = std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/";

Json TraceJson(std::vector<std::string> args) {
  args.insert(args.begin(), "trace");
  args.push_back("--json");
  const auto r = RunCli(args);
  EXPECT_EQ(r.status, 0) << r.err;
  return r.status == 0 ? Json::parse(r.out) : Json::object();
}

TEST(TraceCommand, DefaultCrownViewAsJson) {
  const Json j = TraceJson({"--default"});
  EXPECT_EQ(j["level0"], 17);
  EXPECT_EQ(j["beams"].get<std::size_t>(), j["exit_beams"].size());
  EXPECT_GT(j["beams"].get<int>(), 17);
  EXPECT_GT(j["store_used"].get<int>(), j["beams"].get<int>());
  EXPECT_GE(j["max_level_reached"].get<int>(), 2);
  EXPECT_LE(j["max_level_reached"].get<int>(), 13);
  EXPECT_EQ(j["cut_short"], false);
  EXPECT_EQ(j["bg_color"], Json::parse("[0.0, 0.0, 0.0]"));
  EXPECT_NEAR(j["inner_color"][0].get<double>(), 0.2519646, 1e-7);
  // The default girdle outline is a regular octagon of radius 1: 2 sqrt 2.
  EXPECT_NEAR(j["projected_area"].get<double>(), 2 * std::sqrt(2.0), 1e-6);

  double area = 0, weighted = 0;
  for (const Json& beam : j["exit_beams"]) {
    for (const char* key : {"level", "step", "polygon", "pixels", "color", "in_light", "out_light", "area"}) {
      ASSERT_TRUE(beam.contains(key)) << key;
    }
    EXPECT_GE(beam["polygon"].size(), 3u);
    EXPECT_LE(beam["pixels"].size(), beam["polygon"].size());
    for (const Json& pixel : beam["pixels"]) {
      EXPECT_GE(pixel[0].get<int>(), -1);
      EXPECT_LE(pixel[0].get<int>(), 449);
    }
    area += beam["area"].get<double>();
    weighted += beam["area"].get<double>() * beam["color"][0].get<double>();
  }
  EXPECT_NEAR(j["brightness"][0].get<double>(), weighted / area, 1e-12);
  EXPECT_LE(area, j["projected_area"].get<double>());
  EXPECT_GT(area, 0.98 * j["projected_area"].get<double>());
}

TEST(TraceCommand, SwitchesOfTheReflectionsMenu) {
  const Json plain = TraceJson({"--default", "--reflections", "0"});
  EXPECT_EQ(plain["beams"], 17);
  EXPECT_EQ(plain["store_used"], 18);
  EXPECT_EQ(plain["exit_beams"][16]["color"][0], 1.0);  // the table, face on: white

  const Json reflected = TraceJson({"--default", "--reflected"});
  EXPECT_EQ(reflected["beams"], 17);
  for (const Json& beam : reflected["exit_beams"]) EXPECT_EQ(beam["out_light"], 1.0);

  const Json noSurface = TraceJson({"--default", "--reflections", "2", "--no-surface"});
  for (const Json& beam : noSurface["exit_beams"]) EXPECT_LE(beam["level"].get<int>(), 2);
  EXPECT_LE(noSurface["max_level_reached"].get<int>(), 2);
}

TEST(TraceCommand, ViewsLightsAndMaterials) {
  const Json pavilion = TraceJson({"--default", "--view", "pavilion"});
  EXPECT_EQ(pavilion["level0"], 9);  // eight pavilion mains and the culet
  const Json turned = TraceJson({"--default", "--view", "30,20", "--light", "redblue"});
  EXPECT_EQ(turned["bg_color"], Json::parse("[0.0, 0.0, 1.0]"));
  const Json zones = TraceJson({"--default", "--light", "zones", "--zones", "10,20,30"});
  EXPECT_NE(zones["brightness"], TraceJson({"--default", "--light", "zones"})["brightness"]);
  const Json glass = TraceJson({"--default", "--material", "Amber"});
  const Json same = TraceJson({"--default", "--ri", "1.54"});
  EXPECT_EQ(glass["brightness"], same["brightness"]);
  const Json big = TraceJson({kSamples + "RoundBrilliant.brl", "--width", "900", "--height", "934"});
  EXPECT_GT(big["level0"].get<int>(), 17);
}

TEST(TraceCommand, SummaryWithoutJson) {
  const auto r = RunCli({"trace", "--default"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("level-0 beams: 17"), std::string::npos);
  EXPECT_NE(r.out.find("\ncut short: no\n"), std::string::npos);
}

TEST(TraceCommand, BadInputIsRefusedWithAMessage) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"trace", "--reflections", "14"}, {"trace", "--reflections", "x"},
        {"trace", "--view", "sideways"}, {"trace", "--view", "1,2,3"}, {"trace", "--light", "pink"},
        {"trace", "--zones", "60,30,90"}, {"trace", "--ri", "0.5"}, {"trace", "--material", "Glass"},
        {"trace", "--ri", "1.5", "--material", "Amber"}, {"trace", "--width", "0"},
        {"trace", "--height"}, {"trace", "--reflected", "--reflections", "3"}, {"trace", "--bogus"}}) {
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2) << args[1];
    EXPECT_NE(r.err.find("usage:"), std::string::npos);
  }
  const auto missing = RunCli({"trace", kSamples + "NoSuchDesign.brl"});
  EXPECT_EQ(missing.status, 3);
  EXPECT_FALSE(missing.err.empty());
}

// With --dispersion the beams of each line come under "lines": the C, d and
// F lines at the material's index there, blue bent most.
TEST(TraceCommand, DispersionGivesTheBeamsOfEachLine) {
  const Json j = TraceJson({kSamples + "RoundBrilliant.brl", "--dispersion", "--width", "120", "--height", "120"});
  ASSERT_EQ(j["lines"].size(), 3u);
  EXPECT_EQ(j["dispersion"], 0.044);
  EXPECT_EQ(j["lines"][0]["wavelength"], 656.3);
  EXPECT_EQ(j["lines"][1]["wavelength"], 587.6);
  EXPECT_EQ(j["lines"][2]["wavelength"], 486.1);
  EXPECT_LT(j["lines"][0]["refractive_index"].get<double>(), 2.42);
  EXPECT_GT(j["lines"][2]["refractive_index"].get<double>(), j["lines"][1]["refractive_index"].get<double>());
  for (const Json& line : j["lines"]) {
    EXPECT_EQ(line["beams"].get<std::size_t>(), line["exit_beams"].size());
    EXPECT_GT(line["beams"].get<int>(), 100);
  }
  // Without it the output is as it always was: one trace, no lines.
  const Json plain = TraceJson({kSamples + "RoundBrilliant.brl", "--width", "120", "--height", "120"});
  EXPECT_FALSE(plain.contains("lines"));
  EXPECT_TRUE(plain.contains("exit_beams"));
}

}  // namespace
}  // namespace brillora
