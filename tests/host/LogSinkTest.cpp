// The log sink: exact file contents across window moves and long lines,
// the plain fallback for what cannot be mapped, adopted descriptors, growth
// and write failures, and a writer killed between flushes.

#include "LogSinkTestSupport.h"

#include <dghost/LogSink.h>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <ostream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using logsinktest::fileSize;
using logsinktest::slurp;
using logsinktest::tempPath;

namespace {

const std::size_t kPage = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));

// Line i of a test log; every 7th line is longer than three pages.
std::string line(int i)
{
    std::string text = "line " + std::to_string(i);
    if (i % 7 == 3) text += " " + std::string(3 * kPage + 17, 'x');
    return text + "\n";
}

// Writes lines [from, to) through `out`, each flushed.
std::string writeLines(std::ostream& out, int from, int to)
{
    std::string all;
    for (int i = from; i < to; ++i) {
        out << line(i) << std::flush;
        all += line(i);
    }
    return all;
}

// Runs `body` in a forked child and returns its exit status (-1 if it did
// not exit normally), so that rlimits and signals stay out of the test.
template <typename Body>
int inChild(Body body)
{
    pid_t child = ::fork();
    if (child == 0) ::_exit(body());
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(LogSink, MappedFileHoldsExactlyWhatWasWritten)
{
    const std::string path = tempPath("mapped.log");
    std::string error;
    auto sink = dghost::LogSink::open(path, &error, kPage);
    ASSERT_TRUE(sink) << error;
    EXPECT_TRUE(sink->mapped());
    std::ostream out(sink.get());
    std::string expected = writeLines(out, 0, 40);
    EXPECT_EQ(sink->flushedBytes(), expected.size());
    // Pre-grown while open: the file is longer than what was flushed.
    EXPECT_GT(fileSize(path), expected.size());
    out << "unflushed tail";
    expected += "unflushed tail";
    ASSERT_TRUE(sink->close(&error)) << error;
    EXPECT_EQ(slurp(path), expected);
    EXPECT_EQ(sink->flushedBytes(), expected.size());
    out << "after close" << std::flush;
    EXPECT_TRUE(out.bad());
    EXPECT_EQ(slurp(path), expected);
}

TEST(LogSink, FallsBackToAPlainStreamForWhatCannotBeMapped)
{
    std::string error;
    auto null = dghost::LogSink::open("/dev/null", &error);
    ASSERT_TRUE(null) << error;
    EXPECT_FALSE(null->mapped());
    std::ostream toNull(null.get());
    writeLines(toNull, 0, 10);
    EXPECT_TRUE(toNull.good());
    EXPECT_TRUE(null->close());

    // A FIFO: each flushed line reaches the reader at once.
    const std::string fifo = tempPath("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] {
        int fd = ::open(fifo.c_str(), O_RDONLY);
        char buffer[4096];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) received.append(buffer, static_cast<size_t>(n));
        ::close(fd);
    });
    auto sink = dghost::LogSink::open(fifo, &error);
    ASSERT_TRUE(sink) << error;
    EXPECT_FALSE(sink->mapped());
    std::ostream out(sink.get());
    const std::string expected = writeLines(out, 0, 30);
    EXPECT_TRUE(sink->close(&error)) << error;
    reader.join();
    EXPECT_EQ(received, expected);

    // Standard output on a pipe, named as a path and as a descriptor.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    int status = inChild([&] {
        ::dup2(ends[1], STDOUT_FILENO);
        ::close(ends[0]);
        ::close(ends[1]);
        if (dghost::LogSink::forStandardOutput()) return 1;
        std::string why;
        auto viaPath = dghost::LogSink::open("/dev/stdout", &why);
        if (!viaPath || viaPath->mapped()) return 2;
        std::ostream piped(viaPath.get());
        piped << "through the pipe\n" << std::flush;
        return viaPath->close() ? 0 : 3;
    });
    ::close(ends[1]);
    char buffer[64] = {};
    ssize_t got = ::read(ends[0], buffer, sizeof buffer - 1);
    ::close(ends[0]);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(std::string(buffer, got > 0 ? static_cast<size_t>(got) : 0), "through the pipe\n");
}

