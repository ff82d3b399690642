#include "sample_stone.h"

#include <filesystem>
#include <stdexcept>

#include "io/design_file.h"
#include "model/facet_construction.h"

namespace brillora::testing {

Design SampleDesign(const std::string& file) {
  const DesignReadResult read = OpenDesignFile(std::filesystem::path(BRILLORA_SOURCE_DIR) / "GEM_DAT" / file);
  if (!read.ok()) throw std::runtime_error(file + ": " + read.error);
  return read.design;
}

Stone SampleStone(const std::string& file) {
  Design design = SampleDesign(file);
  return ConstructStone(design);
}

}  // namespace brillora::testing
