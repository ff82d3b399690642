#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace brillora {

// A public library of designs may hold thousands; the gallery shows this many
// at most, so that its pictures stay within memory.
inline constexpr std::size_t kGalleryMostDesigns = 1000;

struct GalleryListing {
  std::vector<std::filesystem::path> files;  // by name, without regard to case
  bool moreLeftOut = false;                  // the folder holds more than kGalleryMostDesigns
  std::string error;                         // the folder cannot be read; empty when listed
};

// The design files of `folder` (not of its subfolders) that the gallery lists.
GalleryListing ListGalleryFolder(const std::filesystem::path& folder);

}  // namespace brillora