TEST(LogSink, AdoptedDescriptorGoesOnFromItsOffsetAndLeavesItAtTheEnd)
{
    const std::string path = tempPath("adopted.log");
    std::ofstream(path) << "0123456789";
    int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::lseek(fd, 3, SEEK_SET), 3);
    auto sink = dghost::LogSink::adopt(fd, kPage);
    ASSERT_TRUE(sink);
    EXPECT_TRUE(sink->mapped());
    std::ostream out(sink.get());
    out << "ab\n" << std::flush;
    EXPECT_TRUE(sink->close());
    EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), 6);
    EXPECT_EQ(::write(fd, "!", 1), 1);
    ::close(fd);
    EXPECT_EQ(slurp(path), "012ab\n!789");

    // Appending: the sink starts at the end, whatever the offset says.
    fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
    sink = dghost::LogSink::adopt(fd, kPage);
    ASSERT_TRUE(sink);
    std::ostream appended(sink.get());
    const std::string lines = writeLines(appended, 4, 7);
    EXPECT_TRUE(sink->close());
    EXPECT_EQ(::write(fd, "end\n", 4), 4);
    ::close(fd);
    EXPECT_EQ(slurp(path), "012ab\n!789" + lines + "end\n");

    // A file that standard error also writes (`2>&1`) keeps its plain stream.
    int status = inChild([&] {
        int shared = ::open(path.c_str(), O_WRONLY | O_APPEND);
        ::dup2(shared, STDERR_FILENO);
        return dghost::LogSink::adopt(shared) ? 1 : 0;
    });
    EXPECT_EQ(status, 0);
}

TEST(LogSink, FailedGrowthOrWriteIsAnErrorAndKeepsOnlyWholeFlushedLines)
{
    // The file may not grow past three and a half windows.
    const std::string path = tempPath("limited.log");
    const std::size_t limit = 3 * kPage + kPage / 2;
    int status = inChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit cap = {limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &cap) != 0) return 10;
        std::string error;
        auto sink = dghost::LogSink::open(path, &error, kPage);
        if (!sink || !sink->mapped()) return 11;
        std::ostream out(sink.get());
        for (int i = 0; i < 100000 && out.good(); ++i) out << "line " << i << "\n" << std::flush;
        if (out.good()) return 12;
        if (sink->close(&error)) return 13;
        return error.find("cannot grow log file " + path + ": File too large") == 0 ? 0 : 14;
    });
    EXPECT_EQ(status, 0);
    const std::string text = slurp(path);
    ASSERT_GT(text.size(), 2 * kPage);
    EXPECT_LE(text.size(), 3 * kPage);
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_EQ(text.back(), '\n');
    std::string expected;
    for (int i = 0; expected.size() < text.size(); ++i) expected += "line " + std::to_string(i) + "\n";
    EXPECT_EQ(text, expected);

    // A device that refuses every write.
    std::string error;
    auto full = dghost::LogSink::open("/dev/full", &error);
    ASSERT_TRUE(full) << error;
    std::ostream out(full.get());
    out << "lost\n" << std::flush;
    EXPECT_TRUE(out.bad());
    EXPECT_FALSE(full->close(&error));
    EXPECT_EQ(error, "cannot write log file /dev/full: No space left on device");

    EXPECT_FALSE(dghost::LogSink::open("/no/such/dir/x.log", &error));
    EXPECT_EQ(error, "No such file or directory");
}

TEST(LogSink, KilledWriterLeavesEveryFlushedLineAndNothingElse)
{
    const std::string path = tempPath("killed.log");
    logsinktest::Orphans orphans;  // the watcher comes back to us to be waited for
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t writer = ::fork();
    if (writer == 0) {
        std::string error;
        auto sink = dghost::LogSink::open(path, &error, kPage);
        if (!sink || !sink->mapped()) ::_exit(1);
        std::ostream out(sink.get());
        writeLines(out, 0, 20);
        // A forked child closing its copy leaves the file to its owner.
        pid_t copy = ::fork();
        if (copy == 0) ::_exit(sink->close() ? 0 : 3);
        ::waitpid(copy, nullptr, 0);
        writeLines(out, 20, 25);
        out << "half a line that was never flushed";
        if (::write(ready[1], "r", 1) != 1) ::_exit(2);
        for (;;) ::pause();
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    EXPECT_GT(fileSize(path), 0u);
    ::kill(writer, SIGKILL);
    orphans.waitForAll();
    std::ostringstream expected;
    writeLines(expected, 0, 25);
    EXPECT_EQ(slurp(path), expected.str());
}

TEST(LogSink, WatcherLeavesAClosedFileAlone)
{
    // What comes after a normal close (a shell appending, say) is not cut
    // off when the watcher goes.
    const std::string path = tempPath("closed.log");
    logsinktest::Orphans orphans;
    int status = inChild([&] {
        std::string error;
        auto sink = dghost::LogSink::open(path, &error, kPage);
        if (!sink || !sink->mapped()) return 1;
        std::ostream out(sink.get());
        out << "logged\n" << std::flush;
        if (!sink->close()) return 2;
        std::ofstream(path, std::ios::app) << "appended later\n";
        return 0;
    });
    EXPECT_EQ(status, 0);
    orphans.waitForAll();
    EXPECT_EQ(slurp(path), "logged\nappended later\n");
}
