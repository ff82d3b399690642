// The thumbnailer as a file manager runs it, less the program's start: the
// design read, the stone traced and drawn face up, the PNG written. Goal:
// under 0.3 s for every sample at the large thumbnail size (256 px).
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "cli/commands.h"

namespace brillora {
namespace {

void BM_Thumbnail(benchmark::State& state, const std::string& sample) {
  const std::string design = std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/" + sample;
  const std::string out = (std::filesystem::temp_directory_path() / "brillora-bench-thumbnail.png").string();
  const std::vector<std::string> words = {design, out, "--size", std::to_string(state.range(0))};
  for (auto _ : state) {
    cli::Arguments args(words);
    std::ostringstream said;
    if (cli::RunThumbnail(args, said) != cli::kExitOk) state.SkipWithError("the thumbnail failed");
  }
  std::filesystem::remove(out);
}

// The plainest sample, the classic brilliant and the sample with most facets.
BENCHMARK_CAPTURE(BM_Thumbnail, default_design, std::string("Default.brl"))
    ->Arg(256)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Thumbnail, round_brilliant, std::string("RoundBrilliant.brl"))
    ->Arg(128)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Thumbnail, many_facets, std::string("ManyFacet48Diamond.brl"))
    ->Arg(256)->Arg(1024)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brillora
