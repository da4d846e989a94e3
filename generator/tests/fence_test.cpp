// The fence builder and the test file "fence.in".
#include "fence.h"

#include <random>
#include <vector>

#include "fence_in.h"
#include "fence_validate.h"
#include "support.h"

using namespace quillot;

namespace {

std::vector<int32_t> script;
size_t scriptNext;

int32_t Scripted(int32_t k) {
  EXPECT_LT(scriptNext, script.size());
  const int32_t draw = scriptNext < script.size() ? script[scriptNext++] : 0;
  EXPECT_LT(draw, k);
  return draw;
}

class FenceFile : public support::InTempDir {};

struct ScriptedCase {
  int32_t n;
  std::vector<int32_t> draws;
  const char* file;
};

TEST_F(FenceFile, ScriptedDrawsGiveTheirWalk) {
  const ScriptedCase cases[] = {
      {10, {0, 1, 0}, "0 0 14 0\n12\n1 1\n2 2\n3 1\n4 -1\n5 1\n8 4\n11 1\n10 -1\n9 1\n8 2\n7 1\n4 -3\n"},
      {11, {0, 1, 0}, "0 0 8 0\n12\n1 1\n2 1\n2 -1\n3 -1\n3 3\n6 3\n6 -1\n5 -1\n5 1\n4 1\n4 -3\n1 -3\n"},
      {6, {1, 0}, "0 0 10 0\n8\n1 1\n4 4\n7 1\n6 -1\n5 1\n4 2\n3 1\n2 -1\n"},
      {7, {1, 0}, "0 0 6 0\n8\n1 3\n4 3\n4 -1\n3 -1\n3 1\n2 1\n2 -1\n1 -1\n"},
      {8, {0, 0}, "0 0 10 0\n8\n1 1\n2 2\n3 1\n4 -1\n5 1\n6 2\n7 1\n4 -3\n"},
      {9, {0, 0}, "0 0 6 0\n8\n1 1\n2 1\n2 -1\n3 -1\n3 1\n4 1\n4 -3\n1 -3\n"},
  };
  for (const ScriptedCase& c : cases) {
    script = c.draws;
    scriptNext = 0;
    BuildFence(c.n, c.n % 2 != 0, Scripted);
    EXPECT_EQ(scriptNext, script.size()) << "N = " << c.n;
    EXPECT_EQ(seqTop, 0);
    WriteFenceIn();
    EXPECT_EQ(support::read_file("fence.in"), c.file) << "N = " << c.n;
  }
}

TEST_F(FenceFile, SmallestTestsAreTheSameForEverySeed) {
  for (uint32_t seed : {0u, 1u, 20260102u, 0xFFFFFFFFu}) {
    BuildFence(4, false, seed);
    WriteFenceIn();
    EXPECT_EQ(support::read_file("fence.in"), "0 0 6 0\n4\n1 1\n2 2\n3 1\n2 -1\n");
    BuildFence(5, true, seed);
    WriteFenceIn();
    EXPECT_EQ(support::read_file("fence.in"), "0 0 4 0\n4\n1 1\n2 1\n2 -1\n1 -1\n");
  }
}

TEST_F(FenceFile, LongerOldFileIsReplacedWhole) {
  BuildFence(MaxN, false, 7u);
  WriteFenceIn();
  const std::string large = support::read_file("fence.in");
  EXPECT_EQ(large.substr(0, 18), "0 0 30002 0\n30000\n");
  EXPECT_EQ(std::count(large.begin(), large.end(), '\n'), MaxN + 2);
  BuildFence(4, false, 7u);
  WriteFenceIn();
  EXPECT_EQ(support::read_file("fence.in").size(), 27u);
}

// Whole tests of one seed whose pairing nests past its second level with both
// ranges filled: they pin the order of every draw, call and store, and the writer.
TEST_F(FenceFile, FixedSeedGivesItsKnownTest) {
  const uint32_t seed = 1767323045;  // 2026-01-02 03:04:05 UTC
  const struct {
    int32_t n;
    std::string golden;  // a file beside the tests, or the SHA-256 of the test
  } cases[] = {
      {64, support::read_file(GOLDEN_DIR "/tent64.in")},
      {65, support::read_file(GOLDEN_DIR "/rectangle65.in")},
      {MaxN, "077e7b854c56976eddddf59b8453822fd6829737976937862a04c3dba9411b1a"},
  };
  for (const auto& c : cases) {
    BuildFence(c.n, c.n % 2 != 0, seed);
    WriteFenceIn();
    if (c.n < 100) {
      EXPECT_EQ(support::read_file("fence.in"), c.golden) << "N = " << c.n;
    } else {
      EXPECT_EQ(support::run_shell(".", "sha256sum fence.in").out.substr(0, 64), c.golden) << "N = " << c.n;
    }
  }
}

// The deepest pairing of the largest test, on the checker's stack of 2 MiB.
TEST_F(FenceFile, DeepestPairingFitsABoundedStack) {
  const support::ShellRun run = support::run_shell(".", "ulimit -s 2048 && " FENCE_TOOL " deepest");
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string in = support::read_file("fence.in");
  EXPECT_EQ(std::count(in.begin(), in.end(), '\n'), MaxN + 2);
}

// Every draw takes one output of the stream, the smallest test's Random(1) too.
TEST(Random, TakesTheUpperHalfOfOneOutputTimesK) {
  std::mt19937 reference(2026u);
  BuildFence(4, false, 2026u);
  reference();
  for (int32_t k : {1, 2, 3, 1000, 2147483647}) {
    EXPECT_EQ(Random(k), static_cast<int32_t>((uint64_t{reference()} * k) >> 32)) << "k = " << k;
  }
}

// The properties every build must have, whatever the seed.
void ExpectSoundFence(int32_t n, bool odd, uint32_t seed) {
  SCOPED_TRACE("N = " + std::to_string(n) + (odd ? " rectangle" : " tent") + ", seed " +
               std::to_string(seed));
  BuildFence(n, odd, seed);
  ASSERT_EQ(vertexCount, 2 * half);
  ASSERT_EQ(vertexCount % 4, 0);
  std::vector<int32_t> partner(half + 1, 0);
  for (int32_t j = 1; j <= half; j += 2) {
    ASSERT_TRUE(seq[j] >= 1 && seq[j] <= half && seq[j + 1] >= 1 && seq[j + 1] <= half);
    ASSERT_EQ(partner[seq[j]] + partner[seq[j + 1]], 0) << "position twice";
    partner[seq[j]] = seq[j + 1];
    partner[seq[j + 1]] = seq[j];
  }
  ASSERT_EQ(seq[half + 1], 1);

  const int32_t maxX = odd ? half : 2 * half - 1, maxY = odd ? half - 1 : half;
  EXPECT_EQ(pointA.x, 0);
  EXPECT_EQ(pointB.x, maxX + (odd ? 2 : 3));
  int32_t crossings = 0;
  for (int32_t j = 1; j <= vertexCount; ++j) {
    const Point p = vertices[j], next = vertices[j % vertexCount + 1];
    ASSERT_TRUE(p.x >= 1 && p.x <= maxX && p.y >= 1 - half && p.y <= maxY && p.y != 0)
        << "vertex " << j << " at " << p.x << ", " << p.y;
    crossings += (p.y > 0) != (next.y > 0);  // pointA and pointB lie outside the x range
  }
  EXPECT_EQ(crossings, half);
  // The test as written, judged as the validator judges it.
  WriteFenceIn();
  FenceTest test;
  const std::string violation = CheckFormat(support::read_file("fence.in"), test).text;
  EXPECT_EQ(violation.empty() ? CheckFence(test).text : violation, "");
}

// Every test that quillot can write is valid.
TEST_F(FenceFile, EveryFenceIsSimple) {
  for (int32_t n = 4; n <= 60; ++n) {
    for (uint32_t seed = 1; seed <= 12; ++seed) ExpectSoundFence(n, n % 2 != 0, seed * 7919u + n);
  }
  for (int32_t n : {301, 1000, 4999, MaxN - 1, MaxN}) {
    for (uint32_t seed : {0u, 3u, 1767323045u, 4294967295u}) {
      ExpectSoundFence(n, true, seed);
      ExpectSoundFence(n, false, seed);
    }
  }
}

}  // namespace
