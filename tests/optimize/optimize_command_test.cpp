// brillora-cli optimize, run as a program.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/run_cli.h"

namespace brillora {
namespace {

using testing::RunCli;
using Json = nlohmann::json;

std::string Sample(const std::string& file) { return testing::BinDir() + "/GEM_DAT/" + file; }

TEST(OptimizeCommand, ReportsABetterDesignWithItsTolerances) {
  const auto run = RunCli({"optimize", Sample("RoundBrilliant.brl"), "--tilt", "0", "--max-evaluations", "30",
                           "--threads", "2", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  const Json r = Json::parse(run.out);
  for (const char* key : {"start", "result", "tolerance", "evaluations", "seconds", "settings"}) {
    EXPECT_TRUE(r.contains(key)) << key;
  }
  for (const char* part : {"start", "result"}) {
    ASSERT_EQ(r[part]["variables"].size(), 2u) << part;
    EXPECT_TRUE(r[part]["variables"].contains("crown:1:slope")) << part;
    EXPECT_TRUE(r[part]["variables"].contains("pavilion:1:slope")) << part;
    // The merit is the default weights' mean of the three figures.
    const Json& f = r[part]["figures"];
    EXPECT_NEAR(r[part]["merit"].get<double>(),
                (f["iso"].get<double>() + f["cos"].get<double>() + f["sc2"].get<double>()) / 3, 2e-4)
        << part;
  }
  EXPECT_GT(r["result"]["merit"].get<double>(), r["start"]["merit"].get<double>());
  EXPECT_LE(r["evaluations"].get<int>(), 30);
  ASSERT_EQ(r["tolerance"].size(), 2u);
  for (const auto& [name, t] : r["tolerance"].items()) {
    EXPECT_TRUE(t.contains("minus")) << name;
    EXPECT_TRUE(t.contains("plus")) << name;
  }
  EXPECT_EQ(r["settings"]["views"], 1);
}

TEST(OptimizeCommand, NamesTheStepItCannotVary) {
  const auto missing = RunCli({"optimize", Sample("RoundBrilliant.brl"), "--vary", "pavilion:9:slope"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("pavilion:9:slope"), std::string::npos) << missing.err;
  EXPECT_NE(missing.err.find("no such step"), std::string::npos) << missing.err;

  const auto bad = RunCli({"optimize", "--default", "--vary", "crown:1:angle"});
  EXPECT_EQ(bad.status, 2);

  // An Auto step: the dodecagon's second crown tier follows the first.
  const auto automatic = RunCli({"optimize", Sample("Dodecagon12.brl"), "--vary", "crown:2:slope"});
  EXPECT_EQ(automatic.status, 2);
  EXPECT_NE(automatic.err.find("crown:2:slope"), std::string::npos) << automatic.err;
  EXPECT_NE(automatic.err.find("Auto"), std::string::npos) << automatic.err;
}

TEST(OptimizeCommand, SaysWhyAStartOutsideTheLimitsIsNotOptimized) {
  const auto run = RunCli({"optimize", Sample("RoundBrilliant.brl"), "--max-total-depth", "30", "--tilt", "0"});
  EXPECT_EQ(run.status, 4);
  EXPECT_NE(run.err.find("total depth"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace brillora
