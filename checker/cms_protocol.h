// CMS's protocol of a checker: the program's whole run, for brannik-cms and
// for the one source that Polygon and CMS both compile (brannik-testlib.cpp
// with -DCMS). Not part of the family's library: it is a program's main.
#pragma once

namespace regs {

// Judges as CMS calls a checker (read_cms_call), the correct output setting
// the cost to reach. The score goes to standard output ("1.0" accepted, "0.0"
// rejected, and between for a valid dearer answer when the checker was built
// with a partial form in BRANNIK_SCORE, as CMS passes no options) and the
// message to standard error; the status is CmsScored when judged, CmsError
// when not (the reason on standard error).
int cms_main(int argc, char** argv, const char* form);

}  // namespace regs
