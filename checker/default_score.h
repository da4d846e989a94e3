// The score that the judging programs give a valid answer dearer than the
// least when their call names no form, as under CMS, which passes no options:
// "least" (only the least cost is accepted), "power" (((S+ - S) / (S+ - S*))^2),
// "power:P", or "threshold:T". A jury sets it on this line, at the top of a
// one-file checker, or where it builds one: g++ -DBRANNIK_SCORE='"power:3"' ...
#ifndef BRANNIK_SCORE
#define BRANNIK_SCORE "least"
#endif
