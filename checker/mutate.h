// The mutants of a C++ source: each one slip of the kind that makes a
// contestant's solution differ from a right one, made on the source's tokens
// as a C++ lexer reads them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace regs {

// A token of a source, with what the parser makes of it: an operator token
// is Binary, CompoundAssign or Unary only where it is that operator of an
// expression (the `<` of `a < b`, not of `vector<int>`).
struct Token {
  enum Kind { Punctuation, Keyword, Identifier, Literal, Comment };
  enum Role { Other, Binary, CompoundAssign, Unary };
  Kind kind = Punctuation;
  Role role = Other;
  std::string text;
  std::size_t offset = 0;
  int line = 0;            // from 1
  bool directive = false;  // on a preprocessor directive's line
};

// Reads the tokens of a C++ source (std=gnu++17) with libclang's lexer and
// parser. Returns 1 with them, or 0 with the reason in err (of size ErrSize).
int tokens_of(const std::string& source, std::vector<Token>& tokens, char* err);

// One change of the source: `length` bytes at `offset` replaced.
struct Mutant {
  std::size_t offset = 0, length = 0;
  std::string replacement;
  int line = 0;
  std::string what;  // for a person: "< to <=", "0 to 1", "break dropped"
};

// Every mutant of the source whose tokens are given, in source order: each
// relational operator by its neighbours, each arithmetic, bitwise and logical
// operator by its usual slip, each integer literal by itself plus and minus 1
// and by 0, each long long and int64_t by int, each for loop's < or <= bound
// shifted by one the other way than the operator's own mutants shift it, each
// break and continue dropped, each if's and while's condition negated. No
// token of a preprocessor directive is changed.
std::vector<Mutant> mutants_of(const std::string& source, const std::vector<Token>& tokens);

// The source with the mutant's change made.
std::string mutated(const std::string& source, const Mutant& mutant);

// The text of the source's line (from 1), without its line break.
std::string line_text(const std::string& source, int line);

}  // namespace regs
