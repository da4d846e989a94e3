// The test file "fence.in": the reference points, the vertex count, one vertex a line.
#pragma once

namespace quillot {

class OutFile;

// Writes the built fence as the test file "fence.in".
void WriteFenceIn();
// Writes the same text into out, and closes it.
void WriteFenceIn(OutFile& out);

}  // namespace quillot
