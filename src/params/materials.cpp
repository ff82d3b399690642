#include "params/materials.h"

namespace brillora {

std::optional<Material> FindMaterial(std::string_view name) {
  for (const Material& m : kMaterials) {
    if (m.name == name) return m;
  }
  return std::nullopt;
}

}  // namespace brillora
