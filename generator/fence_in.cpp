// The test file "fence.in": the reference points, the vertex count, one vertex a line.
#include "fence_in.h"

#include "fence.h"
#include "io.h"

namespace quillot {

namespace {

void WritePoint(OutFile& out, Point p) {
  out.Int(p.x);
  out.Text(" ");
  out.Int(p.y);
}

}  // namespace

void WriteFenceIn() {
  OutFile out("fence.in", WritingFenceIn);
  WriteFenceIn(out);
}

void WriteFenceIn(OutFile& out) {
  WritePoint(out, pointA);
  out.Text(" ");
  WritePoint(out, pointB);
  out.Text("\n");
  out.Int(vertexCount);
  out.Text("\n");
  for (int32_t j = 1; j <= vertexCount; ++j) {
    WritePoint(out, vertices[j]);
    out.Text("\n");
  }
  out.Close();
}

}  // namespace quillot
