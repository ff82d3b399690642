#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace brillora {

// Writes `bytes` whole or not at all, as AtomicSave does, so a
// failed write leaves the old file as it was and no half-written one. Empty
// when written, else the message naming the file and the reason.
std::string WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes);

}  // namespace brillora
