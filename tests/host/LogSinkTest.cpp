// The log sink: exact contents across window moves and long lines, the plain
// fallback, adopted descriptors, failures, and writers killed mid-way (a
// large dghost import among them).

#include <dghost/LogSink.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const std::size_t kPage = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));

// Fresh paths in the tests' temporary folder, removed when the test ends.
class Scratch {
public:
    ~Scratch()
    {
        for (const std::string& path : paths_) ::unlink(path.c_str());
    }
    std::string path(const std::string& name)
    {
        const char* base = std::getenv("DENDRINE_TEST_TMP");
        std::string dir = base ? std::string(base) + "/" : std::string(::testing::TempDir());
        ::mkdir(dir.c_str(), 0755);
        paths_.push_back(dir + "logsink-" + std::to_string(::getpid()) + "-" + name);
        ::unlink(paths_.back().c_str());
        return paths_.back();
    }

private:
    std::vector<std::string> paths_;
};

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t fileSize(const std::string& path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::size_t>(info.st_size) : 0;
}

// Writes lines [from, to) through `out`, each flushed; every 7th is longer
// than three pages.
std::string writeLines(std::ostream& out, int from, int to)
{
    std::string all;
    for (int i = from; i < to; ++i) {
        std::string line = "line " + std::to_string(i) + (i % 7 == 3 ? std::string(3 * kPage + 17, 'x') : "") + "\n";
        out << line << std::flush;
        all += line;
    }
    return all;
}

// Runs `body` in a forked child (rlimits and signals stay out of the test);
// its exit status, or -1.
template <typename Body>
int inChild(Body body)
{
    pid_t child = ::fork();
    if (child == 0) ::_exit(body());
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// While it lives, a dead writer's orphaned watcher becomes our child, so a
// test can wait until it has done its work.
struct Orphans {
    Orphans() { ::prctl(PR_SET_CHILD_SUBREAPER, 1); }
    ~Orphans() { ::prctl(PR_SET_CHILD_SUBREAPER, 0); }
    void waitForAll()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        for (int status; !(::waitpid(-1, &status, WNOHANG) < 0 && errno == ECHILD);) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "a child process did not end";
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
};

}  // namespace

TEST(LogSink, MappedFileHoldsExactlyWhatWasWritten)
{
    Scratch scratch;
    const std::string path = scratch.path("mapped.log");
    std::string error;
    auto sink = dghost::LogSink::open(path, &error, kPage);
    ASSERT_TRUE(sink && sink->mapped()) << error;
    std::ostream out(sink.get());
    std::string expected = writeLines(out, 0, 40);
    EXPECT_EQ(sink->flushedBytes(), expected.size());
    EXPECT_GT(fileSize(path), expected.size());  // pre-grown while open
    out << "unflushed tail";
    expected += "unflushed tail";
    ASSERT_TRUE(sink->close(&error)) << error;
    EXPECT_EQ(slurp(path), expected);
    out << "after close" << std::flush;
    EXPECT_TRUE(out.bad());
    EXPECT_EQ(slurp(path), expected);
}

TEST(LogSink, FallsBackToAPlainStreamForWhatCannotBeMapped)
{
    Scratch scratch;
    std::string error;
    auto null = dghost::LogSink::open("/dev/null", &error);
    ASSERT_TRUE(null) << error;
    EXPECT_FALSE(null->mapped());
    EXPECT_TRUE(null->close());

    // A FIFO: each flushed line reaches the reader.
    const std::string fifo = scratch.path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = slurp(fifo); });
    auto sink = dghost::LogSink::open(fifo, &error);
    ASSERT_TRUE(sink) << error;
    EXPECT_FALSE(sink->mapped());
    std::ostream out(sink.get());
    const std::string expected = writeLines(out, 0, 30);
    EXPECT_TRUE(sink->close(&error)) << error;
    reader.join();
    EXPECT_EQ(received, expected);

    // Standard output on a pipe, by descriptor and by path.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    int status = inChild([&] {
        ::dup2(ends[1], STDOUT_FILENO);
        if (dghost::LogSink::forStandardOutput()) return 1;
        auto viaPath = dghost::LogSink::open("/dev/stdout", nullptr);
        if (!viaPath || viaPath->mapped()) return 2;
        std::ostream(viaPath.get()) << "through the pipe\n" << std::flush;
        return viaPath->close() ? 0 : 3;
    });
    ::close(ends[1]);
    char buffer[64] = {};
    EXPECT_EQ(::read(ends[0], buffer, sizeof buffer - 1), 17);
    ::close(ends[0]);
    EXPECT_EQ(status, 0);
    EXPECT_STREQ(buffer, "through the pipe\n");
}

TEST(LogSink, AdoptedDescriptorGoesOnFromItsOffsetAndLeavesItAtTheEnd)
{
    Scratch scratch;
    const std::string path = scratch.path("adopted.log");
    std::ofstream(path) << "0123456789";
    int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_EQ(::lseek(fd, 3, SEEK_SET), 3);
    auto sink = dghost::LogSink::adopt(fd, kPage);
    ASSERT_TRUE(sink && sink->mapped());
    std::ostream(sink.get()) << "ab\n" << std::flush;
    EXPECT_TRUE(sink->close());
    EXPECT_EQ(::write(fd, "!", 1), 1);  // goes on after the sink's last byte
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

    // A file that standard error also writes (`2>&1`) is left alone.
    EXPECT_EQ(inChild([&] {
                  int shared = ::open(path.c_str(), O_WRONLY | O_APPEND);
                  ::dup2(shared, STDERR_FILENO);
                  return dghost::LogSink::adopt(shared) ? 1 : 0;
              }),
              0);
}

