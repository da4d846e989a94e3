// CMS's protocol of a checker, for brannik-cms and for the one source that
// Polygon and CMS both compile (brannik-testlib.cpp with -DCMS).
#pragma once

namespace regs {

// Judges as CMS calls a checker: argv holds <input> <correct_output>
// <contestant_output>, the correct output setting the cost to reach. The score
// goes to standard output ("1.0" accepted, "0.0" rejected, and between for a
// valid dearer answer when the checker was built with a partial form in
// BRANNIK_SCORE) and the message to standard error; the status is 0 when
// judged, 1 when not (the reason on standard error).
// A valid answer dearer than the least is scored by `form` (ScoreForm), the
// form the checker was built with (BRANNIK_SCORE), as CMS passes no options.
int cms_check(int argc, char** argv, const char* form);

}  // namespace regs
