// Every design the reader accepts and every state the editor reaches from one
// saves to a file that reads back to the same design, number for number, and
// opens as the same stone.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <random>

#include "io/design_file.h"
#include "model/default_design.h"
#include "model/design_limits.h"
#include "model/facet_construction.h"
#include "model/step_editor.h"
#include "support/random_design.h"
#include "support/trial_count.h"

namespace brillora {
namespace {

// `read` is what the file of `saved` gave back: the very numbers. Slopes the
// construction derives (Auto tiers after the first) are derived again on
// reading and are not compared; a slope is written within the range the
// reader accepts.
void ExpectSameDesign(const Design& read, const Design& saved, const std::string& text) {
  ASSERT_EQ(read.SymOrder, saved.SymOrder) << text;
  for (const auto& [r, s] : {std::pair{&read.CrownSteps, &saved.CrownSteps}, {&read.PavilionSteps, &saved.PavilionSteps}}) {
    ASSERT_EQ(r->size(), s->size()) << text;
    for (std::size_t k = 1; k + 1 < r->size(); ++k) {
      const TStep& a = (*r)[k];
      const TStep& b = (*s)[k];
      EXPECT_EQ(a.Split, b.Split) << text;
      EXPECT_EQ(a.Shift, b.Shift) << text;
      EXPECT_EQ(a.Auto, b.Auto) << text;
      if (!b.Auto) {
        EXPECT_EQ(a.Angle, WithinSlopeRange(b.Angle)) << k << '\n' << text;
      } else if (k == 1) {  // the slope written derives the one stored, or is it
        const double derived = WithinSlopeRange(DerivedSlope(a.Angle));
        EXPECT_TRUE(derived == WithinSlopeRange(b.Angle) || a.Angle == WithinSlopeRange(b.Angle))
            << a.Angle << " for " << b.Angle << '\n' << text;
      }
      // The girdle's column is a thickness, from which the reader computes the
      // position again: the column written is one that gives it back exactly
      // where one does, else the one that comes nearest (a rounding or two).
      if (r == &read.CrownSteps && k == 1) {
        EXPECT_NEAR(a.Posit, b.Posit, 1e-15 * std::max(1.0, std::abs(b.Posit))) << text;
      } else {
        EXPECT_EQ(a.Posit, b.Posit) << k << '\n' << text;
      }
    }
  }
}

// Saves the design as the writer does and reads it back, which must succeed.
DesignReadResult SaveAndRead(const Design& design, double refractiveIndex, std::string& text) {
  text = DesignFileText(design, refractiveIndex, "d", "t");
  return ReadDesignText(text);
}

TEST(DesignRoundTrip, AcceptedDesignsReopenOnceInstalledAndSaved) {
  std::mt19937 random(2026);
  EditorObserver quiet;
  for (int trial = 0; trial < 300; ++trial) {
    const double index = std::uniform_real_distribution<double>(kMinRefractiveIndex, kMaxRefractiveIndex)(random);
    std::string text;
    const DesignReadResult first = SaveAndRead(testing::RandomAcceptedDesign(random), index, text);
    ASSERT_TRUE(first.ok()) << "the generator keeps to what the reader accepts:\n" << text;
    const StepEditor editor(first.design, quiet);
    const Design installed = editor.CurrentDesign();
    const DesignReadResult again = SaveAndRead(installed, first.refractiveIndex, text);
    ASSERT_TRUE(again.ok()) << text;
    ExpectSameDesign(again.design, installed, text);
    EXPECT_NEAR(again.refractiveIndex, first.refractiveIndex, 0.0005 + 1e-12);
  }
}

// Random actions on the controls, from random accepted designs: after every
// one the design saves to a file that reads back.
TEST(DesignRoundTrip, EveryStateTheEditorReachesReopens) {
  std::mt19937 random(19);
  const auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const auto real = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
  EditorObserver quiet;
  for (int trial = 0; trial < 200; ++trial) {
    std::string text;
    // Half of the starts are designs a cutter would make, half anything a file may hold.
    const Design design = trial % 2 ? testing::RandomAcceptedDesign(random) : testing::RandomDesign(random);
    const DesignReadResult start = SaveAndRead(design, 2.42, text);
    ASSERT_TRUE(start.ok()) << text;
    StepEditor editor(start.design, quiet);
    for (int action = 0; action < 40; ++action) {
      const EditorControls& c = editor.Controls();
      switch (uniform(0, 11)) {
        case 0: editor.ChooseSymmetry(uniform(0, c.SymBox.Last())); break;
        case 1: editor.ChooseSplit(uniform(0, c.SplitBox.Last())); break;
        case 2: editor.ChooseShift(uniform(0, c.ShiftBox.Last())); break;
        case 3: editor.TypeSlope(real(c.RxSpinEdit1.min, c.RxSpinEdit1.max)); break;
        case 4: editor.TypeMaxSlope(uniform(0, 3) == 0 ? c.RxSpinEdit2.min : real(c.RxSpinEdit2.min, c.RxSpinEdit2.max)); break;
        case 5: editor.DragPositionBar(uniform(c.PositBar.min, c.PositBar.max)); break;
        case 6: editor.SetAuto(uniform(0, 1) == 1); break;
        case 7: editor.ChooseStepTab(uniform(0, c.TabControl2.Last())); break;
        case 8: editor.ChooseSideTab(uniform(0, 1)); break;
        case 9: if (editor.State().CurSteps().size() < 12) editor.ClickNewStep(); break;
        case 10: editor.ClickClearNext(); break;
        case 11: editor.DragSlopeBar(uniform(c.TrackAngle1.min, c.TrackAngle1.max)); break;
      }
      const Design design = editor.CurrentDesign();
      const DesignReadResult read = SaveAndRead(design, 2.42, text);
      ASSERT_TRUE(read.ok()) << "trial " << trial << " action " << action << ":\n" << text;
      ExpectSameDesign(read.design, design, text);
    }
  }
}

// What tells two stones apart: the facets (by step, with their corner counts)
// and the vertices, which may differ by rounding alone. Empty when none.
std::string StoneDifference(const Stone& a, const Stone& b) {
  if (a.AllVertices.size() != b.AllVertices.size() || a.AllFacets.size() != b.AllFacets.size()) {
    return std::to_string(a.AllVertices.size()) + " vertices and " + std::to_string(a.AllFacets.size()) +
           " facets against " + std::to_string(b.AllVertices.size()) + " and " + std::to_string(b.AllFacets.size());
  }
  for (std::size_t f = 0; f < a.AllFacets.size(); ++f) {
    if (a.AllFacets[f].Step != b.AllFacets[f].Step || a.AllFacets[f].Points != b.AllFacets[f].Points) {
      return "facet " + std::to_string(f) + " differs";
    }
  }
  for (std::size_t v = 0; v < a.AllVertices.size(); ++v) {
    const TVertex& p = a.AllVertices[v];
    const TVertex& q = b.AllVertices[v];
    if (std::max({std::abs(p.x - q.x), std::abs(p.y - q.y), std::abs(p.z - q.z)}) > 1e-9) {
      return "vertex " + std::to_string(v) + " moved by " +
             std::to_string(std::max({std::abs(p.x - q.x), std::abs(p.y - q.y), std::abs(p.z - q.z)}));
    }
  }
  return "";
}

// The text with one decimal fewer in every number that has more than two.
std::string OneDecimalDropped(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] != '.') continue;
    std::size_t end = i + 1;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
    const std::size_t keep = end - (i + 1) > 2 ? end - 1 : end;
    out.append(text, i + 1, keep - (i + 1));
    i = end - 1;
  }
  return out;
}

