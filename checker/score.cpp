// The score of a judged answer: one number from 0 to 1.
#include "score.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace regs {

namespace {

int bad_form(char* err, const char* text) {
  std::snprintf(
      err, ErrSize,
      "score form %s: \"least\", \"power\", \"power:P\" with P above 0, or \"threshold:T\" with T a whole "
      "number from 0",
      text);
  return 0;
}

// base^p exactly when p is a whole number and it fits in 63 bits.
bool whole_power(long long base, double p, long long& power) {
  if (p != std::floor(p) || p > 62) return false;
  power = 1;
  for (int i = 0; i < p; ++i) {
    if (base != 0 && power > (1LL << 62) / base) return false;
    power *= base;
  }
  return true;
}

// ((S+ - S) / (S+ - S*))^p, 0 <= S+ - S <= S+ - S*.
double power_score(long long above, long long range, double p) {
  if (above == range) return 1;
  if (above == 0) return 0;
  long long a = 0, b = 0;
  if (whole_power(range, p, b) && whole_power(above, p, a))
    return static_cast<double>(a) / static_cast<double>(b);
  return std::pow(static_cast<double>(above) / static_cast<double>(range), p);
}

}  // namespace

void format_score(double value, char* text, std::size_t size) {
  std::snprintf(text, size, "%.10f", value);
  std::size_t end = std::strlen(text);
  while (end > 2 && text[end - 1] == '0' && text[end - 2] != '.') --end;
  text[end] = '\0';
}

int read_score_form(const char* text, ScoreForm& form, char* err) {
  const char* colon = std::strchr(text, ':');
  const std::size_t name = colon ? static_cast<std::size_t>(colon - text) : std::strlen(text);
  const char* value = colon ? colon + 1 : "";
  char* end = nullptr;
  if (std::strncmp(text, "least", name) == 0 && name == 5 && !colon) {
    form = {};
  } else if (std::strncmp(text, "power", name) == 0 && name == 5) {
    const double p = colon ? std::strtod(value, &end) : 2;
    // Decimals alone: no sign, no exponent, nothing after the digits.
    if (colon && (!*value || *value == '+' || *value == '-' || std::strpbrk(value, "eEnNiIxX") || *end))
      return bad_form(err, text);
    if (!(p > 0) || p > 1000) return bad_form(err, text);
    form = {ScoreForm::Power, p, 0};
  } else if (std::strncmp(text, "threshold", name) == 0 && name == 9 && colon) {
    const long long t = std::strtoll(value, &end, 10);
    if (!*value || *value == '+' || *value == '-' || *end || t < 0 || t > 100000) return bad_form(err, text);
    form = {ScoreForm::Threshold, 2, t};
  } else {
    return bad_form(err, text);
  }
  return 1;
}

Score score_of(const Judgement& j, const ScoreForm& form) {
  Score s;
  const bool dearer = j.verdict == Verdict::Rejected && j.fault.kind == FaultKind::Dearer;
  s.partial = dearer && form.kind != ScoreForm::Least;
  if (j.verdict == Verdict::Accepted) {
    s.value = 1;
  } else if (s.partial && form.kind == ScoreForm::Power) {
    s.value = power_score(j.most_stores - j.stores, j.most_stores - j.least_stores, form.p);
  } else if (s.partial) {
    s.value = j.stores - j.least_stores <= form.t ? 1 : 0;
  }
  format_score(s.value, s.text, sizeof s.text);
  s.line = answer_line(j);
  if (s.partial) {
    const std::size_t end = std::strcspn(s.line.text, "\n");
    std::snprintf(s.line.text + end, sizeof s.line.text - end, ": score %s\n", s.text);
  }
  return s;
}

}  // namespace regs
