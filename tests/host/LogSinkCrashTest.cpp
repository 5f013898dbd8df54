// dghost killed with SIGKILL in the middle of a large import: its log file
// holds every line flushed before the kill and nothing after the last one.

#include "LogSinkTestSupport.h"

#include <dghost/LogSink.h>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using logsinktest::fileSize;
using logsinktest::slurp;
using logsinktest::tempPath;

namespace {

// A flat document: one root, `count` records of three attributes and a text.
std::string writeFlatDocument(int count)
{
    const std::string path = tempPath("flat.xml");
    std::ofstream out(path);
    out << "<records>\n";
    for (int i = 0; i < count; ++i)
        out << "  <record id=\"r" << i << "\" kind=\"k" << i % 7 << "\" size=\"" << i % 1000 << "\">text " << i
            << "</record>\n";
    out << "</records>\n";
    return path;
}

// Starts dghost importing `xml` with its log to `log`; output is dropped.
pid_t startImport(const std::string& xml, const std::string& log)
{
    const std::string script = "loadPlugin \"" DENDRINE_PLUGIN "\"; XmlLoadFile -f \"" + xml + "\" -n doc";
    pid_t child = ::fork();
    if (child == 0) {
        int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execl(DGHOST_EXE, DGHOST_EXE, "--log", log.c_str(), "-c", script.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return child;
}

}  // namespace

TEST(LogSinkCrash, KilledImportLeavesEveryFlushedLineAndNothingAfter)
{
    const std::string xml = writeFlatDocument(60000);

    // The whole log of the same import, to compare with.
    const std::string fullLog = tempPath("full.log");
    int status = 0;
    ::waitpid(startImport(xml, fullLog), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const std::string full = slurp(fullLog);
    const std::size_t step = dghost::LogSink::kDefaultStep;
    ASSERT_GT(full.size(), 6 * step);

    // The same import, killed once its log has grown a few steps.
    const std::string cutLog = tempPath("cut.log");
    logsinktest::Orphans orphans;  // the log's watcher outlives dghost
    pid_t importer = startImport(xml, cutLog);
    bool finished = false;
    while (fileSize(cutLog) < 4 * step && !finished) {
        finished = ::waitpid(importer, &status, WNOHANG) == importer;
        ::usleep(200);
    }
    ASSERT_FALSE(finished) << "the import ended before it could be killed";
    ::kill(importer, SIGKILL);
    ASSERT_EQ(::waitpid(importer, &status, 0), importer);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    orphans.waitForAll();

    const std::string cut = slurp(cutLog);
    ASSERT_GT(cut.size(), 2 * step);
    EXPECT_LT(cut.size(), full.size());
    EXPECT_EQ(cut.find('\0'), std::string::npos);
    EXPECT_EQ(cut.back(), '\n');
    EXPECT_EQ(full.compare(0, cut.size(), cut), 0) << "the killed import's log is not a prefix of the whole log";
}
