// The mutants of a source, from libclang's tokens.
#include "mutate.h"

#include <clang-c/Index.h>

#include <cstdlib>
#include <map>

#include "fault.h"

namespace regs {

namespace {

Token::Role role_of(CXCursorKind kind) {
  switch (kind) {
    case CXCursor_BinaryOperator:
      return Token::Binary;
    case CXCursor_CompoundAssignOperator:
      return Token::CompoundAssign;
    case CXCursor_UnaryOperator:
      return Token::Unary;
    default:
      return Token::Other;
  }
}

}  // namespace

int tokens_of(const std::string& source, std::vector<Token>& tokens, char* err) {
  constexpr const char* Name = "solution.cpp";
  const char* args[] = {"-xc++", "-std=gnu++17"};
  CXUnsavedFile file{Name, source.data(), static_cast<unsigned long>(source.size())};
  CXIndex index = clang_createIndex(0, 0);
  CXTranslationUnit unit =
      clang_parseTranslationUnit(index, Name, args, 2, &file, 1, CXTranslationUnit_KeepGoing);
  if (!unit) {
    clang_disposeIndex(index);
    return refuse(err, "libclang cannot read the source");
  }
  CXFile self = clang_getFile(unit, Name);
  const CXSourceRange whole = clang_getRange(clang_getLocationForOffset(unit, self, 0),
                                             clang_getLocationForOffset(unit, self, source.size()));
  CXToken* read = nullptr;
  unsigned count = 0;
  clang_tokenize(unit, whole, &read, &count);
  std::vector<CXCursor> cursors(count);
  if (count > 0) clang_annotateTokens(unit, read, count, cursors.data());
  tokens.clear();
  int directive_line = 0;
  for (unsigned i = 0; i < count; ++i) {
    Token t;
    t.kind = static_cast<Token::Kind>(clang_getTokenKind(read[i]));
    CXString spelling = clang_getTokenSpelling(unit, read[i]);
    t.text = clang_getCString(spelling);
    clang_disposeString(spelling);
    unsigned line = 0, offset = 0;
    clang_getSpellingLocation(clang_getTokenLocation(unit, read[i]), nullptr, &line, nullptr, &offset);
    t.line = static_cast<int>(line);
    t.offset = offset;
    t.role = role_of(clang_getCursorKind(cursors[i]));
    // A directive runs from its # to its line's end (a continued line aside).
    const bool first_on_line = tokens.empty() || tokens.back().line != t.line;
    if (first_on_line && t.text == "#") directive_line = t.line;
    t.directive = t.line == directive_line;
    tokens.push_back(std::move(t));
  }
  if (read) clang_disposeTokens(unit, read, count);
  clang_disposeTranslationUnit(unit);
  clang_disposeIndex(index);
  return 1;
}

namespace {

// The usual slips of an operator, by its role.
const std::map<std::string, std::vector<std::string>> BinarySlips = {
    {"<", {"<=", ">"}}, {"<=", {"<", ">="}}, {">", {">=", "<"}}, {">=", {">", "<="}}, {"==", {"!="}},
    {"!=", {"=="}},     {"+", {"-"}},        {"-", {"+"}},       {"*", {"/"}},        {"/", {"*"}},
    {"%", {"/"}},       {"&&", {"||"}},      {"||", {"&&"}},     {"&", {"|"}},        {"|", {"&"}},
    {"^", {"|"}},       {"<<", {">>"}},      {">>", {"<<"}}};
const std::map<std::string, std::vector<std::string>> CompoundSlips = {
    {"+=", {"-="}}, {"-=", {"+="}}, {"*=", {"/="}},   {"/=", {"*="}},
    {"|=", {"&="}}, {"&=", {"|="}}, {"<<=", {">>="}}, {">>=", {"<<="}}};
const std::map<std::string, std::vector<std::string>> UnarySlips = {
    {"++", {"--"}}, {"--", {"++"}}, {"!", {""}}, {"-", {""}}};

std::size_t end_of(const Token& t) { return t.offset + t.text.size(); }

// The index of the token that closes the bracket at `open`, or tokens.size().
std::size_t closing(const std::vector<Token>& tokens, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < tokens.size(); ++i) {
    const std::string& s = tokens[i].text;
    if (tokens[i].kind != Token::Punctuation) continue;
    if (s == "(" || s == "[" || s == "{") ++depth;
    if ((s == ")" || s == "]" || s == "}") && --depth == 0) return i;
  }
  return tokens.size();
}

// The source from token a to token b, both included.
std::string span(const std::string& source, const std::vector<Token>& tokens, std::size_t a, std::size_t b) {
  return source.substr(tokens[a].offset, end_of(tokens[b]) - tokens[a].offset);
}

// An integer literal's value and suffix; false for any other literal.
bool integer_literal(const std::string& text, unsigned long long& value, std::string& suffix) {
  if (text.empty() || text[0] < '0' || text[0] > '9' || text.find_first_of(".'") != std::string::npos)
    return false;
  const bool hex = text.size() > 1 && (text[1] == 'x' || text[1] == 'X');
  if (!hex && text.find_first_of("eEpP") != std::string::npos) return false;
  char* end = nullptr;
  value = std::strtoull(text.c_str(), &end, 0);
  suffix = end;
  return suffix.find_first_not_of("uUlL") == std::string::npos;
}

// The for loop's bound mutant: in its condition's first < or <=, the bound
// to the right moved by one, as far as the next && || , ? or the condition's end.
void shift_bound(const std::string& source, const std::vector<Token>& tokens, std::size_t open,
                 std::vector<Mutant>& out) {
  const std::size_t close = closing(tokens, open);
  std::vector<std::size_t> semicolons;
  for (std::size_t i = open + 1; i < close; ++i) {
    if (tokens[i].text == "(" || tokens[i].text == "[" || tokens[i].text == "{")
      i = closing(tokens, i);
    else if (tokens[i].text == ";")
      semicolons.push_back(i);
  }
  if (semicolons.size() != 2) return;
  for (std::size_t i = semicolons[0] + 1; i < semicolons[1]; ++i) {
    const Token& t = tokens[i];
    if (t.text == "(" || t.text == "[")
      i = closing(tokens, i);
    else if (t.role == Token::Binary && (t.text == "<" || t.text == "<=")) {
      std::size_t last = i;
      for (std::size_t j = i + 1; j < semicolons[1]; ++j) {
        const std::string& s = tokens[j].text;
        if (s == "&&" || s == "||" || s == "," || s == "?") break;
        if (s == "(" || s == "[") j = closing(tokens, j);
        last = j;
      }
      if (last == i) return;
      const bool less = t.text == "<";
      std::string bound = "(";
      bound += span(source, tokens, i + 1, last);
      bound += less ? ") - 1" : ") + 1";
      out.push_back({tokens[i + 1].offset, end_of(tokens[last]) - tokens[i + 1].offset, bound, t.line,
                     less ? "loop bound one lower" : "loop bound one higher"});
      return;
    }
  }
}

}  // namespace

