#include "gallery/gallery_listing.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "gallery/design_summary.h"

namespace brillora {
namespace {

bool ByNameIgnoringCase(const std::filesystem::path& a, const std::filesystem::path& b) {
  const std::string x = a.filename().string(), y = b.filename().string();
  const auto lower = [](unsigned char c) { return std::tolower(c); };
  return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                      [&](char p, char q) { return lower(p) < lower(q); });
}

}  // namespace

GalleryListing ListGalleryFolder(const std::filesystem::path& folder) {
  GalleryListing listing;
  std::error_code error;
  std::filesystem::directory_iterator entry(folder, error);
  if (error) {
    listing.error = folder.string() + ": " + error.message();
    return listing;
  }
  // Counted before any picture is drawn: the first names in order are kept.
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    std::error_code kind;
    if (entry->is_regular_file(kind) && IsGalleryDesignName(entry->path())) listing.files.push_back(entry->path());
  }
  if (error) listing.error = folder.string() + ": " + error.message();
  std::sort(listing.files.begin(), listing.files.end(), ByNameIgnoringCase);
  if (listing.files.size() > kGalleryMostDesigns) {
    listing.files.resize(kGalleryMostDesigns);
    listing.moreLeftOut = true;
  }
  return listing;
}

}  // namespace brillora
