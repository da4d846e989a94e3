// brannik-cms: the register task's checker for CMS: brannik-cms <input>
// <correct_output> <contestant_output>; the score on standard output, the
// message on standard error, a non-zero status when it could not judge.
#include "cms_protocol.h"
#include "default_score.h"

int main(int argc, char** argv) { return regs::cms_main(argc, argv, BRANNIK_SCORE); }
