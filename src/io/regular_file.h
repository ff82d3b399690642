#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace brillora {

// The content of a regular file of at most `limit` bytes. nullopt for anything
// else: a missing or unreadable file, a directory, a FIFO, a device (also
// behind a symbolic link), or a file longer than the limit. Such a path is
// never read from (a FIFO would block, a device could be endless), and no more
// than `limit` + 1 bytes are ever taken from a file that grows while it is read.
std::optional<std::string> ReadRegularFile(const std::filesystem::path& file, std::size_t limit);
// The content, or why there is none: "the file does not exist", "not a
// regular file", "the file is too large" or the system's reason.
struct RegularFileRead {
  std::optional<std::string> content;
  std::string failure;
};
RegularFileRead ReadRegularFileOrSayWhy(const std::filesystem::path& file, std::size_t limit);

// The same, as bytes.
std::optional<std::vector<std::uint8_t>> ReadRegularFileBytes(const std::filesystem::path& file,
                                                              std::size_t limit);

}  // namespace brillora
