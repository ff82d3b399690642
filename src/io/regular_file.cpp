#include "io/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace brillora {
namespace {

// Closes the descriptor when the read is done, whichever way it ends.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

template <typename Buffer>
std::optional<Buffer> ReadBounded(const std::filesystem::path& file, std::size_t limit, std::string& failure) {
  const auto fail = [&](std::string why) {
    failure = std::move(why);
    return std::nullopt;
  };
  const auto systemFailure = [&] { return fail(errno == ENOENT ? "the file does not exist" : std::strerror(errno)); };
  // Without O_NONBLOCK opening a FIFO waits for a writer that may never come.
  const Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) return systemFailure();
  struct stat info{};
  if (::fstat(fd.get(), &info) != 0) return systemFailure();
  if (!S_ISREG(info.st_mode)) return fail("not a regular file");
  if (info.st_size < 0 || static_cast<std::size_t>(info.st_size) > limit) return fail("the file is too large");

  // The size is a hint only (files of /proc say 0, a file may grow): read to
  // the end, but never past the limit. Bytes beyond the size are taken in
  // small pieces, so that a file read whole is held only once.
  Buffer content(static_cast<std::size_t>(info.st_size), 0);
  std::size_t filled = 0;
  char probe[4096];
  for (;;) {
    const bool full = filled == content.size();
    const ssize_t got = full ? ::read(fd.get(), probe, sizeof probe)
                             : ::read(fd.get(), content.data() + filled, content.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      return systemFailure();
    }
    if (got == 0) break;
    const auto count = static_cast<std::size_t>(got);
    if (filled + count > limit) return fail("the file is too large");
    if (full) content.insert(content.end(), probe, probe + count);
    filled += count;
  }
  content.resize(filled);
  return content;
}

}  // namespace

std::optional<std::string> ReadRegularFile(const std::filesystem::path& file, std::size_t limit) {
  std::string failure;
  return ReadBounded<std::string>(file, limit, failure);
}

RegularFileRead ReadRegularFileOrSayWhy(const std::filesystem::path& file, std::size_t limit) {
  RegularFileRead read;
  read.content = ReadBounded<std::string>(file, limit, read.failure);
  return read;
}

std::optional<std::vector<std::uint8_t>> ReadRegularFileBytes(const std::filesystem::path& file,
                                                              std::size_t limit) {
  std::string failure;
  return ReadBounded<std::vector<std::uint8_t>>(file, limit, failure);
}

}  // namespace brillora
