// Undo and redo against the cost of an edit, and reading a large GemCad design.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "io/design_file.h"
#include "io/gemcad_file.h"
#include "model/gemcad_design.h"
#include "model/step_editor.h"

namespace {

using namespace brillora;

// Undoing and redoing a drag of a crown tier's slope bar on the brilliant-style sample.
void BM_UndoSlopeDrag(benchmark::State& state) {
  const DesignReadResult read =
      OpenDesignFile(std::filesystem::path(BRILLORA_SOURCE_DIR) / "GEM_DAT" / "RoundBrilliant.brl");
  EditorObserver quiet;
  StepEditor editor(read.design, quiet);
  editor.ChooseStepTab(2);
  editor.BeginDrag();
  for (int tenths : {300, 310, 320, 330}) editor.DragSlopeBar(tenths);
  editor.EndDrag();
  bool undo = true;
  for (auto _ : state) {
    benchmark::DoNotOptimize(undo ? editor.Undo() : editor.Redo());
    undo = !undo;
  }
}
BENCHMARK(BM_UndoSlopeDrag)->Unit(benchmark::kMicrosecond);

// A stone of 530 facets: eleven rings of 48 facets all touching the unit
// sphere, a table and a culet.
std::string LargeGemCadText() {
  std::string text = "GemCad 5.0\ng 96 0\ny 48 y\nI 1.54\nH A sphere of facets\n";
  for (int slope : {-75, -60, -45, -30, -15, 90, 75, 60, 45, 30, 15}) {
    text += "a ";
    text += std::to_string(slope);
    text += " 1";
    for (int i = 0; i < 48; ++i) {
      text += ' ';
      text += std::to_string(2 * i + (slope % 2 == 0 ? 0 : 1));
    }
    text += '\n';
  }
  text += "a 0 1 0\na -0 1 0\n";
  return text;
}

void BM_ImportGemCad500(benchmark::State& state) {
  const std::string text = LargeGemCadText();
  std::size_t facets = 0;
  for (auto _ : state) {
    const GemCadReadResult read = ReadGemCadText(text);
    const Stone stone = GemCadStone(read.design);
    facets = stone.AllFacets.size();
    benchmark::DoNotOptimize(stone.AllVertices.data());
  }
  state.counters["facets"] = static_cast<double>(facets);
}
BENCHMARK(BM_ImportGemCad500)->Unit(benchmark::kMillisecond);

}  // namespace