TEST(LogSink, FailedGrowthOrWriteIsAnErrorAndKeepsOnlyWholeFlushedLines)
{
    Scratch scratch;
    // The file may not grow past three and a half windows; or not even to
    // one, so that the sink starts with its plain stream (and its half-
    // written last line is taken back).
    struct Case {
        rlim_t limit;
        bool mapped;
        const char* error;
    };
    for (const Case& c : {Case{3 * kPage + kPage / 2, true, "cannot grow"}, Case{kPage / 2, false, "cannot write"}}) {
        const std::string path = scratch.path("limited.log");
        int status = inChild([&] {
            ::signal(SIGXFSZ, SIG_IGN);
            struct rlimit cap = {c.limit, c.limit};
            std::string error;
            auto sink = ::setrlimit(RLIMIT_FSIZE, &cap) == 0 ? dghost::LogSink::open(path, &error, kPage) : nullptr;
            if (!sink || sink->mapped() != c.mapped) return 10;
            std::ostream out(sink.get());
            for (int i = 0; i < 100000 && out.good(); ++i) out << "line " << i << "\n" << std::flush;
            if (out.good() || sink->close(&error)) return 11;
            return error == std::string(c.error) + " log file " + path + ": File too large" ? 0 : 12;
        });
        EXPECT_EQ(status, 0) << c.error;
        const std::string text = slurp(path);
        ASSERT_GT(text.size(), c.limit * 2 / 3);
        std::string expected;
        for (int i = 0; expected.size() < text.size(); ++i) expected += "line " + std::to_string(i) + "\n";
        EXPECT_EQ(text, expected);  // whole lines, no zero bytes
    }

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
    Scratch scratch;
    const std::string path = scratch.path("killed.log");
    Orphans orphans;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t writer = ::fork();
    if (writer == 0) {
        ::setpgid(0, 0);  // killed with its whole group, as a terminal or `timeout` would
        auto sink = dghost::LogSink::open(path, nullptr, kPage);
        if (!sink || !sink->mapped()) ::_exit(1);
        std::ostream out(sink.get());
        writeLines(out, 0, 20);
        // A forked child closing its copy leaves the file to its owner.
        pid_t copy = ::fork();
        if (copy == 0) ::_exit(sink->close() ? 0 : 3);
        ::waitpid(copy, nullptr, 0);
        writeLines(out, 20, 25);
        out << "half a line that was never flushed";
        if (::write(ready[1], "r", 1) == 1) ::pause();
        ::_exit(2);
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::kill(-writer, SIGKILL);
    orphans.waitForAll();
    std::ostringstream expected;
    writeLines(expected, 0, 25);
    EXPECT_EQ(slurp(path), expected.str());
}

TEST(LogSink, WatcherLeavesAClosedFileAlone)
{
    Scratch scratch;
    // What comes after a normal close (a shell appending) is not cut off.
    const std::string path = scratch.path("closed.log");
    Orphans orphans;
    EXPECT_EQ(inChild([&] {
                  auto sink = dghost::LogSink::open(path, nullptr, kPage);
                  std::ostream(sink.get()) << "logged\n" << std::flush;
                  if (!sink->mapped() || !sink->close()) return 1;
                  std::ofstream(path, std::ios::app) << "appended later\n";
                  return 0;
              }),
              0);
    orphans.waitForAll();
    EXPECT_EQ(slurp(path), "logged\nappended later\n");
}

#ifdef DENDRINE_PLUGIN
TEST(LogSink, KilledImportLeavesEveryFlushedLineAndNothingAfter)
{
    Scratch scratch;
    const std::string xml = scratch.path("flat.xml");
    {
        std::ofstream out(xml);
        out << "<records>\n";
        for (int i = 0; i < 60000; ++i) out << "  <record id=\"r" << i << "\" kind=\"k\" size=\"" << i << "\">t</record>\n";
        out << "</records>\n";
    }
    const std::string script = "loadPlugin \"" DENDRINE_PLUGIN "\"; XmlLoadFile -f \"" + xml + "\" -n doc";
    auto startImport = [&](const std::string& log) {
        pid_t child = ::fork();
        if (child == 0) {
            ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
            ::execl(DGHOST_EXE, DGHOST_EXE, "--log", log.c_str(), "-c", script.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        return child;
    };
    // The whole log of the same import, to compare with.
    const std::string fullLog = scratch.path("full.log");
    int status = 0;
    ::waitpid(startImport(fullLog), &status, 0);
    ASSERT_EQ(status, 0);
    const std::string full = slurp(fullLog);
    const std::size_t step = dghost::LogSink::kDefaultStep;
    ASSERT_GT(full.size(), 6 * step);

    // Killed once its log has grown a few steps.
    const std::string cutLog = scratch.path("cut.log");
    Orphans orphans;  // the watcher outlives dghost
    pid_t importer = startImport(cutLog);
    bool finished = false;
    while (fileSize(cutLog) < 4 * step && !finished) {
        finished = ::waitpid(importer, &status, WNOHANG) == importer;
        ::usleep(200);
    }
    ASSERT_FALSE(finished) << "the import ended before it could be killed";
    ::kill(importer, SIGKILL);
    orphans.waitForAll();
    const std::string cut = slurp(cutLog);
    ASSERT_GT(cut.size(), 2 * step);
    EXPECT_LT(cut.size(), full.size());
    EXPECT_EQ(cut.back(), '\n');
    EXPECT_EQ(cut.find('\0'), std::string::npos);
    EXPECT_EQ(full.compare(0, cut.size(), cut), 0) << "the killed import's log is not a prefix of the whole log";
}
#endif
