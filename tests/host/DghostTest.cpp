// The dghost program: plain and JSON output, exit statuses, the log, and
// loading a plug-in module.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct ProgramRun {
    int exitCode;
    std::string out, err;
};

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ProgramRun dghost(const std::vector<std::string>& args, const std::string& input = "")
{
    std::string base = std::string(::testing::TempDir()) + "dghost-" + std::to_string(::getpid());
    std::ofstream(base + ".in") << input;
    std::string command = std::string(DGHOST_EXE);
    for (const std::string& a : args) {
        std::string quoted = "'";
        for (char c : a) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += " " + quoted + "'";
    }
    command += " <" + base + ".in >" + base + ".out 2>" + base + ".err";
    int status = std::system(command.c_str());
    ProgramRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(base + ".out"), slurp(base + ".err")};
    for (const char* ext : {".in", ".out", ".err"}) std::remove((base + ext).c_str());
    return run;
}

}  // namespace

TEST(Dghost, PlainResultsAndErrors)
{
    ProgramRun run = dghost({"-c", "createNode network -n a; objExists a; ls -dep; nodeType nothing; ls"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "// Result: a //\n// Result: 1 //\n// Result: a //\n");
    EXPECT_EQ(run.err,
              "// Error: No object matches name: nothing //\n"
              "// Error: nodeType: (kFailure): Unexpected Internal Failure //\n");
}

TEST(Dghost, KeepGoingRunsEveryCommand)
{
    ProgramRun run = dghost({"-k", "-c", "nodeType nothing", "-c", "createNode network"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "// Result: network1 //\n");
}

TEST(Dghost, JsonHasOneObjectPerCommandAndNothingElse)
{
    ProgramRun run = dghost({"--json", "-k"}, "print \"to the log\\n\"\ncreateNode network -n \"q\\\"uote\"\nls -dep -sl\nfoo\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out,
              "{\"command\": \"print \\\"to the log\\\\n\\\"\", \"status\": \"kSuccess\", \"result\": null, \"errors\": []}\n"
              "{\"command\": \"createNode network -n \\\"q\\\\\\\"uote\\\"\", \"status\": \"kSuccess\", \"result\": "
              "\"q_uote\", \"errors\": []}\n"
              "{\"command\": \"ls -dep -sl\", \"status\": \"kSuccess\", \"result\": [], \"errors\": []}\n"
              "{\"command\": \"foo\", \"status\": \"kFailure\", \"result\": null, \"errors\": [\"Cannot find procedure "
              "\\\"foo\\\".\"]}\n");
    EXPECT_EQ(run.err, "to the log\n");
}

TEST(Dghost, LogFileTakesThePluginOutput)
{
    std::string log = std::string(::testing::TempDir()) + "dghost-log-" + std::to_string(::getpid());
    ProgramRun run = dghost({"--log", log, "-c", "print \"logged\"; createNode network"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "// Result: network1 //\n");
    EXPECT_EQ(slurp(log), "logged");
    std::remove(log.c_str());
}

TEST(Dghost, StandardOutputFileKeepsOrderAndHandsOnItsOffset)
{
    // Results and plug-in lines share one file; what runs after dghost in the
    // same redirection goes on after its last byte; a file that standard
    // error also writes keeps every line of both.
    const std::string file = std::string(::testing::TempDir()) + "dghost-stdout-" + std::to_string(::getpid());
    const std::string run = std::string(DGHOST_EXE) +
                            " -k -c 'print \"first\\n\"; createNode network -n a; nodeType nothing; print \"last\\n\"'";
    ASSERT_NE(std::system(("(" + run + " 2>/dev/null; echo after) >" + file).c_str()), -1);
    EXPECT_EQ(slurp(file), "first\n// Result: a //\nlast\nafter\n");
    ASSERT_NE(std::system(("(" + run + "; echo after) >" + file + " 2>&1").c_str()), -1);
    EXPECT_EQ(slurp(file),
              "first\n// Result: a //\n// Error: No object matches name: nothing //\n"
              "// Error: nodeType: (kFailure): Unexpected Internal Failure //\nlast\nafter\n");
    std::remove(file.c_str());
}

TEST(Dghost, LogThatCannotBeWrittenFailsTheRun)
{
    ProgramRun full = dghost({"--log", "/dev/full", "-c", "print \"lost\\n\"; createNode network"});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.out, "// Result: network1 //\n");
    EXPECT_EQ(full.err, "dghost: cannot write log file /dev/full: No space left on device\n");
    ProgramRun missing = dghost({"--log", "/no/such/dir/x.log", "-c", "ls"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err.rfind("dghost: cannot write log file /no/such/dir/x.log: No such file or directory\n", 0), 0u);
}

TEST(Dghost, BadUsageAndUnreadableScriptsExitWithTwo)
{
    EXPECT_EQ(dghost({"--nope"}).exitCode, 2);
    EXPECT_EQ(dghost({"/no/such/script.mel"}).exitCode, 2);
    ProgramRun bad = dghost({"-c", "ls\n/* never closed"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.err, "dghost: -c: line 2: unterminated comment\n");
}

TEST(Dghost, PluginLoadsWorksUnloadsAndLoadsAgain)
{
    std::string plugin = PROBE_PLUGIN;
    ProgramRun run = dghost({"--json", "-k", "-c",
                      "loadPlugin \"" + plugin + "\"; createNode probe -n p; probeCmd -n x; unloadPlugin ProbePlugin;"
                      "delete p; unloadPlugin ProbePlugin; probeCmd; loadPlugin \"" + plugin + "\"; probeCmd -c 2"});
    std::istringstream lines(run.out);
    std::vector<std::string> got;
    for (std::string line; std::getline(lines, line);) got.push_back(line);
    ASSERT_EQ(got.size(), 9u) << run.out;
    EXPECT_NE(got[0].find("\"result\": [\"ProbePlugin\"]"), std::string::npos);
    EXPECT_NE(got[2].find("\"result\": \"c n=x\""), std::string::npos);
    EXPECT_NE(got[3].find("\"status\": \"kFailure\""), std::string::npos);  // its node is still there
    EXPECT_NE(got[3].find("the scene holds nodes of its type probe"), std::string::npos);
    EXPECT_NE(got[5].find("\"status\": \"kSuccess\""), std::string::npos);
    EXPECT_NE(got[6].find("Cannot find procedure"), std::string::npos);
    EXPECT_NE(got[8].find("\"result\": \"c c=2\""), std::string::npos);
}