// A session of random actions on the controls, from a random design a cutter
// could make (or the default): every state it reaches, saved and opened in a
// new editor as the desktop opens a file, builds the stone the editor showed.
// Written with a decimal fewer, some do not: the comparison sees what a lost
// decimal does to a stone.
TEST(DesignRoundTrip, SavedSessionsReopenAsTheSameStone) {
  std::mt19937 random(269);
  const auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const auto real = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
  EditorObserver quiet;
  int states = 0, lossy = 0;
  for (int session = 0; session < testing::TrialCount(300); ++session) {
    std::string text;
    const Design start = session % 3 == 0 ? DefaultDesign() : testing::RandomDesign(random);
    StepEditor editor(start, quiet);
    for (int action = 0; action < 30; ++action) {
      const EditorControls& c = editor.Controls();
      switch (uniform(0, 11)) {
        case 0: editor.ChooseSymmetry(uniform(0, c.SymBox.Last())); break;
        case 1: editor.ChooseSplit(uniform(0, c.SplitBox.Last())); break;
        case 2: editor.ChooseShift(uniform(0, c.ShiftBox.Last())); break;
        case 3: editor.TypeSlope(real(c.RxSpinEdit1.min, c.RxSpinEdit1.max)); break;
        case 4: editor.TypeMaxSlope(real(20, 60)); break;
        case 5: editor.DragPositionBar(uniform(c.PositBar.min, c.PositBar.max)); break;
        case 6: editor.SetAuto(uniform(0, 1) == 1); break;
        case 7: editor.ChooseStepTab(uniform(0, c.TabControl2.Last())); break;
        case 8: editor.ChooseSideTab(uniform(0, 1)); break;
        case 9: if (editor.State().CurSteps().size() < 12) editor.ClickNewStep(); break;
        case 10: editor.DragMaxSlopeBar(uniform(200, 600)); break;
        case 11: editor.DragSlopeBar(uniform(c.TrackAngle1.min, c.TrackAngle1.max)); break;
      }
      if (action % 10 != 9) continue;
      text = DesignFileText(editor.CurrentDesign(), 2.42, "d", "t");
      const DesignReadResult read = ReadDesignText(text);
      ASSERT_TRUE(read.ok()) << text;
      const StepEditor reopened(read.design, quiet);
      ASSERT_EQ(StoneDifference(*reopened.State().stone, *editor.State().stone), "")
          << "session " << session << " action " << action << ":\n" << text;
      ++states;
      const DesignReadResult shorter = ReadDesignText(OneDecimalDropped(text));
      ASSERT_TRUE(shorter.ok());
      lossy += StoneDifference(*StepEditor(shorter.design, quiet).State().stone, *editor.State().stone).empty() ? 0 : 1;
    }
  }
  EXPECT_GT(lossy, 0) << "of " << states;
}

