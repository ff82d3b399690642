// Every design shipped in GEM_DAT reads, opens in the design window as it is
// written, builds a closed stone with every tier and is listed in the folder's
// README with its figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "io/design_file.h"
#include "model/editor_observer.h"
#include "model/facet_construction.h"
#include "model/step_editor.h"
#include "params/materials.h"
#include "support/stone_checks.h"

namespace brillora {
namespace {

const std::filesystem::path kSamples = std::filesystem::path(BRILLORA_SOURCE_DIR) / "GEM_DAT";

Stone BuildSample(const std::string& name, Design* designOut = nullptr) {
  DesignReadResult read = OpenDesignFile(kSamples / name);
  EXPECT_TRUE(read.ok()) << name << ": " << read.error;
  Stone stone = ConstructStone(read.design);
  if (designOut) *designOut = read.design;
  return stone;
}

std::map<int, int> FacetsPerStep(const Stone& stone) {
  std::map<int, int> count;
  for (const TFacet& f : stone.AllFacets) ++count[f.Step];
  return count;
}

std::set<std::string> SampleFiles() {
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(kSamples)) {
    if (entry.path().extension() == ".brl") files.insert(entry.path().filename().string());
  }
  return files;
}

// What the README's table says of one design.
struct ReadmeRow {
  int symmetry = 0;
  std::size_t facets = 0;
  std::string material;
};

// The cells of a table row "| a | b | ... |", trimmed; none for another line.
std::vector<std::string> TableCells(const std::string& line) {
  std::vector<std::string> cells;
  if (line.size() < 2 || line.front() != '|' || line.back() != '|') return cells;
  std::size_t start = 1;
  for (std::size_t bar = line.find('|', start); bar != std::string::npos; bar = line.find('|', start)) {
    const std::string cell = line.substr(start, bar - start);
    const std::size_t first = cell.find_first_not_of(' ');
    cells.push_back(first == std::string::npos ? "" : cell.substr(first, cell.find_last_not_of(' ') - first + 1));
    start = bar + 1;
  }
  return cells;
}

// The rows of the README's tables that name a design file:
// | File.brl | 8 (96 gear) | 74 | Diamond | what it shows |
std::map<std::string, ReadmeRow> ReadmeTable() {
  std::map<std::string, ReadmeRow> rows;
  std::ifstream in(kSamples / "README.md");
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> cells = TableCells(line);
    if (cells.size() != 5 || !cells[0].ends_with(".brl")) continue;
    EXPECT_EQ(rows.count(cells[0]), 0u) << cells[0] << " is listed twice";
    EXPECT_FALSE(cells[4].empty()) << cells[0] << " has no description";
    rows[cells[0]] = {std::atoi(cells[1].c_str()), std::strtoul(cells[2].c_str(), nullptr, 10), cells[3]};
  }
  return rows;
}

// The facets each step of the construction order promises: one for the culet
// and the table, N for a tier, 2N for a split tier.
std::map<int, int> PromisedFacets(const Design& d) {
  std::map<int, int> count;
  int step = 0;
  count[step++] = 1;
  for (std::size_t i = d.PavilionSteps.size() - 2; i >= 1; --i) {
    count[step++] = d.SymOrder * (d.PavilionSteps[i].Split > 0 ? 2 : 1);
  }
  for (std::size_t i = 1; i + 1 < d.CrownSteps.size(); ++i) {
    count[step++] = d.SymOrder * (d.CrownSteps[i].Split > 0 ? 2 : 1);
  }
  count[step] = 1;
  return count;
}

// The design window refreshes its controls from what it opens and carries the
// girdle's turn to the pavilion; a sample must come through that unchanged,
// or the window would show another design than the file and the tests build.
void ExpectOpensAsWritten(const Design& read, const Design& shown) {
  EXPECT_EQ(shown.SymOrder, read.SymOrder);
  for (const auto& [readSide, shownSide] :
       {std::pair{&read.CrownSteps, &shown.CrownSteps}, {&read.PavilionSteps, &shown.PavilionSteps}}) {
    ASSERT_EQ(shownSide->size(), readSide->size());
    for (std::size_t i = 1; i + 1 < readSide->size(); ++i) {
      const TStep& r = (*readSide)[i];
      const TStep& s = (*shownSide)[i];
      SCOPED_TRACE("tier " + std::to_string(i));
      EXPECT_EQ(s.Split, r.Split);
      EXPECT_EQ(s.Shift, r.Shift);
      EXPECT_EQ(s.Auto, r.Auto);
      EXPECT_NEAR(s.Posit, r.Posit, 1e-6);
      if (!r.Auto) {
        EXPECT_EQ(s.Angle, r.Angle);
      }
    }
  }
}

