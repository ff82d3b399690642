// brillora-cli edit, end to end through the built program.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <numbers>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

struct Result {
  int status = -1;
  std::string out;
  std::string err;
  Json json() const { return Json::parse(out); }
};

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class EditCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("brillora_edit_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs brillora-cli with the words given (already quoted for the shell).
  Result Cli(const std::string& words) const {
    const fs::path out = dir_ / "stdout", err = dir_ / "stderr";
    const std::string command = std::string("'") + BRILLORA_BIN_DIR + "/brillora-cli' " + words + " >'" +
                                out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    Result r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadAll(out);
    r.err = ReadAll(err);
    return r;
  }

  fs::path Write(const std::string& name, const std::string& text) const {
    const fs::path file = dir_ / name;
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }

  fs::path dir_;
};

constexpr double kDegree = std::numbers::pi / 180.0;

TEST_F(EditCommand, SymmetrySixteenKeepsTheSplitWhileTheListShowsTwo) {
  const Result r = Cli("edit --default --do 'tab 1' --do 'split 5' --do 'symmetry 16'");
  ASSERT_EQ(r.status, 0) << r.err;
  const Json j = r.json();
  EXPECT_EQ(j["symmetry"], 16);
  EXPECT_EQ(j["crown"][1]["split"], 5);
  EXPECT_EQ(j["editor"]["SplitBox"]["items"], Json({"0", "1", "2"}));
  EXPECT_EQ(j["editor"]["SplitBox"]["index"], 2);
  EXPECT_EQ(j["editor"]["Label5"], "96-notch Gear");
  EXPECT_EQ(j["vertices"].get<int>() % 16, 0);

  const Result refused = Cli("edit --default --do 'symmetry 13'");
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("symmetry 13"), std::string::npos) << refused.err;
  EXPECT_TRUE(refused.out.empty());
}

TEST_F(EditCommand, NewOnAGirdleOnlyCrownMakesTheMainTierAtTheMaxSlope) {
  const Result r = Cli("edit --default --do clear-next --do 'maxslope 38.5' --do new");
  ASSERT_EQ(r.status, 0) << r.err;
  const Json j = r.json();
  ASSERT_EQ(j["crown"].size(), 2u);
  EXPECT_EQ(j["crown"][1]["angle"], 38.5);
  EXPECT_EQ(j["crown"][1]["posit"], 0.7);
  EXPECT_EQ(j["crown"][1]["auto"], false);
  EXPECT_EQ(j["editor"]["TabControl2"]["items"], Json({"Girdle", "1", "New"}));
  EXPECT_EQ(j["editor"]["TabControl2"]["index"], 1);
  EXPECT_EQ(j["editor"]["CheckBox"], false);
  EXPECT_EQ(j["editor"]["visible"], Json({"ShiftBox", "Label4"}));

  const Result refused = Cli("edit --default --do 'tab 3'");
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("\"tab 3\""), std::string::npos) << refused.err;
}

TEST_F(EditCommand, MaxSlopeScalesALaterTypedTier) {
  const Result r = Cli("edit --default --do new --do 'slope 30' --do 'maxslope 45'");
  ASSERT_EQ(r.status, 0) << r.err;
  const Json j = r.json();
  EXPECT_EQ(j["crown"][1]["angle"], 45.0);
  const double expected = std::atan(std::tan(30 * kDegree) / std::tan(40 * kDegree)) / kDegree;
  EXPECT_NEAR(j["crown"][2]["angle"].get<double>(), expected, 1e-12);
  EXPECT_NEAR(j["crown"][2]["angle"].get<double>(), 34.53, 0.005);
  EXPECT_EQ(j["editor"]["TrackAngle2"], 450);

  const Result bar = Cli("edit --default --do 'maxslope-bar 425'");
  ASSERT_EQ(bar.status, 0) << bar.err;
  EXPECT_EQ(bar.json()["crown"][1]["angle"], 42.5);
  EXPECT_EQ(bar.json()["editor"]["RxSpinEdit2"], 42.5);
  EXPECT_EQ(Cli("edit --default --do 'maxslope 90'").status, 2);
  EXPECT_EQ(Cli("edit --default --do 'maxslope-bar 0'").status, 2);
}

TEST_F(EditCommand, ShiftOfTheFirstCrownTierCarriesToThePavilion) {
  const Result r = Cli("edit --default --do 'shift 3'");
  ASSERT_EQ(r.status, 0) << r.err;
  const Json j = r.json();
  EXPECT_EQ(j["crown"][0]["shift"], 3);
  EXPECT_EQ(j["pavilion"][0]["shift"], 3);
  EXPECT_EQ(j["pavilion"][0]["split"], 0);
  EXPECT_EQ(j["facets"], 26);

  const Result split = Cli("edit --default --do 'split 2' --do 'shift 6'");
  ASSERT_EQ(split.status, 0) << split.err;
  EXPECT_EQ(split.json()["pavilion"][0]["split"], 4);
  EXPECT_EQ(split.json()["editor"]["ShiftBox"]["items"], Json({"0", "6"}));

  const Result beyond = Cli("edit --default --do 'split 6'");
  EXPECT_EQ(beyond.status, 2);
  EXPECT_NE(beyond.err.find("split 6"), std::string::npos);
  EXPECT_EQ(Cli("edit --default --do 'shift 7'").status, 2);
}

