#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QImage>

#include "support/run_cli.h"

namespace brillora {
namespace {

using testing::RunCli;

const std::string kSamples = std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/";

class SheetCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("brillora_sheet_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string File(const std::string& name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
};

// What pdftotext reads of a PDF, or of the named page.
std::string PdfText(const std::string& file, const std::string& extra = "") {
  const std::string command = "pdftotext " + extra + " '" + file + "' -";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string text;
  char buffer[4096];
  while (pipe && fgets(buffer, sizeof buffer, pipe.get()) != nullptr) text += buffer;
  return text;
}

std::string PdfInfo(const std::string& file) {
  const std::string command = "pdfinfo '" + file + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string text;
  char buffer[4096];
  while (pipe && fgets(buffer, sizeof buffer, pipe.get()) != nullptr) text += buffer;
  return text;
}

TEST_F(SheetCommand, PdfHoldsOnePageWithTheStepTable) {
  const auto r = RunCli({"sheet", kSamples + "RoundBrilliant.brl", "-o", File("sheet.pdf")});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string info = PdfInfo(File("sheet.pdf"));
  EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
  EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
  const std::string text = PdfText(File("sheet.pdf"));
  EXPECT_NE(text.find("RI = 2.42"), std::string::npos) << text;
  for (const char* word : {"Angle", "Split", "Shift", "Position", "Auto"}) {
    // Once for the crown and once for the pavilion.
    const auto first = text.find(word);
    ASSERT_NE(first, std::string::npos) << word;
    EXPECT_NE(text.find(word, first + 1), std::string::npos) << word;
  }
  // The sample's crown and pavilion angles, as the design file holds them.
  for (const char* angle : {"89.00", "42.00", "34.50", "22.00", "40.75"}) {
    EXPECT_NE(text.find(angle), std::string::npos) << angle;
  }
  // The two pictures are drawn into the page.
  const std::string layout = PdfText(File("sheet.pdf"), "-layout");
  EXPECT_FALSE(layout.empty());
}

TEST_F(SheetCommand, PictureOfThePageShowsTwoStones) {
  const auto r = RunCli({"sheet", "--default", "-o", File("sheet.png"), "--page", "Letter"});
  ASSERT_EQ(r.status, 0) << r.err;
  const QImage page(QString::fromStdString(File("sheet.png")));
  // Letter at 150 dots per inch.
  ASSERT_EQ(page.size(), QSize(1275, 1650));
  // The default rectangle: a square 10 % in from the left and top; the crown
  // picture in its upper half, the pavilion in the lower, paper white around.
  const int left = static_cast<int>(0.1 * 1275), top = static_cast<int>(0.1 * 1650);
  const int side = static_cast<int>(0.8 * 1275);
  const auto inked = [&](int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; y += 3)
      for (int x = x0; x < x1; x += 3) count += page.pixel(x, y) != qRgb(255, 255, 255);
    return count;
  };
  const int quarter = side / 4;
  EXPECT_GT(inked(left + quarter / 2, top + quarter / 2, left + quarter * 3 / 2, top + quarter * 3 / 2), 1000);
  EXPECT_GT(inked(left + quarter / 2, top + side / 2 + quarter / 2, left + quarter * 3 / 2, top + side / 2 + quarter * 3 / 2), 1000);
  EXPECT_EQ(inked(0, 0, left - 2, 1650), 0);
  EXPECT_EQ(inked(0, top + side + 2, 1275, 1650), 0);
}

// Printing honours the "Dispersion" item: three lines of no dispersion print
// the plain page, a diamond's another.
TEST_F(SheetCommand, DispersionPrintsThePictureAtThreeLines) {
  const auto page = [&](const std::string& name, std::vector<std::string> extra) {
    std::vector<std::string> args = {"sheet", kSamples + "RoundBrilliant.brl", "-o", File(name), "--kind", "image",
                                     "--no-edges"};
    args.insert(args.end(), extra.begin(), extra.end());
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return QImage(QString::fromStdString(File(name)));
  };
  const QImage plain = page("plain.png", {});
  ASSERT_FALSE(plain.isNull());
  EXPECT_EQ(page("none.png", {"--dispersion", "--custom-dispersion", "0"}), plain);
  EXPECT_NE(page("fire.png", {"--dispersion"}), plain);
}

TEST_F(SheetCommand, ImageKindAndMarginsPlaceTheViewAlone) {
  const auto r = RunCli({"sheet", "--default", "-o", File("image.pdf"), "--kind", "image", "--margins", "20,20,20,20",
                         "--no-edges", "--ri", "1.54"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string text = PdfText(File("image.pdf"));
  EXPECT_EQ(text.find("Angle"), std::string::npos);
  EXPECT_EQ(text.find("RI ="), std::string::npos);
}

TEST_F(SheetCommand, BadRequestsAreRefusedAndLoseNothing) {
  EXPECT_EQ(RunCli({"sheet", "--default"}).status, 2);
  EXPECT_EQ(RunCli({"sheet", "--default", "-o", File("x.jpg")}).status, 2);
  EXPECT_EQ(RunCli({"sheet", "--default", "-o", File("x.pdf"), "--page", "A3"}).status, 2);
  EXPECT_EQ(RunCli({"sheet", "--default", "-o", File("x.pdf"), "--margins", "10,10,10"}).status, 2);
  EXPECT_EQ(RunCli({"sheet", "--default", "-o", File("x.pdf"), "--margins", "50,10,10,49"}).status, 2);
  EXPECT_EQ(RunCli({"sheet", "--default", "-o", File("x.pdf"), "--width", "300"}).status, 2);
  EXPECT_EQ(RunCli({"sheet", File("missing.brl"), "-o", File("x.pdf")}).status, 3);
  EXPECT_FALSE(std::filesystem::exists(File("x.pdf")));
  EXPECT_EQ(RunCli({"sheet", "--default", "-o", File("no such folder/x.pdf")}).status, 4);
}

}  // namespace
}  // namespace brillora
