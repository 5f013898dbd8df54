// The dghost program: plain and JSON output, exit statuses, the log, and
// loading a plug-in module.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
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
              "{\"command\": \"print \\\"to the log\\\\n\\\"\", \"status\": \"kSuccess\", \"result\": null, \"errors\": [], \"warnings\": []}\n"
              "{\"command\": \"createNode network -n \\\"q\\\\\\\"uote\\\"\", \"status\": \"kSuccess\", \"result\": "
              "\"q_uote\", \"errors\": [], \"warnings\": []}\n"
              "{\"command\": \"ls -dep -sl\", \"status\": \"kSuccess\", \"result\": [], \"errors\": [], \"warnings\": []}\n"
              "{\"command\": \"foo\", \"status\": \"kFailure\", \"result\": null, \"errors\": [\"Cannot find procedure "
              "\\\"foo\\\".\"], \"warnings\": []}\n");
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

namespace {

std::string tempFile(const std::string& name)
{
    return std::string(::testing::TempDir()) + "dghost-" + std::to_string(::getpid()) + "-" + name;
}

// True when every byte sequence is well-formed UTF-8.
bool validUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t extra = c < 0x80                  ? 0
                            : (c >= 0xC2 && c < 0xE0) ? 1
                            : (c >= 0xE0 && c < 0xF0) ? 2
                            : (c >= 0xF0 && c < 0xF5) ? 3
                                                      : 9;
        if (extra == 9 || i + extra >= text.size() + (extra ? 0 : 1)) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace

TEST(Dghost, OnlyRegularFilesRunAsScripts)
{
    const std::string folder = tempFile("folder"), fifo = tempFile("fifo");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {folder, "it is a directory, not a regular file"},
        {fifo, "it is a FIFO, not a regular file"},
        {"/dev/zero", "it is a character device, not a regular file"}};
    for (const auto& [script, why] : cases) {
        ProgramRun run = dghost({"-c", "createNode network", script});
        EXPECT_EQ(run.exitCode, 2) << script;
        EXPECT_EQ(run.out, "") << script;
        EXPECT_EQ(run.err, "dghost: cannot read script " + script + ": " + why + "\n") << script;
    }
    ::rmdir(folder.c_str());
    std::remove(fifo.c_str());
}

TEST(Dghost, AByteOrderMarkStartsAScriptWithoutHarm)
{
    const std::string script = tempFile("bom.mel");
    std::ofstream(script, std::ios::binary) << "\xEF\xBB\xBF" "createNode network -n first;\n";
    ProgramRun run = dghost({script});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "// Result: first //\n");
    std::remove(script.c_str());
}

TEST(Dghost, TheLogIsOpenedOnlyAfterEveryScriptParsedAndNeverOverAScript)
{
    const std::string script = tempFile("input.mel"), log = tempFile("kept.log");
    const std::string text = "print \"kept\";\n";
    std::ofstream(script, std::ios::binary) << text;
    ProgramRun same = dghost({"--log", script, script});
    EXPECT_EQ(same.exitCode, 2);
    EXPECT_NE(same.err.find("the log file " + script + " is one of the scripts"), std::string::npos);
    EXPECT_EQ(slurp(script), text);
    std::ofstream(log, std::ios::binary) << "earlier log";
    EXPECT_EQ(dghost({"--log", log, "-c", "ls; \"unterminated"}).exitCode, 2);
    EXPECT_EQ(slurp(log), "earlier log");
    std::remove(script.c_str());
    std::remove(log.c_str());
}

TEST(Dghost, WarningsAppearInPlainAndJsonOutput)
{
    const std::string load = std::string("loadPlugin \"") + PROBE_PLUGIN + "\";";
    ProgramRun plain = dghost({"-c", load + "probeCmd -w \"3 elements lost text\""});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.err, "// Warning: 3 elements lost text //\n");
    ProgramRun json = dghost({"--json", "-c", load + "probeCmd -w \"lost\"; probeCmd"});
    EXPECT_NE(json.out.find("\"result\": \"c\", \"errors\": [], \"warnings\": [\"lost\"]}\n"), std::string::npos);
    EXPECT_NE(json.out.find("\"result\": \"c\", \"errors\": [], \"warnings\": []}\n"), std::string::npos);
}

TEST(Dghost, BytesThatAreNotUtf8OrDriveTheTerminalAreNeutralised)
{
    const std::string load = std::string("loadPlugin \"") + PROBE_PLUGIN + "\";";
    ProgramRun json = dghost({"--json", "-c", load + "probeCmd -b"});
    ASSERT_TRUE(validUtf8(json.out)) << json.out;
    const std::string replaced = "\xEF\xBF\xBD";
    EXPECT_NE(json.out.find("\"result\": \"result " + replaced + replaced + " \\u001b[31m\""), std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"errors\": [\"error " + replaced + "\"]"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"warnings\": [\"warn " + replaced + "\\u001b[2J\"]"), std::string::npos) << json.out;

    ProgramRun plain = dghost(
        {"-c", load + "createNode probe -n p; setAttr p.tx -type \"string\" \"a\x1b[2Jb\x07" "c\td\"; getAttr p.tx"});
    EXPECT_EQ(plain.out, "// Result: ProbePlugin //\n// Result: p //\n// Result: a\\x1b[2Jb\\x07c\td //\n");
    ProgramRun shown = dghost({"-c", load + "probeCmd -b"});
    EXPECT_EQ(shown.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(shown.err.find('\x1b'), std::string::npos);
    EXPECT_NE(shown.out.find("\\x1b[31m"), std::string::npos) << shown.out;
    EXPECT_NE(shown.err.find("// Warning: warn \xff\\x1b[2J //"), std::string::npos) << shown.err;
}
