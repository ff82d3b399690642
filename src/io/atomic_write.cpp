#include "io/atomic_write.h"

#include "io/atomic_save.h"

namespace brillora {

std::string WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
  AtomicSave out(file);
  if (out.Write(bytes.data(), bytes.size()) && out.Commit()) return {};
  return "Cannot write \"" + file.string() + "\": " + out.Error();
}

}  // namespace brillora
