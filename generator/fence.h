// The fence of one test: a random simple polygon and two reference points on y = 0.
#pragma once
#include <cstdint>

namespace quillot {

struct Point {
  int32_t x;
  int32_t y;
};

inline constexpr int32_t MaxN = 30000;

// The state of the run, in static storage sized for the largest test; zero at start.
extern Point vertices[MaxN + 1];  // entries 1..vertexCount hold the fence in walk order
extern int32_t seq[MaxN + 1];     // seq[1..half] is the walk of the positions, seq[half + 1] = 1
extern int32_t seqTop;            // next entry of seq to fill; seq fills from the top down
extern int32_t half;              // number of positions, even
extern int32_t vertexCount;
extern bool oddN;  // true: rectangle variant; false: tent variant
extern bool up;    // the walk step being built runs above y = 0
extern Point pointA, pointB;

// A uniform integer in 0..k-1 (k >= 1) from the run's one MT19937 stream.
int32_t Random(int32_t k);

// Where PairRange takes its draws from: Random in a run, a fixed script in tests.
using DrawSource = int32_t (*)(int32_t k);

// Pairs the positions lo..hi so that no two pairs cross and stores their walk
// into seq at seqTop and below.
void PairRange(int32_t level, int32_t lo, int32_t hi);

// Builds the fence for n in 4..MaxN: odd selects the rectangle variant, seed the
// MT19937 stream that the pairing draws from.
void BuildFence(int32_t n, bool odd, uint32_t seed);
// The same, drawing from draw instead of the MT19937 stream.
void BuildFence(int32_t n, bool odd, DrawSource draw);

}  // namespace quillot
