#include "io/atomic_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string_view>

namespace brillora {
namespace {

namespace fs = std::filesystem;

// Links are followed as the kernel follows them, up to its own limit.
constexpr int kMaxLinkHops = 40;

// The file a path names once symbolic links of its last part are followed;
// false (with errno) for a loop of links or a link that cannot be read.
bool FollowLinks(fs::path& file) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(file, error))) return true;
    const fs::path link = fs::read_symlink(file, error);
    if (error) {
      errno = error.value();
      return false;
    }
    file = link.is_absolute() ? link : file.parent_path() / link;
  }
  errno = ELOOP;
  return false;
}

// A new hidden file ".brillora-XXXXXXXX" in the folder, made with the mode
// every new file gets: the kernel applies the process's umask, which the
// program never sets (setting it to read it would change it for every thread
// for a moment). -1 with errno when no such file can be made.
int CreateTemporaryBeside(const fs::path& file, std::string& temporary) {
  static constexpr std::string_view kLetters =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  std::random_device entropy;
  std::uniform_int_distribution<std::size_t> letter(0, kLetters.size() - 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = ".brillora-";
    for (int i = 0; i < 8; ++i) name.push_back(kLetters[letter(entropy)]);
    temporary = (folder / name).string();
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

AtomicSave::AtomicSave(const fs::path& file) : target_(file) {
  if (!FollowLinks(target_)) {
    Fail(errno);
    return;
  }
  // A file the user may not write is not replaced, although its folder would
  // allow the rename; a mode without any write permission counts even for
  // the superuser, who may write anything. A folder is not replaced either.
  struct stat existing{};
  replacing_ = ::stat(target_.c_str(), &existing) == 0;
  if (replacing_ && S_ISDIR(existing.st_mode)) {
    Fail(EISDIR);
    return;
  }
  // Nor is a device or a FIFO: the rename would put a plain file in its place.
  if (replacing_ && !S_ISREG(existing.st_mode)) {
    error_ = "Existing file " + file.string() + " is not a regular file";
    return;
  }
  if (replacing_ && (::access(target_.c_str(), W_OK) != 0 || (existing.st_mode & 0222) == 0)) {
    error_ = "Existing file " + file.string() + " is not writable";
    return;
  }
  mode_ = existing.st_mode & 07777;
  fd_ = CreateTemporaryBeside(target_, temporary_);
  if (fd_ < 0) Fail(errno);
}

AtomicSave::~AtomicSave() {
  if (!committed_) Discard();
}

bool AtomicSave::Write(const void* data, std::size_t size) {
  const char* next = static_cast<const char*>(data);
  while (Ok() && size > 0) {
    const ssize_t written = ::write(fd_, next, size);
    if (written < 0) {
      if (errno != EINTR) Fail(errno);
      continue;
    }
    next += written;
    size -= static_cast<std::size_t>(written);
  }
  return Ok();
}

bool AtomicSave::Commit() {
  if (!Ok()) return false;
  // A replaced file keeps its own permissions.
  if ((replacing_ && ::fchmod(fd_, mode_) != 0) || ::fsync(fd_) != 0) {
    Fail(errno);
    return false;
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    Fail(errno);
    return false;
  }
  committed_ = true;
  return true;
}

void AtomicSave::Fail(int errorNumber) {
  error_ = std::strerror(errorNumber);
  Discard();
}

void AtomicSave::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

}  // namespace brillora