TEST(SampleDesigns, EveryFileOpensAsWrittenAndBuildsEveryTier) {
  const std::set<std::string> files = SampleFiles();
  EXPECT_GE(files.size(), 40u);
  for (const std::string& name : files) {
    SCOPED_TRACE(name);
    Design read;
    const Stone stone = BuildSample(name, &read);
    EXPECT_EQ(testing::SurfaceFault(stone), "");
    // No tier swallowed by its neighbours, none split into more pieces.
    EXPECT_EQ(FacetsPerStep(stone), PromisedFacets(read));

    EditorObserver observer;
    StepEditor editor(read, observer);
    ExpectOpensAsWritten(read, editor.CurrentDesign());
    EXPECT_EQ(editor.State().stone->AllFacets.size(), stone.AllFacets.size());
  }
}

TEST(SampleDesigns, TheReadmeListsEveryFileWithItsFigures) {
  const std::map<std::string, ReadmeRow> table = ReadmeTable();
  const std::set<std::string> files = SampleFiles();
  for (const std::string& name : files) EXPECT_EQ(table.count(name), 1u) << name << " is not in the README's table";
  for (const auto& [name, row] : table) EXPECT_EQ(files.count(name), 1u) << name << " is listed but not in GEM_DAT";
  for (const auto& [name, row] : table) {
    SCOPED_TRACE(name);
    const DesignReadResult read = OpenDesignFile(kSamples / name);
    if (!read.ok()) continue;  // the missing file is reported above
    Design design = read.design;
    EXPECT_EQ(row.symmetry, design.SymOrder);
    EXPECT_EQ(row.facets, ConstructStone(design).AllFacets.size());
    // A file keeps only the index; the README names the material it is for.
    const auto material = FindMaterial(row.material);
    ASSERT_TRUE(material.has_value()) << row.material;
    EXPECT_NEAR(read.refractiveIndex, material->refractiveIndex, 5e-4);
  }
}

TEST(SampleDesigns, DefaultMatchesTheStartingDesign) {
  const Stone stone = BuildSample("Default.brl");
  EXPECT_EQ(stone.AllVertices.size(), 32u);
  EXPECT_EQ(stone.AllFacets.size(), 26u);
}

TEST(SampleDesigns, RoundBrilliantHasTheClassicFacetFamilies) {
  Design d;
  const Stone stone = BuildSample("RoundBrilliant.brl", &d);
  EXPECT_EQ(d.GearNotches, 96);
  // culet, mains, lower halves, girdle, upper halves, bezels, stars, table
  const std::map<int, int> expected = {{0, 1}, {1, 8}, {2, 16}, {3, 16}, {4, 16}, {5, 8}, {6, 8}, {7, 1}};
  EXPECT_EQ(FacetsPerStep(stone), expected);
  EXPECT_NEAR(d.CrownSteps[3].Angle, 34.5, 1e-9);
  EXPECT_NEAR(d.PavilionSteps[2].Angle, 40.75, 1e-9);
  double tableRadius = 0;
  for (int v : stone.AllFacets.back().Points) {
    const TVertex& p = stone.AllVertices[v];
    tableRadius = std::max(tableRadius, std::hypot(p.x, p.y));
  }
  EXPECT_GE(tableRadius, 0.53);  // table width over girdle width, corner to corner
  EXPECT_LE(tableRadius, 0.58);
}

TEST(SampleDesigns, HigherOrdersHaveFourTiersASide) {
  for (const auto& [name, order] : {std::pair{"Hexagon6.brl", 6}, {"Dodecagon12.brl", 12}, {"Round48.brl", 48}}) {
    Design d;
    const Stone stone = BuildSample(name, &d);
    EXPECT_EQ(d.SymOrder, order);
    EXPECT_GE(d.CrownSteps.size(), 6u);
    EXPECT_GE(d.PavilionSteps.size(), 6u);
    // Every tier shows: N facets per tier, plus table and culet.
    const std::size_t tiers = d.CrownSteps.size() + d.PavilionSteps.size() - 4;
    EXPECT_EQ(stone.AllFacets.size(), tiers * order + 2) << name;
  }
}

}  // namespace
}  // namespace brillora