TEST_F(EditCommand, ClearNextOnStepOneOfFour) {
  const Result r = Cli("edit --default --do new-step --do new-step --do new-step --do 'tab 2' "
                       "--do 'slope 31' --do 'tab 1' --do clear-next");
  ASSERT_EQ(r.status, 0) << r.err;
  const Json j = r.json();
  ASSERT_EQ(j["crown"].size(), 2u);  // the girdle and step 1
  EXPECT_EQ(j["crown"][1]["angle"], 40.0);
  EXPECT_EQ(j["editor"]["TabControl2"]["items"], Json({"Girdle", "1", "New"}));
  EXPECT_EQ(j["facets"], 26);
}

TEST_F(EditCommand, SlopesAndAuto) {
  const Result r = Cli("edit --default --do new --do 'slope-bar 253'");
  ASSERT_EQ(r.status, 0) << r.err;
  const Json j = r.json();
  EXPECT_EQ(j["crown"][2]["angle"], 25.3);
  EXPECT_EQ(j["crown"][2]["auto"], false);  // entering the slope turned Auto off
  EXPECT_EQ(j["editor"]["CheckBox"], false);
  EXPECT_EQ(j["editor"]["RxSpinEdit1"], 25.3);

  const Result back = Cli("edit --default --do new --do 'slope 30' --do 'auto on'");
  ASSERT_EQ(back.status, 0) << back.err;
  EXPECT_EQ(back.json()["crown"][2]["auto"], true);
  EXPECT_LT(back.json()["crown"][2]["angle"].get<double>(), 40.0);  // derived again

  // The main tier's slope belongs to the Max Slope; the girdle has no Auto box.
  const Result hidden = Cli("edit --default --do 'tab 1' --do 'slope 30'");
  EXPECT_EQ(hidden.status, 2);
  EXPECT_NE(hidden.err.find("RxSpinEdit1"), std::string::npos) << hidden.err;
  EXPECT_EQ(Cli("edit --default --do 'auto off'").status, 2);
  EXPECT_EQ(Cli("edit --default --do 'slope-bar 891'").status, 2);
  EXPECT_EQ(Cli("edit --default --do 'auto maybe'").status, 2);
}

TEST_F(EditCommand, PositionAndDataTabs) {
  const Result r = Cli("edit --default --do 'position 45' --do 'datatab 2'");
  ASSERT_EQ(r.status, 0) << r.err;
  const Json j = r.json();
  EXPECT_EQ(j["editor"]["Label6"], "Girdle thickness = 0.045");
  EXPECT_EQ(j["editor"]["PositBar"], 45);
  EXPECT_NEAR(j["crown"][0]["posit"].get<double>(), 1 - 0.045 / std::tan(89 * kDegree), 1e-15);
  EXPECT_EQ(j["editor"]["FacetAngle2Label"], "Facet Slope =\t0");
  char table[32];
  std::snprintf(table, sizeof table, "Distance =\t%.3f", j["table_D"].get<double>());
  EXPECT_EQ(j["editor"]["DistLabel"], table);

  const Result tier = Cli("edit --default --do 'tab 1' --do 'position 55'");
  ASSERT_EQ(tier.status, 0) << tier.err;
  EXPECT_EQ(tier.json()["crown"][1]["posit"], 0.55);
  EXPECT_EQ(tier.json()["editor"]["Label6"], "Position = 0.55");
  EXPECT_EQ(Cli("edit --default --do 'position 201'").status, 2);
  EXPECT_EQ(Cli("edit --default --do 'datatab 3'").status, 2);
}

TEST_F(EditCommand, SideSwitch) {
  const Result r = Cli("edit --default --do 'side pavilion' --do 'maxslope 42' --do new");
  ASSERT_EQ(r.status, 0) << r.err;
  const Json j = r.json();
  EXPECT_EQ(j["editor"]["TabControl1"]["index"], 1);
  EXPECT_EQ(j["editor"]["TabControl2"]["items"], Json({"1", "2", "New"}));
  EXPECT_EQ(j["editor"]["TabControl3"]["items"], Json({"1", "2", "Culet"}));
  ASSERT_EQ(j["pavilion"].size(), 2u);
  EXPECT_NEAR(j["pavilion"][0]["angle"].get<double>(), 42.0, 1e-12);
  EXPECT_EQ(j["crown"][1]["angle"], 40.0);

  const Result back = Cli("edit --default --do 'side pavilion' --do 'side crown'");
  ASSERT_EQ(back.status, 0) << back.err;
  EXPECT_EQ(back.json()["editor"]["TabControl2"]["items"], Json({"Girdle", "1", "New"}));
  EXPECT_EQ(Cli("edit --default --do 'side top'").status, 2);
}

