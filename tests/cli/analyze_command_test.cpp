// brillora-cli analyze, run as a program.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/run_cli.h"

namespace brillora {
namespace {

using testing::RunCli;
using Json = nlohmann::json;

Json Analyze(std::vector<std::string> args) {
  args.insert(args.begin(), "analyze");
  args.push_back("--json");
  const auto r = RunCli(args);
  EXPECT_EQ(r.status, 0) << r.err;
  return r.status == 0 ? Json::parse(r.out) : Json::object();
}

TEST(AnalyzeCommand, GivesTheFaceUpFiguresAndATiltCurvePerAxis) {
  const Json r = Analyze({(testing::BinDir() + "/GEM_DAT/RoundBrilliant.brl"), "--tilt", "4", "--tilt-step", "2"});
  const Json& up = r["face_up"];
  for (const char* key : {"iso", "cos", "sc2", "table_iso", "table_cos", "table_sc2", "leakage", "head_shadow",
                          "unresolved"}) {
    ASSERT_TRUE(up.contains(key)) << key;
    EXPECT_GE(up[key].get<double>(), 0) << key;
    EXPECT_LE(up[key].get<double>(), 100) << key;
  }
  // Percentages of two decimals: the budget closes to within their rounding.
  const double budget = up["iso"].get<double>() + up["leakage"].get<double>() + up["head_shadow"].get<double>() +
                        up["unresolved"].get<double>();
  EXPECT_NEAR(budget, 100, 0.03);
  EXPECT_GT(up["iso"].get<double>(), up["cos"].get<double>());

  // The brilliant has eight sectors: its axes are the x axis and 22.5 degrees on.
  ASSERT_EQ(r["tilt"].size(), 2u);
  EXPECT_EQ(r["tilt"][0]["azimuth"], 0.0);
  EXPECT_EQ(r["tilt"][1]["azimuth"], 22.5);
  for (const Json& axis : r["tilt"]) {
    const Json& points = axis["points"];
    ASSERT_EQ(points.size(), 5u);
    EXPECT_EQ(points[0]["angle"], -4.0);
    EXPECT_EQ(points[4]["angle"], 4.0);
    // Tilted by nothing, the stone is seen face up.
    EXPECT_NEAR(points[2]["iso"].get<double>(), up["iso"].get<double>(), 0.011);
    double low = 100, high = 0, sum = 0;
    for (const Json& p : points) {
      const double iso = p["iso"];
      low = std::min(low, iso);
      high = std::max(high, iso);
      sum += iso;
    }
    EXPECT_NEAR(axis["mean"]["iso"].get<double>(), sum / 5, 0.011);
    EXPECT_NEAR(axis["variation"]["iso"].get<double>(), high - low, 0.011);
  }
  EXPECT_EQ(r["settings"]["depth"], 9);
  EXPECT_EQ(r["settings"]["head"], 10.0);
  EXPECT_EQ(r["settings"]["refractive_index"], 2.42);
  EXPECT_EQ(r["cut_short"], false);
  // Every piece of its light is followed to the depth.
  EXPECT_EQ(r["face_up"]["error_bound"], 0.0);
  for (const Json& axis : r["tilt"]) EXPECT_EQ(axis["error_bound"], 0.0);
}

// Far deeper than the default, the 48-fold sample's tilted views make more
// pieces of light than a view's budget follows: what is left is bounded, in
// points, rounded up, on every point and axis, and counted as unresolved.
TEST(AnalyzeCommand, BoundsTheErrorOfLightLeftUnfollowed) {
  const Json r = Analyze({testing::BinDir() + "/GEM_DAT/Round48.brl", "--material", "Diamond", "--depth", "30",
                          "--tilt", "20", "--tilt-step", "20", "--azimuth", "0"});
  EXPECT_EQ(r["cut_short"], false);
  ASSERT_EQ(r["tilt"].size(), 1u);
  const Json& axis = r["tilt"][0];
  double largest = 0;
  for (const Json& p : axis["points"]) {
    ASSERT_TRUE(p.contains("error_bound"));
    EXPECT_GE(p["error_bound"].get<double>(), 0.0);
    largest = std::max(largest, p["error_bound"].get<double>());
  }
  EXPECT_GT(largest, 0.0);
  EXPECT_LT(largest, 100.0);
  EXPECT_EQ(axis["error_bound"], largest);
  ASSERT_TRUE(r["face_up"].contains("error_bound"));

  const auto table = RunCli({"analyze", "--default", "--tilt", "0"});
  EXPECT_NE(table.out.find("error bound"), std::string::npos);
}

TEST(AnalyzeCommand, TakesTheHeadDepthAxesAndMaterialGiven) {
  const Json r = Analyze({"--default", "--head", "15", "--depth", "4", "--tilt", "0", "--azimuth", "5,10,15",
                          "--material", "Quartz"});
  EXPECT_EQ(r["settings"]["head"], 15.0);
  EXPECT_EQ(r["settings"]["depth"], 4);
  EXPECT_EQ(r["settings"]["refractive_index"], 1.55);
  ASSERT_EQ(r["tilt"].size(), 3u);
  EXPECT_EQ(r["tilt"][2]["azimuth"], 15.0);
  EXPECT_EQ(r["tilt"][0]["points"].size(), 1u);
  // Quartz keeps far less light than diamond.
  const Json diamond = Analyze({"--default", "--tilt", "0"});
  EXPECT_LT(r["face_up"]["iso"].get<double>(), diamond["face_up"]["iso"].get<double>());

  const auto table = RunCli({"analyze", "--default", "--tilt", "0"});
  EXPECT_EQ(table.status, 0);
  EXPECT_NE(table.out.find("ISO"), std::string::npos);
  EXPECT_NE(table.out.find("head shadow"), std::string::npos);
}

TEST(AnalyzeCommand, RefusesBadOptionsAndUnreadableDesigns) {
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--depth", "0"}, {"--depth", "31"}, {"--head", "-1"}, {"--tilt-step", "0"},
        {"--azimuth", "5,"}, {"--azimuth", "x"}, {"--ri", "2", "--material", "Diamond"}, {"--material", "Cheese"},
        {"--reflections", "3"}}) {
    std::vector<std::string> args{"analyze", "--default"};
    args.insert(args.end(), bad.begin(), bad.end());
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2) << bad[0];
    EXPECT_NE(r.err.find("usage: brillora-cli analyze"), std::string::npos) << bad[0];
  }
  const auto missing = RunCli({"analyze", testing::BinDir() + "/GEM_DAT/NoSuchDesign.brl"});
  EXPECT_EQ(missing.status, 3);
  EXPECT_TRUE(missing.out.empty());
}

