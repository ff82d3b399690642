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

// "New Step" on a crown of `tiers` tiers, taken back by undo each time (undo
// brings back the stored stone, no construction). The default crown grown by
// "New Step" copies its last tier again and again, so the later tiers shrink
// to nothing: what counts is that a step costs about as much at 400 tiers as
// at 50, not a multiple of it.
void BM_NewStep(benchmark::State& state) {
  EditorObserver quiet;
  StepEditor editor(quiet);
  while (static_cast<int>(editor.State().CrownSteps.size()) - 2 < state.range(0)) editor.ClickNewStep();
  for (auto _ : state) {
    editor.ClickNewStep();
    editor.Undo();
    benchmark::DoNotOptimize(editor.State().stone.get());
  }
}
BENCHMARK(BM_NewStep)->Arg(50)->Arg(100)->Arg(200)->Arg(400)->Arg(499)->Unit(benchmark::kMillisecond);

}  // namespace
