// Saving designs and pictures: links are followed, long names saved, files the
// user may not write left alone, and a failure says what the system said.

#include "io/atomic_save.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QImage>

#include "io/design_file.h"
#include "io/image_file.h"
#include "io/image_gif.h"
#include "model/default_design.h"

namespace brillora {
namespace {

namespace fs = std::filesystem;

class Saving : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "brillora-save-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Read(const fs::path& file) const {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  int Entries() const {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++n;
    return n;
  }

  fs::path dir_;
};

QImage Picture() {
  QImage image(40, 30, QImage::Format_RGB888);
  image.fill(Qt::darkCyan);
  return image;
}

// Every way of saving, for the cases that hold for all of them.
using Save = std::optional<std::string> (*)(const fs::path&);
std::optional<std::string> SaveDesign(const fs::path& file) {
  const auto saved = WriteDesignFile(file, DefaultDesign(), 2.42);
  return saved.written ? std::nullopt : std::optional(saved.error);
}
std::optional<std::string> SavePng(const fs::path& file) { return WriteImageFile(Picture(), file, ImageFormat::Png); }
std::optional<std::string> SaveGif(const fs::path& file) { return WriteImageFile(Picture(), file, ImageFormat::Gif); }
std::optional<std::string> SaveAnimation(const fs::path& file) {
  AnimatedGifWriter writer(file, 40, 30, 4);
  writer.AddFrame(Picture());
  return writer.Finish() ? std::nullopt : std::optional(writer.Error());
}
const std::vector<std::pair<std::string, Save>> kSaves = {
    {".brl", SaveDesign}, {".png", SavePng}, {".gif", SaveGif}, {".gif", SaveAnimation}};

TEST_F(Saving, ThroughALinkTheTargetIsReplacedAndTheLinkStays) {
  for (const auto& [extension, save] : kSaves) {
    fs::create_directory(dir_ / "real");
    const fs::path target = dir_ / "real" / ("target" + extension);
    const fs::path link = dir_ / ("link" + extension);
    std::ofstream(target, std::ios::binary) << "old";
    fs::create_symlink(fs::path("real") / ("target" + extension), link);  // relative, as users make them
    ASSERT_FALSE(save(link)) << extension;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(Read(target), "old") << extension;
    EXPECT_EQ(Read(link), Read(target));
    int inFolder = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_ / "real")) ++inFolder;
    EXPECT_EQ(inFolder, 1) << "no temporary file is left beside the target";
    fs::remove_all(dir_ / "real");
    fs::remove(link);
  }
}

TEST_F(Saving, NamesAsLongAsTheFileSystemAllows) {
  for (const auto& [extension, save] : kSaves) {
    const fs::path file = dir_ / (std::string(255 - extension.size(), 'n') + extension);
    ASSERT_FALSE(save(file)) << extension;
    EXPECT_TRUE(fs::is_regular_file(file));
    fs::remove(file);
  }
  const fs::path design = dir_ / (std::string(244, 'd') + ".brl");
  ASSERT_FALSE(SaveDesign(design));
  EXPECT_TRUE(OpenDesignFile(design).ok());
}

TEST_F(Saving, AFileTheUserMayNotWriteIsNotReplaced) {
  for (const auto& [extension, save] : kSaves) {
    const fs::path file = dir_ / ("locked" + extension);
    std::ofstream(file, std::ios::binary) << "old";
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto error = save(file);
    ASSERT_TRUE(error) << extension;
    EXPECT_NE(error->find("Existing file " + file.string() + " is not writable"), std::string::npos) << *error;
    EXPECT_EQ(Read(file), "old");
    EXPECT_EQ(Entries(), 1);
    fs::remove(file);
  }
}

TEST_F(Saving, DevicesAndFifosAreNeverReplaced) {
  for (const auto& [extension, save] : kSaves) {
    const fs::path fifo = dir_ / ("fifo" + extension);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path link = dir_ / ("link" + extension);
    fs::create_symlink(fifo.filename(), link);
    for (const fs::path& path : {fifo, link}) {
      const auto error = save(path);
      ASSERT_TRUE(error) << path;
      EXPECT_NE(error->find("is not a regular file"), std::string::npos) << *error;
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(Entries(), 2);
    fs::remove(fifo);
    fs::remove(link);
  }
}

// A file size limit stands in for a full disk: the write fails with the
// system's reason, which the message gives in full.
TEST_F(Saving, AFailedWriteGivesTheSystemsReason) {
  rlimit before{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = before;
  tiny.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
  std::vector<std::pair<std::string, std::optional<std::string>>> errors;
  for (const auto& [extension, save] : kSaves) {
    const fs::path file = dir_ / ("full" + extension);
    std::ofstream(file, std::ios::binary) << "old";
    errors.emplace_back(extension, save(file));
    errors.back().first += ": " + Read(file);
  }
  ::setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, previous);
  for (const auto& [what, error] : errors) {
    ASSERT_TRUE(error) << what;
    EXPECT_NE(error->find(std::strerror(EFBIG)), std::string::npos) << what << ": " << *error;
    EXPECT_EQ(what.substr(what.find(": ") + 2), "old") << what;
  }
  EXPECT_EQ(Entries(), static_cast<int>(kSaves.size()) - 1) << "the two GIFs share a name; no temporary files";
}

}  // namespace
}  // namespace brillora
