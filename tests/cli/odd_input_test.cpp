// brillora-cli given paths that are no files, endless files and values the
// optics cannot use: the reader's message and the usual status, never a
// crash, a hang or unbounded memory.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/run_cli.h"

namespace brillora {
namespace {

namespace fs = std::filesystem;
using testing::RunCli;

class OddInput : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "brillora-cli-odd-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string File(const std::string& name) const { return (dir_ / name).string(); }

  // A directory, a FIFO and a link to an endless device, with the extension given.
  std::vector<std::string> OddPaths(const std::string& extension) const {
    fs::create_directory(File("folder" + extension));
    EXPECT_EQ(::mkfifo(File("fifo" + extension).c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", File("zero" + extension));
    return {File("folder" + extension), File("fifo" + extension), File("zero" + extension)};
  }

  fs::path dir_;
};

TEST_F(OddInput, DesignsThatAreNoFilesAreUnreadable) {
  for (const std::string& path : OddPaths(".brl")) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"info", path}, {"trace", path}, {"edit", path, "--do", "new-step"}}) {
      const auto r = RunCli(args);
      EXPECT_EQ(r.status, 3) << args[0] << ' ' << path << ": " << r.err;
      EXPECT_EQ(r.err, "Invalid File Format\n");
    }
  }
}

TEST_F(OddInput, PicturesThatAreNoFilesAreUnreadable) {
  for (const std::string extension : {".jpg", ".gif"}) {
    for (const std::string& path : OddPaths(extension)) {
      const auto r = RunCli({"render", "--default", "--front", path, "-o", File("x.png"), "--width", "100",
                             "--height", "100"});
      EXPECT_EQ(r.status, 3) << path << ": " << r.err;
      EXPECT_EQ(r.err, "Invalid graphic file format.\n");
    }
  }
  EXPECT_FALSE(fs::exists(File("x.png")));
}

TEST_F(OddInput, IndicesAndTurnsTheOpticsCannotUse) {
  const std::string design = File("d.brl");
  std::ofstream(design, std::ios::binary) << "8 Order of Symmetry\r\n1 Steps of Crown\r\nh\r\n"
                                             "1\t89.00\t0\t0\t0.70\t1\r\n1 Steps of Pavilion\r\nh\r\n"
                                             "1\t41.00\t0\t0\t0.20\t0\r\n-1 Refractive Index\r\n";
  const auto negative = RunCli({"trace", design});
  EXPECT_EQ(negative.status, 3);
  EXPECT_EQ(negative.err, "Invalid File Format\n");

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--ri", "-1"}, {"--ri", "0.99"}, {"--ri", "5.01"}, {"--ri", "1e400"},
        {"--view", "1e100,0"}, {"--view", "0,-361"}, {"--view", "nan,0"}}) {
    std::vector<std::string> words = {"trace", "--default"};
    words.insert(words.end(), args.begin(), args.end());
    const auto r = RunCli(words);
    EXPECT_EQ(r.status, 2) << args[0] << ' ' << args[1];
    EXPECT_NE(r.err.find(args[0] + " needs"), std::string::npos) << r.err;
  }
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--ri", "1"}, {"--ri", "5"}, {"--view", "-360,360"}}) {
    EXPECT_EQ(RunCli({"trace", "--default", args[0], args[1]}).status, 0) << args[0] << ' ' << args[1];
  }
}

}  // namespace
}  // namespace brillora
