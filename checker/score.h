// The score of a judged answer, for systems that give part of a test to a
// valid answer that is not the least: one number from 0 to 1, defined here
// once, which every system's program prints in its own form.
#pragma once

#include "judge.h"

namespace regs {

// How a valid answer that costs more than the least is scored. With S its
// stored results, S* the least's and S+ those of storing every result but the
// root's: Least gives it nothing, as a rejection; Power ((S+ - S) / (S+ - S*))^p,
// 1 at the least and 0 at S+ (and 1 for every valid answer when S+ = S*);
// Threshold 1 within t stores of the least and 0 beyond.
struct ScoreForm {
  enum Kind : unsigned char { Least, Power, Threshold };
  Kind kind = Least;
  double p = 2;
  long long t = 0;
};

// Reads a form: "least", "power" (p = 2), "power:P" with P a positive
// decimal ("1.5"), or "threshold:T" with T a whole number from 0. Returns 1,
// or 0 with why not in err (of size ErrSize).
int read_score_form(const char* text, ScoreForm& form, char* err);

struct Score {
  bool partial = false;  // a valid answer dearer than the least, scored by a partial form
  double value = 0;      // 0 to 1
  char text[16] = "";    // the value as every system prints it: "0.5625", "1.0", "0.0"
  Line line;             // what the contestant reads: the message, and for a partial score its value
};

// A score as every system is given it, as testlib prints points: ten
// decimals, the zeros at their end dropped but one ("0.5625", "1.0").
void format_score(double value, char* text, std::size_t size);

// The score of a judgement against a jury's answer: 1 for an accepted answer,
// the form's value for a valid one dearer than the least ("total cost 21, the
// least is 17: score 0.5625"), 0 for any other rejection, with its message.
// Exact: the powers of S+ - S and S+ - S* are whole numbers where they fit in
// 64 bits, and the score is their one quotient.
Score score_of(const Judgement& j, const ScoreForm& form);

}  // namespace regs
