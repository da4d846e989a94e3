// Reading the task input and replaying answers on it, driven through streams.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <random>
#include <string>

#include "cases.h"
#include "judge.h"
#include "regs.h"
#include "replay.h"
#include "support.h"
#include "worked_example.h"

// The test binary's own allocator counts the blocks alive, exactly, and can
// be told to fail an allocation as an exhausted heap would.
namespace {
long live_blocks = 0;
long failing_allocation = -1;  // counts down to the one that fails; -1: none
}  // namespace

void* operator new(std::size_t size) {
  if (failing_allocation >= 0 && failing_allocation-- == 0) throw std::bad_alloc();
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  ++live_blocks;
  return p;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  --live_blocks;
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

// C's allocator too, as the C library's own allocations (a stream's) fail
// with ENOMEM; glibc lets a program put its malloc before its own. Not under
// the sanitizers, whose runtime owns malloc.
#if !defined(__SANITIZE_ADDRESS__)
#define FAILING_MALLOC 1
namespace {
long failing_malloc = -1;  // counts down to the one that fails; -1: none
}  // namespace
extern "C" void* __libc_malloc(std::size_t size);
extern "C" void* malloc(std::size_t size) noexcept {
  if (failing_malloc >= 0 && failing_malloc-- == 0) {
    errno = ENOMEM;
    return nullptr;
  }
  return __libc_malloc(size);
}
#endif

namespace {

using support::WorkedIn;

using support::Stream;

// The reader's message, or "" when it accepts; an accepted tree is released
// again. A rejected read leaves no block alive: one still reachable through
// node_map would escape the leak report at exit, so the blocks are counted.
std::string read_message(const std::string& in) {
  char err[regs::ErrSize] = "";
  Stream s(in);
  const long before = live_blocks;
  if (!regs::read_task(s.file, err)) {
    EXPECT_EQ(live_blocks, before) << "left allocated on: " << err;
    return err;
  }
  regs::delete_data();
  return "";
}

// The replay's message on a task that must read cleanly, or "" when accepted.
std::string replay_message(const std::string& in, const std::string& out) {
  char err[regs::ErrSize] = "";
  Stream task(in);
  if (!regs::read_task(task.file, err)) return std::string("input rejected: ") + err;
  Stream answer(out);
  long long claimed = 0, total = 0;
  const int ok = regs::replay_answer(answer.file, err, claimed, total);
  regs::delete_data();
  return ok ? "" : err;
}

std::string repeat(char c, int n) { return std::string(n, c); }

void expect_lines_of_fgets(const std::string& text) {
  Stream ours(text), theirs(text);
  regs::LineReader reader(ours.file);
  char line[regs::BufferSize];
  for (;;) {
    const bool got = std::fgets(line, regs::BufferSize, theirs.file) != nullptr;
    ASSERT_EQ(reader.get_line(), got);
    if (!got) break;
    ASSERT_STREQ(regs::buffer, line);
  }
}

TEST(LineReader, SplitsLongLinesAcrossItsBlockBoundary) {
  // Lines of 998 to 1000 characters starting just before the end of the
  // reader's first block of 16384 bytes.
  for (const int start : {16384 - 998, 16384 - 500, 16384 - 1})
    for (const int length : {998, 999, 1000}) {
      const std::string filler = repeat('x', start % 100) + "\n" + [&] {
        std::string lines;
        for (int i = 0; i < start / 100; ++i) lines += repeat('y', 99) + "\n";
        return lines;
      }();
      expect_lines_of_fgets(filler.substr(1) + repeat('z', length) + "\n5 1\n");
    }
}

TEST(LineReader, ReadsTheLinesThatFgetsReads) {
  // Lines short and long around the 999-character limit, with and without a
  // final line break, across the reader's block boundaries.
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::string text;
    const int lines = random() % 40;
    for (int i = 0; i < lines; ++i) {
      const int length = random() % 3 == 0 ? 990 + random() % 20 : random() % 2000;
      text += std::string(length, static_cast<char>('a' + i % 26));
      if (random() % 8 != 0) text += random() % 4 == 0 ? "\r\n" : "\n";
    }
    expect_lines_of_fgets(text);
    if (HasFatalFailure()) return;
  }
}

struct Row {
  std::string name, text, message;
};

TEST(ReadTask, ChecksEveryLineInOrder) {
  const std::string tail = "1 1\n0\n";
  const Row table[] = {
      {"smallest tree", "1\n1 1\n0\n", ""},
      {"worked example", WorkedIn, ""},
      {"empty file", "", "syntax error at line 1"},
      {"N of 100", "100\n" + tail, ""},
      {"N of 101", "101\n" + tail, "N out of range at line 1"},
      {"N of 0", "0\n" + tail, "N out of range at line 1"},
      {"negative N", "-3\n" + tail, "N out of range at line 1"},
      {"N that wraps to 1 in 32 bits", "4294967297\n" + tail, "N out of range at line 1"},
      {"hexadecimal N", "0x1A\n" + tail, ""},
      {"08 reads as 0", "08\n" + tail, "N out of range at line 1"},
      {"text after N", "7 apples\n" + tail, ""},
      {"word for N", "two\n" + tail, "syntax error at line 1"},
      {"one cost only", "1\n1\n0\n", "syntax error at line 2"},
      {"missing costs", "1\n", "syntax error at line 2"},
      {"C_l of 0", "1\n0 1\n0\n", "C_l or C_s are out of range at line 2"},
      {"C_s of 0", "1\n1 0\n0\n", "C_l or C_s are out of range at line 2"},
      {"negative C_s", "1\n1 -1\n0\n", "C_l or C_s are out of range at line 2"},
      {"C_s above 32 bits", "1\n1 2147483648\n0\n", "C_l or C_s are out of range at line 2"},
      {"C_l that wraps to 1", "1\n4294967297 1\n0\n", "C_l or C_s are out of range at line 2"},
      {"largest costs", "1\n2147483647 0x7fffffff\n0\n", ""},
      {"no tree", "1\n1 1\n", "syntax error at line 3"},
      {"K equal to N", "2\n1 1\n2\n5\n0\n0\n", ""},
      {"K above N", "2\n1 1\n3\n5\n0\n0\n0\n", "K out of range at line 3"},
      {"K of 11 with many registers", "20\n1 1\n11\n", "K out of range at line 3"},
      {"negative K", "20\n1 1\n-1\n", "K out of range at line 3"},
      {"K that wraps to 1", "20\n1 1\n4294967297\n5\n0\n", "K out of range at line 3"},
      {"zero and negative costs", "2\n1 1\n2\n0\n1\n-5\n0\n0\n", ""},
      {"cost of exactly -2147483648", "2\n1 1\n1\n-2147483648\n0\n", ""},
      {"cost above 32 bits", "2\n1 1\n1\n2147483648\n0\n", "cost out of range at line 4"},
      {"cost below 32 bits", "2\n1 1\n1\n-2147483649\n0\n", "cost out of range at line 4"},
      {"cost checked before the children", "2\n1 1\n1\n9999999999\n", "cost out of range at line 4"},
      {"missing cost line", "2\n1 1\n1\n", "syntax error at line 4"},
      {"missing child", "2\n1 1\n1\n5\n", "syntax error at line 5"},
      {"blank line inside", "2\n1 1\n2\n1\n0\n\n0\n", "syntax error at line 6"},
      {"worked example with K above N at line 9", "2\n1 3\n2\n1\n2\n1\n0\n0\n3\n1\n0\n0\n",
       "K out of range at line 9"},
      {"worked example cut after line 11", WorkedIn.substr(0, WorkedIn.size() - 2),
       "syntax error at line 12"},
      {"no final line break", WorkedIn.substr(0, WorkedIn.size() - 1), ""},
      {"empty line after the tree", WorkedIn + "\n", "trash in the end of file"},
      {"blank after the tree", WorkedIn + " ", "trash in the end of file"},
      {"second tree after the tree", WorkedIn + "0\n", "trash in the end of file"},
      {"CR LF line ends", "2\r\n1 3\r\n2\r\n1\r\n0\r\n0\r\n", ""},
      {"line 1 of 998 characters", "1" + repeat(' ', 997) + "\n" + tail, ""},
      {"line 1 of 999 characters", "1" + repeat(' ', 998) + "\n" + tail, "syntax error at line 2"},
      {"line 1 of 1000 characters", "1" + repeat(' ', 999) + "\n" + tail, "syntax error at line 2"},
      {"costs in the rest of a long line 1", "1" + repeat(' ', 998) + "1 1\n0\n", ""},
      {"chain of 10000 nodes", cases::chain(10000).in, ""},
      {"chain of 10001 nodes", cases::chain(10001).in, "too many nodes"},
      {"too many nodes before the missing line",
       cases::chain(10001).in.substr(0, cases::chain(10001).in.size() - 2), "too many nodes"},
      {"wide tree of 10000 nodes", cases::wide(10000).in, ""},
      {"wide tree of 10001 nodes", cases::wide(10001).in, "too many nodes"},
      {"defect at the bottom of a deep chain",
       cases::chain(10000).in.substr(0, cases::chain(10000).in.size() - 2) + "x\n",
       "syntax error at line 20001"},
  };
  for (const Row& row : table) EXPECT_EQ(read_message(row.text), row.message) << row.name;
}

TEST(ReadTask, NumbersNodesInPreOrder) {
  char err[regs::ErrSize];
  Stream s(WorkedIn);
  ASSERT_EQ(regs::read_task(s.file, err), 1);
  EXPECT_EQ(regs::N, 2);
  EXPECT_EQ(regs::C_l, 1);
  EXPECT_EQ(regs::C_s, 3);
  ASSERT_EQ(regs::M, 7);
  EXPECT_EQ(regs::root, regs::node_map[1]);
  const int children[][2] = {{1, 2}, {1, 5}, {2, 3}, {2, 4}, {5, 6}, {5, 7}};
  int slot[8] = {};
  for (const auto& [parent, child] : children)
    EXPECT_EQ(regs::node_map[parent]->children[slot[parent]++], regs::node_map[child]);
  for (int i = 1; i <= 7; ++i) {
    EXPECT_EQ(regs::node_map[i]->number, i);
    EXPECT_EQ(regs::node_map[i]->evaluated, 0);
  }
  regs::delete_data();
}

TEST(ReplayAnswer, FindsTheFirstDefect) {
  // Two held results fill both registers before node 2's step loads leaf 3
  // and meets its unevaluated child 4.
  const std::string crowded = "2\n1 1\n2\n1\n2\n1\n0\n1\n1\n0\n2\n1\n1\n1\n0\n1\n1\n0\n";
  const std::string one_leaf = "1\n1 1\n0\n";
  const Row table[] = {
      {"worked example", "11\n2 0\n5 1\n1 1\n", ""},
      {"wrong claim", "12\n2 0\n5 1\n1 1\n", "incorrect total cost"},
      {"held result crowds the registers", "11\n2 1\n5 1\n1 1\n", "too many registers used at line 3"},
      {"root stored", "11\n2 0\n5 1\n1 0\n", "root node has not been computed properly"},
      {"root stored and a wrong claim", "99\n2 0\n5 1\n1 0\n", "root node has not been computed properly"},
      {"root before its children", "11\n1 1\n", "node has unevaluated children at line 2"},
      {"empty answer", "", "syntax error at line 1"},
      {"no claim", "eleven\n2 0\n", "syntax error at line 1"},
      {"claim only", "11\n", "root node has not been computed properly"},
      {"text after the numbers, no final line break", "11 points\n2 0 extra\n5 1\n1 1", ""},
      {"CR LF line ends", "11\r\n2 0\r\n5 1\r\n1 1\r\n", ""},
      {"LF CR between the lines", "11\n\r2 0\n\r5 1\n\r1 1\n", ""},
      {"LF CR line ends: the last CR is a blank line", "11\n\r2 0\n\r5 1\n\r1 1\n\r",
       "syntax error at line 5"},
      {"blank line after the last step", "11\n2 0\n5 1\n1 1\n\n", "syntax error at line 5"},
      {"blank line between steps", "11\n2 0\n \n5 1\n1 1\n", "syntax error at line 3"},
      {"step split over two lines", "11\n2\n0\n", "syntax error at line 2"},
      {"node 0", "11\n0 1\n", "value out of range at line 2"},
      {"node M + 1", "11\n8 1\n", "value out of range at line 2"},
      {"negative node", "11\n-2 1\n", "value out of range at line 2"},
      {"keep flag 2", "11\n2 2\n", "value out of range at line 2"},
      {"keep flag -1", "11\n2 -1\n", "value out of range at line 2"},
      {"08 1 is node 0", "11\n08 1\n", "value out of range at line 2"},
      {"node that wraps to 2 in 32 bits", "11\n4294967298 0\n", "value out of range at line 2"},
      {"keep flag that wraps to 1", "11\n2 4294967297\n", "value out of range at line 2"},
      {"octal and hexadecimal", "0xB\n02 0\n0x5 01\n01 0x1\n", ""},
      {"sign ends the node number", "11\n2 0\n5+1\n1 1\n", ""},
      {"leaf", "11\n3 0\n", "evaluating leaf node at line 2"},
      {"reevaluation", "11\n2 0\n2 0\n", "reevaluating node at line 3"},
      {"line after the root's step", "11\n2 0\n5 1\n1 1\n1 1\n", "reevaluating node at line 5"},
      {"step line of 998 characters", "11\n2 0" + repeat(' ', 995) + "\n5 1\n1 1\n", ""},
      {"step line of 999 characters", "11\n2 0" + repeat(' ', 996) + "\n5 1\n1 1\n",
       "syntax error at line 3"},
      {"step line of 1000 characters", "11\n2 0" + repeat(' ', 997) + "\n5 1\n1 1\n",
       "syntax error at line 3"},
      {"steps in the rest of a long claim line", "11" + repeat(' ', 997) + "2 0\n5 1\n5 1\n",
       "reevaluating node at line 4"},
  };
  for (const Row& row : table) EXPECT_EQ(replay_message(WorkedIn, row.text), row.message) << row.name;

  EXPECT_EQ(replay_message(crowded, "0\n7 1\n9 1\n2 1\n"), "node has unevaluated children at line 4");
  EXPECT_EQ(replay_message(one_leaf, "0\n1 1\n"), "evaluating leaf node at line 2");
  EXPECT_EQ(replay_message(one_leaf, "0\n"), "root node has not been computed properly");
}

TEST(ReplayAnswer, AcceptsLargeTreesWithTheirTrueTotal) {
  for (const cases::Case& c : {cases::chain(10000), cases::wide(10000), cases::chain(2), cases::wide(11)})
    EXPECT_EQ(replay_message(c.in, c.out), "") << c.in.substr(0, 20);
}

TEST(ReplayAnswer, CountsTotalsBeyondThirtyTwoBitsExactly) {
  // The worked tree with every cost at the 32-bit maximum: three node costs,
  // five loads and one store.
  const std::string big =
      "2\n2147483647 2147483647\n2\n2147483647\n2\n2147483647\n0\n0\n2\n2147483647\n0\n0\n";
  const long long total = 9LL * INT_MAX;
  const auto wrapped = static_cast<std::int32_t>(static_cast<std::uint32_t>(total));
  const std::string steps = "2 0\n5 1\n1 1\n";
  const Row table[] = {
      {"true total", std::to_string(total) + "\n", ""},
      {"true total in hexadecimal", "0x47FFFFFF7\n", ""},
      {"total wrapped to 32 bits", std::to_string(wrapped) + "\n", "incorrect total cost"},
      {"claim beyond 64 bits", "99999999999999999999999\n", "incorrect total cost"},
      {"hexadecimal claim of 2^64 + the total", "0x1000000047FFFFFF7\n", "incorrect total cost"},
      {"claim below 64 bits", "-99999999999999999999999\n", "incorrect total cost"},
      {"largest 64-bit claim", "9223372036854775807\n", "incorrect total cost"},
  };
  for (const Row& row : table) EXPECT_EQ(replay_message(big, row.text + steps), row.message) << row.name;
}

TEST(ReplayAnswer, ReportsTheClaimWhateverTheVerdict) {
  char err[regs::ErrSize];
  Stream task(WorkedIn), answer("0x10 and more\n2 2\n");
  ASSERT_EQ(regs::read_task(task.file, err), 1);
  long long claimed = 0, total = 0;
  EXPECT_EQ(regs::replay_answer(answer.file, err, claimed, total), 0);
  EXPECT_EQ(claimed, 16);
  regs::delete_data();
}

TEST(ReadErrors, AreNeverTakenForTheEndOfTheFile) {
  const std::string chain = cases::chain(10000).in;
  const struct {
    const char* name;
    std::string task, answer;  // the answer empty: the task alone is read
    std::size_t good;          // bytes of the failing file given before the error
  } table[] = {
      {"task cut inside the tree", WorkedIn, "", 20},
      {"whole task, then an error where its end is looked for", WorkedIn, "", WorkedIn.size()},
      {"task failing in its third block", chain, "", 40000},
      {"whole accepted answer, then an error", WorkedIn, support::WorkedOut, 15},
      {"answer cut inside a line", WorkedIn, support::WorkedOut, 5},
  };
  for (const auto& row : table) {
    char err[regs::ErrSize] = "";
    const long before = live_blocks;
    if (row.answer.empty()) {
      support::ScriptedStream task(row.task, row.good);
      EXPECT_EQ(regs::read_task(task.file, err), 0) << row.name;
    } else {
      Stream task(row.task);
      ASSERT_EQ(regs::read_task(task.file, err), 1) << row.name;
      support::ScriptedStream answer(row.answer, row.good);
      long long claimed = 0, total = 0;
      EXPECT_EQ(regs::replay_answer(answer.file, err, claimed, total), 0) << row.name;
      regs::delete_data();
    }
    EXPECT_STREQ(err, "failed opening file") << row.name;
    EXPECT_EQ(live_blocks, before) << row.name;
  }
}

TEST(Memory, OutOfMemoryIsNoVerdictAndReleasesEverything) {
  const support::ScratchDir dir;
  const std::string in = dir.path + "/REGS.IN", out = dir.path + "/REGS.OUT";
  const cases::Case chain = cases::chain(10000);
  const struct {
    std::string in, out;
    long fail_at;  // the allocation that fails, from 0; beyond the nodes none does
  } table[] = {
      {WorkedIn, support::WorkedOut, 0},
      {WorkedIn, support::WorkedOut, 6},
      {chain.in, chain.out, 5000},
  };
  for (const auto& row : table) {
    support::write_file(in, row.in);
    support::write_file(out, row.out);
    const long before = live_blocks;
    failing_allocation = row.fail_at;
    const regs::Judgement j = regs::judge(in.c_str(), out.c_str());
    failing_allocation = -1;
    EXPECT_EQ(j.verdict, regs::Verdict::CouldNotJudge) << row.fail_at;
    EXPECT_STREQ(j.message, "out of memory") << row.fail_at;
    EXPECT_EQ(live_blocks, before) << row.fail_at;
  }
  support::write_file(in, WorkedIn);
  support::write_file(out, support::WorkedOut);
  failing_allocation = 7;  // one past the worked example's seven nodes
  EXPECT_EQ(regs::judge(in.c_str(), out.c_str()).verdict, regs::Verdict::Accepted);
  failing_allocation = -1;
}

// The lowest descriptor free: a file that a judgement left open moves it up.
int lowest_free_descriptor() {
  const int fd = open("/dev/null", O_RDONLY);
  close(fd);
  return fd;
}

// The verdicts are the protocol table's (hosts_test.cpp); here, that every
// path of a judgement frees the tree and closes its files.
TEST(Judge, LeavesNothingBehindOnAnyPath) {
  using regs::Verdict;
  const support::ScratchDir dir;
  const std::string in = dir.path + "/in", out = dir.path + "/out", ans = dir.path + "/ans";
  support::write_file(in, WorkedIn);
  const std::string wrong = "12\n2 0\n5 1\n1 1\n";
  const struct {
    const char* name;
    std::optional<std::string> out, ans;  // none: absent
    bool with_jury;
    Verdict verdict;
    std::string message;
  } table[] = {
      {"answer missing", std::nullopt, std::nullopt, false, Verdict::Rejected, "failed opening file"},
      {"as cheap as the jury's", support::WorkedOut, support::WorkedOut, true, Verdict::Accepted, ""},
      {"missing after the jury's", std::nullopt, support::WorkedOut, true, Verdict::Rejected,
       "failed opening file"},
      {"jury's missing", support::WorkedOut, std::nullopt, true, Verdict::JuryFault, "failed opening file"},
      {"jury's rejected", support::WorkedOut, wrong, true, Verdict::JuryFault,
       "incorrect total cost: claimed 12, replayed 11"},
  };
  for (const auto& row : table) {
    std::remove(out.c_str());
    std::remove(ans.c_str());
    if (row.out) support::write_file(out, *row.out);
    if (row.ans) support::write_file(ans, *row.ans);
    const long blocks = live_blocks;
    const int descriptor = lowest_free_descriptor();
    const regs::Judgement j = regs::judge(in.c_str(), out.c_str(), row.with_jury ? ans.c_str() : nullptr);
    EXPECT_EQ(j.verdict, row.verdict) << row.name;
    EXPECT_EQ(j.message, row.message) << row.name;
    if (j.verdict == Verdict::Accepted) {
      EXPECT_EQ(j.total, 11) << row.name;
    }
    EXPECT_EQ(live_blocks, blocks) << row.name;
    EXPECT_EQ(lowest_free_descriptor(), descriptor) << row.name;
  }
}

TEST(Memory, AStreamThatCannotBeMadeIsNoVerdict) {
#if !defined(FAILING_MALLOC)
  GTEST_SKIP() << "the sanitizers' runtime owns malloc";
#else
  // Every allocation of a judgement in turn fails, the streams' included:
  // each time nobody is to blame, as an open that fails for want of memory
  // says nothing about the file.
  const support::ScratchDir dir;
  const std::string in = dir.path + "/in", out = dir.path + "/out";
  support::write_file(in, WorkedIn);
  support::write_file(out, support::WorkedOut);
  for (long fail_at = 0;; ++fail_at) {
    const long blocks = live_blocks;
    const int descriptor = lowest_free_descriptor();
    failing_malloc = fail_at;
    const regs::Judgement j = regs::judge(in.c_str(), out.c_str(), out.c_str());
    const bool failed = failing_malloc < 0;
    failing_malloc = -1;
    EXPECT_EQ(live_blocks, blocks) << fail_at;
    EXPECT_EQ(lowest_free_descriptor(), descriptor) << fail_at;
    if (!failed) {
      EXPECT_EQ(j.verdict, regs::Verdict::Accepted);
      EXPECT_GT(fail_at, 9);  // three streams and seven nodes
      break;
    }
    if (j.verdict == regs::Verdict::Accepted) continue;  // a stream's buffer: it reads without
    EXPECT_EQ(j.verdict, regs::Verdict::CouldNotJudge) << fail_at << ": " << j.message;
    EXPECT_STREQ(j.message, "out of memory") << fail_at;
  }
#endif
}

}  // namespace