std::vector<Mutant> mutants_of(const std::string& source, const std::vector<Token>& tokens) {
  std::vector<Mutant> out;
  const auto replace = [&](std::size_t first, std::size_t last, const std::string& with, std::string what) {
    out.push_back({tokens[first].offset, end_of(tokens[last]) - tokens[first].offset, with,
                   tokens[first].line, std::move(what)});
  };
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    if (t.directive) continue;
    const auto* slips = t.role == Token::Binary           ? &BinarySlips
                        : t.role == Token::CompoundAssign ? &CompoundSlips
                        : t.role == Token::Unary          ? &UnarySlips
                                                          : nullptr;
    if (t.kind == Token::Punctuation && slips) {
      const auto found = slips->find(t.text);
      if (found != slips->end())
        for (const std::string& with : found->second)
          replace(i, i, with, with.empty() ? t.text + " dropped" : t.text + " to " + with);
    }
    unsigned long long value = 0;
    std::string suffix;
    if (t.kind == Token::Literal && integer_literal(t.text, value, suffix)) {
      std::vector<std::string> values{std::to_string(value + 1),
                                      value > 0 ? std::to_string(value - 1) : "(-1" + suffix + ")"};
      if (value > 1) values.push_back("0");
      for (std::string& v : values) {
        if (v[0] != '(') v += suffix;
        replace(i, i, v, t.text + " to " + v);
      }
    }
    if (t.kind == Token::Keyword && t.text == "long" && i + 1 < tokens.size() && tokens[i + 1].text == "long")
      replace(i, i + 1, "int", "long long to int");
    if (t.kind == Token::Identifier && t.text == "int64_t") {
      const bool qualified = i >= 2 && tokens[i - 1].text == "::" && tokens[i - 2].text == "std";
      replace(qualified ? i - 2 : i, i, "int", t.text + " to int");
    }
    if (t.kind == Token::Keyword && (t.text == "break" || t.text == "continue"))
      replace(i, i, "", t.text + " dropped");
    const bool opens = i + 1 < tokens.size() && tokens[i + 1].text == "(";
    if (t.kind == Token::Keyword && opens && (t.text == "if" || t.text == "while")) {
      const std::size_t close = closing(tokens, i + 1);
      if (close < tokens.size() && close > i + 2)
        replace(i + 2, close - 1, "!(" + span(source, tokens, i + 2, close - 1) + ")", "condition negated");
    }
    if (t.kind == Token::Keyword && opens && t.text == "for") shift_bound(source, tokens, i + 1, out);
  }
  return out;
}

std::string mutated(const std::string& source, const Mutant& mutant) {
  std::string text = source;
  text.replace(mutant.offset, mutant.length, mutant.replacement);
  return text;
}

std::string line_text(const std::string& source, int line) {
  std::size_t at = 0;
  for (int l = 1; l < line && at != std::string::npos; ++l) {
    at = source.find('\n', at);
    if (at != std::string::npos) ++at;
  }
  if (at == std::string::npos || at > source.size()) return "";
  return source.substr(at, source.find('\n', at) - at);
}

}  // namespace regs
