#include "io/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace brillora {

namespace {

std::string WriteError(const std::filesystem::path& file, int errorNumber) {
  std::string message = "Cannot write \"";
  message += file.string();
  message += "\": ";
  message += std::strerror(errorNumber);
  return message;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

std::string WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  std::string hidden = ".";
  hidden += file.filename().string();
  hidden += ".XXXXXX";
  const std::string pattern = (folder / hidden).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return WriteError(file, errno);
  // A replaced file keeps its permissions; a new one gets the usual ones.
  struct stat existing{};
  const mode_t mode = ::stat(file.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
  int failure = 0;
  if (!WriteAll(fd, bytes) || ::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) failure = errno;
  if (::close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0 && ::rename(name.data(), file.c_str()) != 0) failure = errno;
  if (failure != 0) {
    ::unlink(name.data());
    return WriteError(file, failure);
  }
  return {};
}

}  // namespace brillora