TEST(AnalyzeCommand, PlotsTheTiltCurvesAsAPictureOrADrawing) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "brillora_analyze_plot";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string png = (folder / "tilt.png").string(), svg = (folder / "tilt.svg").string();
  ASSERT_EQ(RunCli({"analyze", "--default", "--tilt", "10", "--plot", png}).status, 0);
  const QImage picture(QString::fromStdString(png));
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), QSize(900, 600));
  // Three figures' colours show: the curves are drawn, not only the frame.
  int coloured = 0;
  for (int y = 0; y < picture.height(); y += 2) {
    for (int x = 0; x < picture.width(); x += 2) {
      const QColor c = picture.pixelColor(x, y);
      if (std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 80) ++coloured;
    }
  }
  EXPECT_GT(coloured, 300);

  ASSERT_EQ(RunCli({"analyze", "--default", "--tilt", "10", "--plot", svg}).status, 0);
  std::ifstream in(svg);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("<svg"), std::string::npos);
  EXPECT_NE(text.str().find("ISO at 0.0"), std::string::npos);

  const auto unwritable = RunCli({"analyze", "--default", "--tilt", "0", "--plot", (folder / "none" / "x.png").string()});
  EXPECT_EQ(unwritable.status, 4);
  EXPECT_FALSE(std::filesystem::exists(folder / "none"));
  EXPECT_EQ(RunCli({"analyze", "--default", "--plot", (folder / "x.gif").string()}).status, 2);
  std::filesystem::remove_all(folder);
}

// Fire, spread and the ASET shares beside the figures there were; the tilt
// points gain fire. The material's dispersion, or one given, makes the fire.
TEST(AnalyzeCommand, GivesFireSpreadAndTheAsetShares) {
  const std::string brilliant = testing::BinDir() + "/GEM_DAT/RoundBrilliant.brl";
  const Json r = Analyze({brilliant, "--tilt", "2"});
  const Json& up = r["face_up"];
  for (const char* key : {"fire", "spread", "aset_red", "aset_green", "aset_blue", "aset_black"}) {
    ASSERT_TRUE(up.contains(key)) << key;
  }
  EXPECT_NEAR(up["aset_red"].get<double>() + up["aset_green"].get<double>(), up["iso"].get<double>(), 0.011);
  EXPECT_EQ(up["aset_blue"], up["head_shadow"]);
  EXPECT_EQ(up["aset_black"], up["leakage"]);
  EXPECT_NEAR(up["aset_red"].get<double>() + up["aset_green"].get<double>() + up["aset_blue"].get<double>() +
                  up["aset_black"].get<double>() + up["unresolved"].get<double>(),
              100, 0.03);
  EXPECT_GT(up["fire"].get<double>(), 5);
  EXPECT_LE(up["fire"].get<double>(), up["iso"].get<double>());
  for (const Json& point : r["tilt"][0]["points"]) ASSERT_TRUE(point.contains("fire"));
  EXPECT_EQ(r["settings"]["dispersion"], 0.044);  // no line in the file: diamond's

  const Json none = Analyze({brilliant, "--tilt", "2", "--custom-dispersion", "0"});
  EXPECT_EQ(none["face_up"]["fire"], 0.0);
  EXPECT_EQ(none["face_up"]["spread"], 0.0);
  EXPECT_EQ(none["face_up"]["iso"], up["iso"]);
  // Zirconia-like: more dispersion, more fire at a like index.
  const Json cz = Analyze({brilliant, "--tilt", "2", "--ri", "2.16", "--custom-dispersion", "0.060"});
  const Json low = Analyze({brilliant, "--tilt", "2", "--ri", "2.16", "--custom-dispersion", "0.010"});
  EXPECT_GT(cz["face_up"]["fire"].get<double>(), low["face_up"]["fire"].get<double>());
  EXPECT_EQ(Analyze({brilliant, "--tilt", "2", "--material", "Quartz"})["settings"]["dispersion"], 0.013);

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"analyze", brilliant, "--custom-dispersion", "0.31"},
        {"analyze", brilliant, "--custom-dispersion", "x"},
        {"analyze", brilliant, "--custom-dispersion"},
        {"analyze", brilliant, "--material", "Quartz", "--custom-dispersion", "0.02"}}) {
    const auto run = RunCli(bad);
    EXPECT_EQ(run.status, 2) << bad.back();
    EXPECT_FALSE(run.err.empty());
  }
}

}  // namespace
}  // namespace brillora