TEST_F(EditCommand, WritesTheResultWithTheFilesRefractiveIndex) {
  const fs::path design = Write("in.brl",
                                "8 Order of Symmetry\r\n"
                                "2 Steps of Crown\r\n"
                                "Step\tAngle\tSplit\tShift\tPosit\tAuto\r\n"
                                "1\t89.00\t0\t0\t0.50\t1\r\n"
                                "2\t41.00\t0\t0\t0.65\t0\r\n"
                                "1 Steps of Pavilion\r\n"
                                "Step\tAngle\tSplit\tShift\tPosit\tAuto\r\n"
                                "1\t40.50\t0\t0\t0.20\t1\r\n"
                                "1.760 Refractive Index\r\n");
  const fs::path out = dir_ / "sweep.TXT";
  const Result r = Cli("edit '" + design.string() + "' --do 'side pavilion' --do 'maxslope 43' -o '" +
                       out.string() + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string text = ReadAll(out);
  EXPECT_NE(text.find("1\t43.00\t0\t0\t0.20\t1\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("2\t41.00\t0\t0\t0.65\t0\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("1.760 Refractive Index"), std::string::npos) << text;

  // Read back, the written design is the one printed.
  const Result again = Cli("info '" + out.string() + "'");
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.json()["facets"], r.json()["facets"]);
  EXPECT_NEAR(again.json()["culet_D"].get<double>(), r.json()["culet_D"].get<double>(), 1e-9);

  // The default design is saved with the diamond's index.
  const fs::path fromDefault = dir_ / "default.brl";
  ASSERT_EQ(Cli("edit --default -o '" + fromDefault.string() + "'").status, 0);
  EXPECT_NE(ReadAll(fromDefault).find("2.420 Refractive Index"), std::string::npos);
}

TEST_F(EditCommand, FailuresLeaveNothingHalfDone) {
  const Result badName = Cli("edit --default -o '" + (dir_ / "out.png").string() + "'");
  EXPECT_EQ(badName.status, 2);
  EXPECT_FALSE(fs::exists(dir_ / "out.png"));

  const Result unwritable = Cli("edit --default -o '" + (dir_ / "missing" / "out.brl").string() + "'");
  EXPECT_EQ(unwritable.status, 4);
  EXPECT_FALSE(unwritable.err.empty());
  EXPECT_TRUE(unwritable.out.empty());

  const fs::path kept = Write("kept.brl", "keep me");
  const Result refused = Cli("edit --default --do 'split 9' -o '" + kept.string() + "'");
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(ReadAll(kept), "keep me");

  const Result unreadable = Cli("edit '" + Write("bad.brl", "13 Order of Symmetry\r\n").string() + "'");
  EXPECT_EQ(unreadable.status, 3);
  EXPECT_NE(unreadable.err.find("Invalid File Format"), std::string::npos);

  EXPECT_EQ(Cli("edit --default --do").status, 2);
  EXPECT_EQ(Cli("edit --default --do 'twist 3'").status, 2);
  EXPECT_EQ(Cli("edit --default --do 'tab x'").status, 2);
}

TEST_F(EditCommand, InfoShowsTheDesignAsTheEditorInstallsIt) {
  // The girdle's turn is carried to the pavilion when the design is installed.
  const fs::path design = Write("turned.txt",
                                "8 Order of Symmetry\r\n"
                                "2 Steps of Crown\r\n"
                                "Step\tAngle\tSplit\tShift\tPosit\tAuto\r\n"
                                "1\t89.00\t0\t2\t0.70\t1\r\n"
                                "2\t40.00\t0\t0\t0.70\t0\r\n"
                                "1 Steps of Pavilion\r\n"
                                "Step\tAngle\tSplit\tShift\tPosit\tAuto\r\n"
                                "1\t40.00\t0\t-1\t0.20\t1\r\n"
                                "2.420 Refractive Index\r\n");
  const Result info = Cli("info '" + design.string() + "'");
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(info.json()["pavilion"][0]["shift"], 2);
  const Result edit = Cli("edit '" + design.string() + "'");
  ASSERT_EQ(edit.status, 0) << edit.err;
  Json withoutEditor = edit.json();
  withoutEditor.erase("editor");
  EXPECT_EQ(withoutEditor, info.json());
}

}  // namespace
