#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "support/run_cli.h"

namespace brillora {
namespace {

using testing::RunCli;
using Json = nlohmann::json;

const std::string kSamples = std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/";

TEST(InfoCommand, DefaultStone) {
  const auto r = RunCli({"info", "--default"});
  ASSERT_EQ(r.status, 0) << r.err;
  const Json j = Json::parse(r.out);
  EXPECT_EQ(j["symmetry"], 8);
  EXPECT_EQ(j["gear"], 96);
  EXPECT_EQ(j["vertices"], 32);
  EXPECT_EQ(j["facets"], 26);
  EXPECT_NEAR(j["table_D"].get<double>(), 0.29696, 1e-5);
  EXPECT_NEAR(j["culet_D"].get<double>(), 0.62018, 1e-5);
  ASSERT_EQ(j["crown"].size(), 2u);  // the girdle tier and the 40-degree tier
  ASSERT_EQ(j["pavilion"].size(), 1u);
  EXPECT_EQ(j["crown"][1]["angle"], 40.0);
  EXPECT_EQ(j["crown"][0]["auto"], true);
  EXPECT_FALSE(j.contains("weight_ct"));
  EXPECT_FALSE(j.contains("facet_list"));
  // No argument at all means the default design too.
  EXPECT_EQ(Json::parse(RunCli({"info"}).out), j);
}

TEST(InfoCommand, WeightAndHeightsForADiameter) {
  const auto diamond = Json::parse(RunCli({"info", "--default", "--diameter", "6.5"}).out);
  // One model unit is half the diameter.
  EXPECT_NEAR(diamond["crown_height_mm"].get<double>(), 0.2969555 * 3.25, 1e-6);
  EXPECT_NEAR(diamond["total_height_mm"].get<double>(), (0.2969555 + 0.6201816) * 3.25, 1e-6);
  const double volumeCm3 = diamond["volume"].get<double>() * std::pow(0.325, 3);
  EXPECT_NEAR(diamond["weight_ct"].get<double>(), volumeCm3 * 3.52 * 5, 1e-9);

  const auto quartz = Json::parse(RunCli({"info", "--default", "--diameter", "6.5", "--material", "Quartz"}).out);
  EXPECT_NEAR(quartz["weight_ct"].get<double>(), diamond["weight_ct"].get<double>() * 2.65 / 3.52, 1e-9);
  const auto sg = Json::parse(RunCli({"info", "--default", "--diameter", "13", "--sg", "2.65"}).out);
  EXPECT_NEAR(sg["weight_ct"].get<double>(), 8 * quartz["weight_ct"].get<double>(), 1e-9);
}

TEST(InfoCommand, FacetListInConstructionOrder) {
  const auto j = Json::parse(RunCli({"info", kSamples + "Default.brl", "--facets"}).out);
  const auto& list = j["facet_list"];
  ASSERT_EQ(list.size(), 26u);
  EXPECT_EQ(list[0]["step"], 0);
  EXPECT_EQ(list[25]["step"], 4);
  EXPECT_EQ(list[0]["points"].size(), 8u);
  EXPECT_NEAR(list[0]["normal"][2].get<double>(), -1.0, 1e-12);
  for (const auto& f : list) {
    for (const auto& p : f["points"]) {
      const double off = f["normal"][0].get<double>() * p[0].get<double>() +
                         f["normal"][1].get<double>() * p[1].get<double>() +
                         f["normal"][2].get<double>() * p[2].get<double>() - f["D"].get<double>();
      EXPECT_NEAR(off, 0.0, 1e-9);
    }
  }
}

TEST(InfoCommand, UnreadableDesignsAndBadUsage) {
  const std::string dir = ::testing::TempDir();
  const std::string bad = dir + "/bad.brl";
  std::ofstream(bad) << "13 Order of Symmetry\r\n";
  auto r = RunCli({"info", bad});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "Invalid File Format\n");
  r = RunCli({"info", dir + "/design.doc"});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "Invalid File Type\n");

  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"info", "--diameter"},
                                             {"info", "--diameter", "-2"},
                                             {"info", "--material", "Unobtainium"},
                                             {"info", "--material", "Diamond", "--sg", "3"},
                                             {"info", "--bogus"},
                                             {"frobnicate"},
                                             {}}) {
    r = RunCli(args);
    EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args.back());
    EXPECT_NE(r.err.find("usage"), std::string::npos) << r.err;
  }
}

TEST(InfoCommand, HelpListsEveryCommand) {
  const auto r = RunCli({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("info"), std::string::npos);
}

}  // namespace
}  // namespace brillora
