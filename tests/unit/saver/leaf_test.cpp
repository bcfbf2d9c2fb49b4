// The leaf model: start values, the step's arithmetic (float storage, the 6.28 sway, ties-to-even
// columns), respawn at the bottom edge, frame advance and the properties that follow over long runs.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "saver/leaf.h"
#include "unit/saver/scripted_random.h"

namespace kovaren::saver {
namespace {

using testing::ScriptedRandom;

// A leaf that is drawn this descent and far from the bottom edge.
Leaf ShownLeaf() {
  Leaf leaf;
  leaf.y = 0;
  leaf.fallSpeed = 0.5f;
  leaf.shown = 1;
  return leaf;
}

TEST(LeafStep, SwaysAcrossTheScreenFromItsBaseAtTheExpectedColumns) {
  ScriptedRandom random({});
  Leaf leaf = ShownLeaf();
  leaf.baseX = 100;
  leaf.swayAmp = 250;
  leaf.phase = 0;
  struct Expect {
    double x;
    int column;
  };
  for (const Expect& want : {Expect{482.408, 482}, Expect{480.817, 481}}) {
    auto draw = StepLeaf(leaf, 1024, 768, random);
    ASSERT_TRUE(draw);
    EXPECT_NEAR(LeafX(leaf, 1024), want.x, 0.0005);
    EXPECT_EQ(draw->px, want.column);
  }
  EXPECT_EQ(random.drawn(), 0) << "no respawn, so no random numbers";
}

TEST(LeafStep, RoundsPositionsHalfToEven) {
  // W = 8 puts the sway centre at 3W/8 = 3; with no sway amplitude x = BaseX + 3 exactly.
  struct Case {
    float baseX, yBefore;
    int px, py;
  } cases[] = {
      {97.5f, -11.0f, 100, -10},  // x 100.5, y -10.5
      {98.5f, 0.0f, 102, 0},      // x 101.5
      {-3.5f, 1.0f, 0, 2},        // x -0.5, y 1.5
      {96.75f, 3.0f, 100, 4},     // x 99.75, y 3.5
  };
  for (const Case& c : cases) {
    ScriptedRandom random({});
    Leaf leaf = ShownLeaf();
    leaf.baseX = c.baseX;
    leaf.y = c.yBefore;
    auto draw = StepLeaf(leaf, 8, 1000, random);
    ASSERT_TRUE(draw);
    EXPECT_EQ(draw->px, c.px) << "BaseX " << c.baseX;
    EXPECT_EQ(draw->py, c.py) << "Y before " << c.yBefore;
  }
}

TEST(LeafStep, RespawnsOnlyOnceTheTopEdgeIsBelowTheBottom) {
  const int h = 600;
  struct Case {
    float yAfterFall;
    bool respawns;
  } cases[] = {
      {600.0f, false},
      {std::nextafter(600.0f, 700.0f), true},
      {599.75f, false},
      {600.5f, true},
  };
  for (const Case& c : cases) {
    ScriptedRandom random({0.3, 0.6, 0.9, 0.45});
    Leaf leaf = ShownLeaf();
    leaf.fallSpeed = 0.5f;
    leaf.y = c.yAfterFall - 0.5f;
    ASSERT_EQ(leaf.y + leaf.fallSpeed, c.yAfterFall);
    StepLeaf(leaf, 900, h, random);
    EXPECT_EQ(random.drawn() == 4, c.respawns) << "Y " << c.yAfterFall;
    EXPECT_EQ(leaf.y == kRespawnY, c.respawns);
  }
}

TEST(LeafStep, RespawnDrawsFourNumbersInOrderAndKeepsTheLeafsIdentity) {
  ScriptedRandom random({0.3, 0.6, 0.9, 0.45}, /*after=*/0.99);
  Leaf leaf;
  leaf.y = 700;
  leaf.fallSpeed = 0.61f;
  leaf.phase = 1234;
  leaf.spinDir = 5;
  leaf.frameTick = 3;
  leaf.frame = 9;
  leaf.colour = 2;
  leaf.shown = 0;
  auto draw = StepLeaf(leaf, 900, 700, random);
  EXPECT_EQ(random.drawn(), 4);
  EXPECT_EQ(leaf.baseX, static_cast<float>(0.3 * 900 / 3));
  EXPECT_EQ(leaf.swayAmp, static_cast<float>(0.6 * 75 + 200));
  EXPECT_EQ(leaf.phase, static_cast<float>(0.9 * 3)) << "Phase is replaced, not advanced, on respawn";
  EXPECT_EQ(leaf.y, -10.0f);
  EXPECT_EQ(leaf.fallSpeed, static_cast<float>(0.45 * 0.2 + 0.5)) << "formed in double, stored as float";
  EXPECT_EQ(leaf.shown, 1.0f);
  EXPECT_EQ(leaf.spinDir, 5.0f);
  EXPECT_EQ(leaf.colour, 2.0f);
  // Now shown: drawn at once at the top, 10 rows above the edge, and its frame clock runs.
  ASSERT_TRUE(draw);
  EXPECT_EQ(draw->py, -10);
  EXPECT_EQ(draw->frame, 9);
  EXPECT_EQ(draw->colour, 2);
  EXPECT_EQ(leaf.frameTick, 4.0f);
  EXPECT_EQ(leaf.frame, 9.0f);
}

TEST(LeafStep, HiddenLeavesFallAndSwayButKeepTheirFrame) {
  ScriptedRandom random({});
  Leaf leaf;
  leaf.fallSpeed = 0.7f;
  leaf.frameTick = 10;
  leaf.frame = 3;
  EXPECT_FALSE(StepLeaf(leaf, 800, 600, random));
  EXPECT_EQ(leaf.y, 0.7f);
  EXPECT_EQ(leaf.phase, 2.0f);
  EXPECT_EQ(leaf.frameTick, 10.0f);
  EXPECT_EQ(leaf.frame, 3.0f);
}

TEST(LeafStep, FrameChangesWhenTheTickPassesTen) {
  struct Case {
    float tickBefore, tickAfter, frameAfter;
  } cases[] = {{9, 10, 7}, {10, 0, 8}, {0, 1, 7}, {5, 6, 7}};
  for (const Case& c : cases) {
    ScriptedRandom random({});
    Leaf leaf = ShownLeaf();
    leaf.frame = 7;
    leaf.frameTick = c.tickBefore;
    auto draw = StepLeaf(leaf, 800, 600, random);
    ASSERT_TRUE(draw);
    EXPECT_EQ(draw->frame, 7) << "the pass draws the frame it started with";
    EXPECT_EQ(leaf.frameTick, c.tickAfter) << "tick before " << c.tickBefore;
    EXPECT_EQ(leaf.frame, c.frameAfter) << "tick before " << c.tickBefore;
  }
}

TEST(LeafStep, FramesCountUpForSpinZeroAndDownOtherwiseWrappingAround) {
  struct Case {
    float spinDir, firstFrame;
    std::vector<int> sequence;
  } cases[] = {
      {0, 15, {15, 16, 0, 1}},
      {5, 1, {1, 0, 16, 15}},
      {8, 0, {0, 16, 15, 14}},
  };
  for (const Case& c : cases) {
    ScriptedRandom random({});
    Leaf leaf = ShownLeaf();
    leaf.spinDir = c.spinDir;
    leaf.frame = c.firstFrame;
    leaf.frameTick = 0;
    std::vector<int> seen;
    for (int pass = 0; pass < 44; ++pass) {
      auto draw = StepLeaf(leaf, 800, 100000, random);
      ASSERT_TRUE(draw);
      // Every frame is held for exactly 11 passes.
      if (pass % 11 == 0) seen.push_back(draw->frame);
      EXPECT_EQ(draw->frame, seen.back()) << "pass " << pass;
    }
    EXPECT_EQ(seen, c.sequence) << "SpinDir " << c.spinDir;
  }
}

TEST(StartLeaves, MakesOneMoreLeafThanTheCountAndNoneBelowZero) {
  struct Case {
    int leafCount;
    size_t leaves;
  } cases[] = {{-32768, 0}, {-1, 0}, {0, 1}, {1, 2}, {100, 101}, {500, 501}};
  for (const Case& c : cases) {
    SeededRandom random(7);
    const auto leaves = StartLeaves(c.leafCount, 1024, 768, random);
    EXPECT_EQ(leaves.size(), c.leaves) << "LeafCount " << c.leafCount;
    for (const Leaf& leaf : leaves) {
      EXPECT_EQ(leaf.shown, 0.0f) << "every leaf starts hidden";
      EXPECT_EQ(leaf.frame, 0.0f);
      EXPECT_EQ(leaf.baseX, 0.0f);
      EXPECT_EQ(leaf.swayAmp, 0.0f);
      EXPECT_EQ(leaf.phase, 0.0f);
    }
  }
}

TEST(StartLeaves, DrawsHeightSpeedSpinTickColourLeafByLeaf) {
  const double justBelowOne = std::nextafter(1.0, 0.0);
  ScriptedRandom random({0.25, 0.5, 0.0, 0.0, 0.0, /* second leaf */ 0.75, justBelowOne, justBelowOne,
                         justBelowOne, justBelowOne});
  const auto leaves = StartLeaves(1, 1000, 800, random);
  ASSERT_EQ(leaves.size(), 2u);
  EXPECT_EQ(random.drawn(), 10);
  EXPECT_EQ(leaves[0].y, 200.0f);
  EXPECT_EQ(leaves[0].fallSpeed, static_cast<float>(0.5 * 0.2 + 0.5));
  EXPECT_EQ(leaves[0].spinDir, 0.0f);
  EXPECT_EQ(leaves[0].frameTick, 0.0f);
  EXPECT_EQ(leaves[0].colour, 0.0f);
  EXPECT_EQ(leaves[1].y, 600.0f);
  EXPECT_EQ(leaves[1].spinDir, 8.0f);
  EXPECT_EQ(leaves[1].frameTick, 5.0f);
  EXPECT_EQ(leaves[1].colour, 2.0f);
}

TEST(SeededRandom, IsRepeatableAndStaysInTheHalfOpenUnitInterval) {
  SeededRandom a(12345), b(12345), c(12346);
  int differs = 0;
  for (int i = 0; i < 100000; ++i) {
    const double x = a.NextUniform();
    ASSERT_GE(x, 0.0);
    ASSERT_LT(x, 1.0);
    EXPECT_EQ(x, b.NextUniform());
    differs += x != c.NextUniform();
  }
  EXPECT_GT(differs, 99000);
  EXPECT_NE(SeedFromTimeOfDay(12, 0, 0, 1), SeedFromTimeOfDay(12, 0, 0, 2));
}

// Long runs from random starts: what must hold for every leaf in every pass.
TEST(LeafRun, KeepsIdentityStaysInTheBandAndAlternatesDescents) {
  for (int width : {640, 1024, 1920}) {
    const int height = width * 3 / 4;
    SeededRandom random(static_cast<uint64_t>(width));
    auto leaves = StartLeaves(40, width, height, random);
    const auto start = leaves;
    std::vector<int> respawns(leaves.size(), 0);
    const int lowest = static_cast<int>(std::floor(3.0 * width / 8 - 275)) - 1;
    const int highest = static_cast<int>(std::ceil(3.0 * width / 8 + width / 3.0 + 275)) + 1;
    std::set<int> colours;
    for (int pass = 0; pass < 6000; ++pass) {
      for (size_t i = 0; i < leaves.size(); ++i) {
        const float yBefore = leaves[i].y;
        auto draw = StepLeaf(leaves[i], width, height, random);
        if (leaves[i].y < yBefore) ++respawns[i];
        ASSERT_EQ(leaves[i].colour, start[i].colour);
        ASSERT_EQ(leaves[i].spinDir, start[i].spinDir);
        // Odd-numbered descents (first respawn onwards, every other one) are the shown ones.
        ASSERT_EQ(leaves[i].shown, static_cast<float>(respawns[i] % 2)) << "leaf " << i;
        if (!draw) continue;
        colours.insert(draw->colour);
        ASSERT_GE(draw->px, lowest) << "width " << width;
        ASSERT_LE(draw->px, highest) << "width " << width;
        ASSERT_GE(draw->frame, 0);
        ASSERT_LT(draw->frame, kLeafFrames);
        ASSERT_GE(leaves[i].phase, 0.0f);
        ASSERT_GE(draw->py, -10);
        ASSERT_LE(draw->py, height);
      }
    }
    for (int r : respawns) EXPECT_GE(r, 2) << "every leaf completes its hidden descent and a shown one";
    EXPECT_EQ(colours.size(), 3u);
  }
}

}  // namespace
}  // namespace kovaren::saver
