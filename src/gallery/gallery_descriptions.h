#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace brillora {

// A folder of designs may say what each one shows in its README.md, in a
// table whose first column names the design file and whose last describes it
// (as GEM_DAT does). The descriptions by file name; none when the folder has
// no such file or table. Only the file's first megabyte is read.
std::map<std::string, std::string> ReadGalleryDescriptions(const std::filesystem::path& folder);

}  // namespace brillora
