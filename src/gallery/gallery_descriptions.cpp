#include "gallery/gallery_descriptions.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "gallery/design_summary.h"

namespace brillora {
namespace {

constexpr std::streamsize kMostReadmeBytes = 1 << 20;

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// "| a | b |" as {"a", "b"}; a line that is no table row as nothing.
std::vector<std::string> TableCells(const std::string& line) {
  const std::string row = Trimmed(line);
  if (row.size() < 2 || row.front() != '|' || row.back() != '|') return {};
  std::vector<std::string> cells;
  std::istringstream in(row.substr(1, row.size() - 2));
  for (std::string cell; std::getline(in, cell, '|');) cells.push_back(Trimmed(cell));
  return cells;
}

}  // namespace

std::map<std::string, std::string> ReadGalleryDescriptions(const std::filesystem::path& folder) {
  std::map<std::string, std::string> descriptions;
  std::ifstream file(folder / "README.md", std::ios::binary);
  if (!file) return descriptions;
  std::string text(static_cast<std::size_t>(kMostReadmeBytes), '\0');
  file.read(text.data(), kMostReadmeBytes);
  text.resize(static_cast<std::size_t>(file.gcount()));

  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const std::vector<std::string> cells = TableCells(line);
    // The header and its rule name no design, so they fall out here.
    if (cells.size() < 2 || cells.back().empty()) continue;
    const std::filesystem::path name(cells.front());
    if (name.has_parent_path() || !IsGalleryDesignName(name)) continue;
    descriptions.emplace(cells.front(), cells.back());
  }
  return descriptions;
}

}  // namespace brillora
