// The fence builder: the random pairing, its walk, and the vertices of both variants.
#include "fence.h"

#include <cstdlib>
#include <random>

namespace quillot {

Point vertices[MaxN + 1];
int32_t seq[MaxN + 1];
int32_t seqTop;
int32_t half;
int32_t vertexCount;
bool oddN;
bool up;
Point pointA, pointB;

namespace {

std::mt19937 stream;
DrawSource draw = Random;

void Store(int32_t position) { seq[seqTop--] = position; }

void Append(int32_t x, int32_t y) { vertices[++vertexCount] = {x, y}; }

}  // namespace

int32_t Random(int32_t k) {
  const uint64_t product = uint64_t{stream()} * static_cast<uint32_t>(k);
  return static_cast<int32_t>(product >> 32);
}

// The draws and stores happen in a fixed order: a seed gives its one fence only so.
void PairRange(int32_t level, int32_t lo, int32_t hi) {
  if (lo >= hi) return;
  const int32_t m = lo + 2 * draw((hi - lo + 1) / 2) + 1;
  if (level % 2 != 0) {
    PairRange(level + 1, lo + 1, m - 1);
    PairRange(level, m + 1, hi);
    Store(m);
    Store(lo);
  } else {
    Store(lo);
    Store(m);
    PairRange(level, m + 1, hi);
    PairRange(level + 1, lo + 1, m - 1);
  }
}

void BuildFence(int32_t n, bool odd, uint32_t seed) {
  stream.seed(seed);
  BuildFence(n, odd, Random);
}

void BuildFence(int32_t n, bool odd, DrawSource source) {
  draw = source;
  oddN = odd;
  half = n / 2 + (n / 2) % 2;
  seqTop = half;
  PairRange(1, 1, half);
  seq[half + 1] = 1;

  // Odd steps of the walk run along a pair above y = 0, even steps below it.
  vertexCount = 0;
  up = true;
  for (int32_t i = 1; i <= half; ++i) {
    const int32_t a = seq[i], b = seq[i + 1], d = std::abs(a - b);
    if (oddN) {
      Append(a, up ? d : -d);
      Append(b, up ? d : -d);
    } else {
      Append(2 * a - 1, 1);
      Append(a + b - 1, up ? d + 1 : -d);
    }
    up = !up;
  }
  pointA = {0, 0};
  pointB = {oddN ? half + 2 : 2 * half + 2, 0};
}

}  // namespace quillot
