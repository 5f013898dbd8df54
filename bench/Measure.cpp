#include "bench/Measure.h"

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace bench {

namespace {

long statusKb(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(key);
    while (std::getline(status, line))
        if (line.compare(0, length, key) == 0) return std::atol(line.c_str() + length);
    return 0;
}

// One result per line: name ok seconds peak growth, then key=value pairs.
std::string encode(const std::vector<StepResult>& results)
{
    std::ostringstream out;
    out.precision(17);
    for (const StepResult& r : results) {
        out << r.name << ' ' << r.ok << ' ' << r.seconds << ' ' << r.peakKb << ' ' << r.growthKb;
        for (const auto& [key, value] : r.extra) out << ' ' << key << '=' << value;
        out << '\n';
    }
    return out.str();
}

std::vector<StepResult> decode(const std::string& text)
{
    std::vector<StepResult> results;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        StepResult r;
        words >> r.name >> r.ok >> r.seconds >> r.peakKb >> r.growthKb;
        std::string pair;
        while (words >> pair) {
            const std::size_t eq = pair.find('=');
            if (eq != std::string::npos) r.extra[pair.substr(0, eq)] = std::atof(pair.c_str() + eq + 1);
        }
        results.push_back(r);
    }
    return results;
}

// What this process has used so far: user and system time, and the page
// faults that found no page (fresh memory, a file's new pages).
struct Usage {
    double userSeconds = 0;
    double systemSeconds = 0;
    double pageFaults = 0;
};

Usage usageSoFar()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return Usage{seconds(usage.ru_utime), seconds(usage.ru_stime),
                 static_cast<double>(usage.ru_minflt + usage.ru_majflt)};
}

std::string readAll(int fd)
{
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

void writeAll(int fd, const std::string& text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

bool Recorder::measure(const std::string& name, const std::function<bool()>& work)
{
    StepResult r;
    r.name = name;
    resetPeakResident();
    const long before = residentKb();
    const Usage usedBefore = usageSoFar();
    const auto start = std::chrono::steady_clock::now();
    r.ok = work();
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const Usage usedAfter = usageSoFar();
    r.extra["cpu_seconds"] = usedAfter.userSeconds + usedAfter.systemSeconds - usedBefore.userSeconds - usedBefore.systemSeconds;
    // The kernel's share: on a virtual machine fresh memory costs most there.
    r.extra["system_seconds"] = usedAfter.systemSeconds - usedBefore.systemSeconds;
    r.extra["page_faults"] = usedAfter.pageFaults - usedBefore.pageFaults;
    r.peakKb = peakResidentKb();
    r.growthKb = r.peakKb - before;
    results_.push_back(r);
    return r.ok;
}

void Recorder::note(const std::string& key, double value)
{
    if (!results_.empty()) results_.back().extra[key] = value;
}

std::vector<StepResult> runInChild(const std::function<void(Recorder&)>& job)
{
    int channel[2];
    if (pipe(channel) != 0) return {};
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return {};
    if (child == 0) {
        ::close(channel[0]);
        Recorder recorder;
        job(recorder);
        writeAll(channel[1], encode(recorder.results()));
        std::fflush(nullptr);
        _exit(0);
    }
    ::close(channel[1]);
    const std::string text = readAll(channel[0]);
    ::close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return decode(text);
}

double heapInUseBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

long residentKb() { return statusKb("VmRSS:"); }
long peakResidentKb() { return statusKb("VmHWM:"); }

void resetPeakResident()
{
    // Linux: 5 resets the high-water mark to the current resident size.
    std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace bench
