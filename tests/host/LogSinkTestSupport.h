#ifndef DENDRINE_TESTS_HOST_LOG_SINK_TEST_SUPPORT_H
#define DENDRINE_TESTS_HOST_LOG_SINK_TEST_SUPPORT_H
// Helpers of the log sink tests: temporary paths, file contents, and waiting
// for the processes a killed writer leaves behind.

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace logsinktest {

// A fresh path in the test's temporary folder (nothing there yet).
inline std::string tempPath(const std::string& name)
{
    std::string path = std::string(::testing::TempDir()) + "logsink-" + std::to_string(::getpid()) + "-" + name;
    ::unlink(path.c_str());
    return path;
}

inline std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::size_t fileSize(const std::string& path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::size_t>(info.st_size) : 0;
}

// While it lives, orphans of this process's descendants (a log watcher
// whose owner died) become this process's children, so that a test can
// wait until they have all finished their work.
class Orphans {
public:
    Orphans() { ::prctl(PR_SET_CHILD_SUBREAPER, 1); }
    ~Orphans() { ::prctl(PR_SET_CHILD_SUBREAPER, 0); }
    Orphans(const Orphans&) = delete;
    Orphans& operator=(const Orphans&) = delete;

    // Waits (at most a minute) until this process has no child left.
    void waitForAll()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        for (;;) {
            int status = 0;
            pid_t reaped = ::waitpid(-1, &status, WNOHANG);
            if (reaped < 0 && errno == ECHILD) return;
            if (reaped > 0) continue;
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "a child process did not end";
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
};

}  // namespace logsinktest

#endif
