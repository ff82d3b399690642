#include "io/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

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
  // A new file gets the mode every new file gets under the process's umask.
  std::random_device entropy;
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    std::string hidden = ".";
    hidden += file.filename().string();
    hidden += ".";
    hidden += std::to_string(entropy() % 1000000);
    temporary = (folder / hidden).string();
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return WriteError(file, errno);
  // A replaced file keeps its permissions.
  struct stat existing{};
  const bool replacing = ::stat(file.c_str(), &existing) == 0;
  int failure = 0;
  if (!WriteAll(fd, bytes) || (replacing && ::fchmod(fd, existing.st_mode & 07777) != 0) || ::fsync(fd) != 0) {
    failure = errno;
  }
  if (::close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0 && ::rename(temporary.c_str(), file.c_str()) != 0) failure = errno;
  if (failure != 0) {
    ::unlink(temporary.c_str());
    return WriteError(file, failure);
  }
  return {};
}

}  // namespace brillora
