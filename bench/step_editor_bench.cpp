// The cost of one edit as the user drags a control: the rule, the planes of the
// edited side and the construction of the stone.

#include <benchmark/benchmark.h>

#include "model/step_editor.h"

namespace {

using brillora::EditorObserver;
using brillora::StepEditor;

// Dragging the facet slope bar of a crown tier back and forth on a stone with
// `tiers` crown tiers above the girdle.
void BM_DragSlopeBar(benchmark::State& state) {
  EditorObserver quiet;
  StepEditor editor(quiet);
  for (int i = 1; i < state.range(0); ++i) editor.ClickNewStep();
  editor.ChooseStepTab(2);
  int tenths = 300;
  for (auto _ : state) {
    tenths = tenths == 300 ? 301 : 300;
    editor.DragSlopeBar(tenths);
    benchmark::DoNotOptimize(editor.State().stone.get());
  }
}
BENCHMARK(BM_DragSlopeBar)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMicrosecond);

// Changing the symmetry order rebuilds both sides' planes and the stone.
void BM_ChooseSymmetry(benchmark::State& state) {
  EditorObserver quiet;
  StepEditor editor(quiet);
  int index = 6;
  for (auto _ : state) {
    index = index == 6 ? 11 : 6;  // 8 and 16
    editor.ChooseSymmetry(index);
    benchmark::DoNotOptimize(editor.State().stone.get());
  }
}
BENCHMARK(BM_ChooseSymmetry)->Unit(benchmark::kMicrosecond);

}  // namespace
