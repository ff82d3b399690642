// brillora-cli trace --pick, run as a program.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/run_cli.h"

namespace brillora {
namespace {

using testing::RunCli;
using Json = nlohmann::json;

Json Trace(std::vector<std::string> args) {
  args.insert(args.begin(), "trace");
  args.push_back("--json");
  const auto r = RunCli(args);
  EXPECT_EQ(r.status, 0) << r.err;
  return r.status == 0 ? Json::parse(r.out) : Json::object();
}

// Crossing-number test of a polygon of [x, y] pairs.
bool Contains(const Json& polygon, double x, double y) {
  bool inside = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const double xi = polygon[i][0], yi = polygon[i][1], xj = polygon[j][0], yj = polygon[j][1];
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

// The pick at a pixel is the step of the first finished beam whose polygon
// holds the pixel's view point. Untraced, the beams are the facets seen;
// traced, they are the pieces of light, whichever way their corners turn.
void ExpectPicksAgree(const std::string& reflections, int expectedPicks) {
  const Json all = Trace({"--default", "--reflections", reflections, "--width", "300", "--height", "320"});
  const double scale = 300 / 2 - 1, centre = 320 / 2 - 1;
  int picked = 0;
  for (const auto& [x, y] : {std::pair{149, 159}, {149, 40}, {60, 100}, {240, 250}, {20, 159}, {149, 20}, {2, 2},
                             {299, 319}}) {
    const double vx = (x - scale) / scale, vy = (y - centre) / scale;
    Json expected = nullptr;
    for (const Json& beam : all["exit_beams"]) {
      if (Contains(beam["polygon"], vx, vy)) {
        expected = beam["step"];
        break;
      }
    }
    const Json one = Trace({"--default", "--reflections", reflections, "--width", "300", "--height", "320",
                            "--pick", std::to_string(x) + "," + std::to_string(y)});
    EXPECT_EQ(one["picked_step"], expected) << x << ", " << y << " at tag " << reflections;
    if (!expected.is_null()) ++picked;
  }
  EXPECT_EQ(picked, expectedPicks) << "at tag " << reflections;
}

TEST(TracePick, SelectsTheStepOfTheFacetUnderThePixel) {
  ExpectPicksAgree("0", 5);
  ExpectPicksAgree("13", 5);
}

TEST(TracePick, SummaryLineAndBadPixels) {
  // The table, in the middle of the crown.
  const auto table = RunCli({"trace", "--default", "--reflections", "0", "--pick", "224,232"});
  ASSERT_EQ(table.status, 0) << table.err;
  const Json beams = Trace({"--default", "--reflections", "0"})["exit_beams"];
  const int tableStep = beams.back()["step"];
  EXPECT_NE(table.out.find("\npicked step: " + std::to_string(tableStep) + "\n"), std::string::npos) << table.out;
  const auto outside = RunCli({"trace", "--default", "--pick", "1,1"});
  EXPECT_NE(outside.out.find("\npicked step: none\n"), std::string::npos) << outside.out;
  // Without --pick the summary has no such line and the JSON no such key.
  EXPECT_EQ(RunCli({"trace", "--default"}).out.find("picked"), std::string::npos);
  EXPECT_FALSE(Trace({"--default"}).contains("picked_step"));
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--pick", "3"}, {"--pick", "3,x"}, {"--pick"}, {"--pick", "450,10"},
        {"--pick", "10,-1"}, {"--width", "100", "--height", "100", "--pick", "100,50"}}) {
    std::vector<std::string> args{"trace", "--default"};
    args.insert(args.end(), bad.begin(), bad.end());
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2) << bad.back();
    EXPECT_NE(r.err.find("--pick needs"), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace brillora
