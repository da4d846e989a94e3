// The built brannik, run in a scratch folder: verdict line, silence on
// standard error and exit status together.
#include "cases.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    std::string out, err;
    int status = -1;
};

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs brannik with the given files (none where a file is absent) under the
// given shell prefix, in a folder of its own.
Outcome run(const std::optional<std::string>& regs_in, const std::optional<std::string>& regs_out,
            const std::string& prefix = "", const std::string& args = "")
{
    const fs::path dir = fs::temp_directory_path() / ("brannik-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    if (regs_in) std::ofstream(dir / "REGS.IN", std::ios::binary) << *regs_in;
    if (regs_out) std::ofstream(dir / "REGS.OUT", std::ios::binary) << *regs_out;
    const std::string command = "cd '" + dir.string() + "' && " + prefix + " '" BRANNIK "' " + args +
                                " >stdout.txt 2>stderr.txt";
    const int raw = std::system(("sh -c \"" + command + "\"").c_str());
    Outcome o{slurp(dir / "stdout.txt"), slurp(dir / "stderr.txt"), WIFEXITED(raw) ? WEXITSTATUS(raw) : -1};
    fs::remove_all(dir);
    return o;
}

const std::string worked_in = "2\n1 3\n2\n1\n2\n1\n0\n0\n2\n1\n0\n0\n";
const std::string worked_out = "11\n2 0\n5 1\n1 1\n";

TEST(Brannik, PrintsOneVerdictLineAndItsStatus)
{
    const std::string chain_in = cases::chain(10000).in;
    const struct {
        const char* name;
        std::optional<std::string> in, out;
        std::string verdict;
        int status;
    } table[] = {
        {"accepted", worked_in, worked_out, "Success\n", 0},
        {"wrong answer", worked_in, "12\n2 0\n5 1\n1 1\n", "Error in output file: incorrect total cost\n", 0},
        {"no answer", worked_in, std::nullopt, "Error in output file: failed opening file\n", 0},
        {"no task", std::nullopt, worked_out, "Error in input file: failed opening file\n", 1},
        {"both defective", "0\n", "", "Error in input file: N out of range at line 1\n", 1},
        {"too many nodes", cases::chain(10001).in, worked_out, "Error in input file: too many nodes\n", 1},
        {"trash after a deep tree", chain_in + "\n", worked_out, "Error in input file: trash in the end of file\n", 1},
        {"defect at the bottom of a deep tree", chain_in.substr(0, chain_in.size() - 2) + "-1\n", worked_out,
         "Error in input file: K out of range at line 20001\n", 1},
        {"deep tree accepted", chain_in, cases::chain(10000).out, "Success\n", 0},
        {"deep tree with a wrong answer", chain_in, "1\n9999 1\n", "Error in output file: root node has not been computed properly\n", 0},
    };
    for (const auto& row : table) {
        // A 2 MiB stack, as the checker is promised: deep trees must fit.
        const Outcome o = run(row.in, row.out, "ulimit -s 2048 &&");
        EXPECT_EQ(o.out, row.verdict) << row.name;
        EXPECT_EQ(o.err, "") << row.name;
        EXPECT_EQ(o.status, row.status) << row.name;
    }
}

TEST(Brannik, IgnoresItsArguments)
{
    const Outcome o = run(worked_in, worked_out, "", "REGS.IN other --help");
    EXPECT_EQ(o.out, "Success\n");
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.status, 0);
}

}  // namespace