// A split girdle tier that is also turned carries its split to the other side
// as the difference of the two; carried back and forth the numbers would grow
// without bound. They stay within one turn of the gear and save.
TEST(DesignRoundTrip, CarriedSplitsStayWithinOneTurn) {
  EditorObserver quiet;
  std::string text;
  Design design = ReadDesignText("8 Order of Symmetry\r\n1 Steps of Crown\r\nh\r\n1\t89.00\t64\t-64\t0.70\t1\r\n"
                                 "1 Steps of Pavilion\r\nh\r\n1\t41.00\t0\t0\t0.20\t0\r\n2.42 Refractive Index\r\n")
                      .design;
  StepEditor editor(design, quiet);
  EXPECT_EQ(editor.CurrentDesign().PavilionSteps[1].Split, -128 + 96) << "the same facets as -128 notches";
  ASSERT_TRUE(SaveAndRead(editor.CurrentDesign(), 2.42, text).ok()) << text;

  // Turned while unsplit, then split: the turn stays while the list offers 0 and 6.
  StepEditor cycling(quiet);
  ASSERT_TRUE(cycling.ChooseShift(cycling.Controls().ShiftBox.index - 5));
  ASSERT_TRUE(cycling.ChooseSplit(3));
  const int symmetry = cycling.Controls().SymBox.index;
  for (int round = 0; round < 30; ++round) {
    ASSERT_TRUE(cycling.ChooseSideTab(1));
    ASSERT_TRUE(cycling.ChooseShift(1));
    ASSERT_TRUE(cycling.ChooseSideTab(0));
    ASSERT_TRUE(cycling.ChooseSymmetry(symmetry));
    const Design now = cycling.CurrentDesign();
    for (const TStep* tier : {&now.CrownSteps[1], &now.PavilionSteps[1]}) {
      ASSERT_LE(std::abs(tier->Split), now.GearNotches) << "round " << round;
    }
    ASSERT_TRUE(SaveAndRead(now, 2.42, text).ok()) << "round " << round << ":\n" << text;
  }
}

}  // namespace
}  // namespace brillora
