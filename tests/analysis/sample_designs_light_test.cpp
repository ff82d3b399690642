// Every design shipped in GEM_DAT traces face up as the picture window traces
// it and gives light figures that account for all of its light.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>

#include "analysis/light_figures.h"
#include "io/design_file.h"
#include "model/facet_construction.h"
#include "trace/ray_tracer.h"

namespace brillora::testing {
namespace {

const std::filesystem::path kSamples = std::filesystem::path(BRILLORA_SOURCE_DIR) / "GEM_DAT";

// The figures' own depth, or fewer reflections where the sanitizers slow
// every beam down: the budget must add up at any depth.
#ifdef BRILLORA_SANITIZED
constexpr int kFiguresDepth = 4;
#else
constexpr int kFiguresDepth = 9;
#endif

std::set<std::filesystem::path> SampleFiles() {
  std::set<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(kSamples)) {
    if (entry.path().extension() == ".brl") files.insert(entry.path());
  }
  return files;
}

void ExpectShare(double share, const char* name) {
  EXPECT_TRUE(std::isfinite(share)) << name;
  EXPECT_GE(share, 0.0) << name;
  EXPECT_LE(share, 1.0) << name;
}

TEST(SampleDesignLight, EveryDesignTracesFaceUpAndAccountsForItsLight) {
  RayTracer tracer;
  LightAnalyzer analyzer;
  for (const auto& file : SampleFiles()) {
    SCOPED_TRACE(file.filename().string());
    const DesignReadResult read = OpenDesignFile(file);
    ASSERT_TRUE(read.ok()) << read.error;
    Design design = read.design;
    const Stone stone = ConstructStone(design);

    // The picture at "2" reflections, as the picture window first draws it.
    TraceOptions options;
    options.RefractiveIndex = read.refractiveIndex;
    tracer.Trace(stone, IdentityFrame(), 3, options);
    EXPECT_FALSE(tracer.CutShort());
    EXPECT_FALSE(tracer.ExitBeams().empty());

    const LightFigures f = analyzer.Analyze(stone, IdentityFrame(), {10, kFiguresDepth, read.refractiveIndex});
    EXPECT_FALSE(f.CutShort);
    ExpectShare(f.Iso, "iso");
    ExpectShare(f.Cos, "cos");
    ExpectShare(f.Sc2, "sc2");
    ExpectShare(f.TableIso, "table iso");
    ExpectShare(f.Leakage, "leakage");
    ExpectShare(f.HeadShadow, "head shadow");
    ExpectShare(f.Unresolved, "unresolved");
    // Every share of the outline goes somewhere: returned, leaked, in the
    // head's shadow, still inside, or (at grazing facets) a sliver lost.
    EXPECT_NEAR(f.Iso + f.Leakage + f.HeadShadow + f.Unresolved, 1.0, 1e-3);
    // A stone lit from the whole upper half-space, the head dark, returns
    // some of it whatever its cut.
    EXPECT_GT(f.Iso, 0.1);
  }
}

}  // namespace
}  // namespace brillora::testing
