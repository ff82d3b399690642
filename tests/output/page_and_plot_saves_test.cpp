// brillora-cli's page and plot files keep the rules every save of the program
// keeps: links are followed, FIFOs, devices and files the user may not write
// are never replaced, a replaced file keeps its permissions, and a failed write
// gives the system's reason and leaves the old file as it was.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_cli.h"

namespace brillora {
namespace {

namespace fs = std::filesystem;
using testing::RunCli;

struct Writer {
  std::string extension;
  std::string start;  // how a file of the kind begins
  std::function<std::vector<std::string>(const std::string& file)> args;
};

const std::vector<Writer> kWriters = {
    {".pdf", "%PDF-", [](const std::string& f) { return std::vector<std::string>{"sheet", "--default", "-o", f}; }},
    {".png", "\x89PNG",
     [](const std::string& f) {
       return std::vector<std::string>{"analyze", "--default", "--tilt", "0", "--plot", f};
     }},
    {".svg", "<?xml",
     [](const std::string& f) {
       return std::vector<std::string>{"analyze", "--default", "--tilt", "0", "--plot", f};
     }},
};

class PageAndPlotSaves : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "brillora-writers-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
  }
  void TearDown() override { fs::remove_all(dir_); }

  static std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static int Entries(const fs::path& folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
    return n;
  }
  static void Old(const fs::path& file, fs::perms mode) {
    std::ofstream(file, std::ios::binary) << "old";
    fs::permissions(file, mode);
  }

  fs::path dir_;
};

TEST_F(PageAndPlotSaves, ThroughALinkTheTargetIsReplacedAndTheLinkStays) {
  for (const Writer& w : kWriters) {
    fs::create_directory(dir_ / "real");
    const fs::path target = dir_ / "real" / ("target" + w.extension);
    const fs::path link = dir_ / ("link" + w.extension);
    Old(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(fs::path("real") / target.filename(), link);
    const auto r = RunCli(w.args(link.string()));
    ASSERT_EQ(r.status, 0) << w.extension << ": " << r.err;
    EXPECT_TRUE(fs::is_symlink(link)) << w.extension;
    EXPECT_EQ(Read(target).rfind(w.start, 0), 0u) << w.extension;
    // The replaced file keeps its own permissions.
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write) << w.extension;
    EXPECT_EQ(Entries(dir_ / "real"), 1) << "no temporary file is left beside the target";
    fs::remove_all(dir_ / "real");
    fs::remove(link);
  }
}

// A device of the test's own where it may make one (as the superuser, who
// could also replace a system one), else the system's null device, which
// nobody else may replace.
fs::path NullDevice(const fs::path& own) {
  if (::mknod(own.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) return own;
  return "/dev/null";
}

TEST_F(PageAndPlotSaves, FifosAndDevicesAreNeverReplaced) {
  fs::create_directory(dir_ / "devices");
  for (const Writer& w : kWriters) {
    const fs::path device = NullDevice(dir_ / "devices" / ("null" + w.extension));
    const fs::path fifo = dir_ / ("fifo" + w.extension);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path toFifo = dir_ / ("to-fifo" + w.extension);
    const fs::path toDevice = dir_ / ("to-null" + w.extension);
    fs::create_symlink(fifo.filename(), toFifo);
    fs::create_symlink(device, toDevice);
    std::vector<fs::path> paths = {fifo, toFifo, toDevice};
    if (device.extension() == w.extension) paths.push_back(device);  // named as the writer wants
    for (const fs::path& path : paths) {
      const auto r = RunCli(w.args(path.string()));
      EXPECT_EQ(r.status, 4) << path;
      EXPECT_NE(r.err.find("cannot write " + path.string() + ": Existing file " + path.string() +
                           " is not a regular file"),
                std::string::npos)
          << r.err;
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_symlink(toDevice));
    EXPECT_TRUE(fs::is_character_file(device));
    EXPECT_EQ(Entries(dir_), 4);
    for (const fs::path& path : {fifo, toFifo, toDevice}) fs::remove(path);
  }
}

TEST_F(PageAndPlotSaves, AFileTheUserMayNotWriteIsNotReplaced) {
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  for (const Writer& w : kWriters) {
    const fs::path file = dir_ / ("locked" + w.extension);
    Old(file, readOnly);
    const auto r = RunCli(w.args(file.string()));
    EXPECT_EQ(r.status, 4) << w.extension;
    EXPECT_NE(r.err.find("cannot write " + file.string() + ": Existing file " + file.string() + " is not writable"),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(Read(file) == "old") << file;
    EXPECT_EQ(fs::status(file).permissions(), readOnly);
    EXPECT_EQ(Entries(dir_), 1);
    fs::remove(file);
  }
}

// A file size limit stands in for a full disk: the program is stopped by
// nothing but the failed write, whose reason it gives, and the old file stays.
TEST_F(PageAndPlotSaves, AFailedWriteGivesTheSystemsReason) {
  rlimit before{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);  // kept by the program run
  rlimit small = before;
  small.rlim_cur = 4096;  // room for its messages, none for a page or a plot
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::vector<testing::CliResult> results;
  for (const Writer& w : kWriters) {
    const fs::path file = dir_ / ("full" + w.extension);
    Old(file, fs::perms::owner_read | fs::perms::owner_write);
    results.push_back(RunCli(w.args(file.string())));
  }
  ::setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, previous);
  for (std::size_t i = 0; i < kWriters.size(); ++i) {
    const fs::path file = dir_ / ("full" + kWriters[i].extension);
    EXPECT_EQ(results[i].status, 4) << file;
    EXPECT_NE(results[i].err.find("cannot write " + file.string() + ": " + std::strerror(EFBIG)), std::string::npos)
        << results[i].err;
    EXPECT_TRUE(Read(file) == "old") << file;
  }
  EXPECT_EQ(Entries(dir_), static_cast<int>(kWriters.size())) << "no temporary files";
}

}  // namespace
}  // namespace brillora
