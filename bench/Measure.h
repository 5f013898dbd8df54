#ifndef DENDRINE_BENCH_MEASURE_H
#define DENDRINE_BENCH_MEASURE_H
// Timing and memory of benchmark steps. Every group of steps runs in a
// forked child, so that one step's memory never shows in another's and a
// crash costs only its own figures.

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace bench {

struct StepResult {
    std::string name;
    bool ok = false;
    double seconds = 0;
    long peakKb = 0;     // resident high-water mark during the step
    long growthKb = 0;   // that mark minus the resident size when the step began
    std::map<std::string, double> extra;  // step-specific figures (scene bytes, log lines...)
};

// Collects the steps of one child.
class Recorder {
public:
    // Times `work` and records its memory; returns whether it succeeded.
    bool measure(const std::string& name, const std::function<bool()>& work);
    // Adds a figure to the last measured step.
    void note(const std::string& key, double value);
    const std::vector<StepResult>& results() const { return results_; }

private:
    std::vector<StepResult> results_;
};

// Runs `job` in a child process and returns what it recorded; an empty
// list when the child died.
std::vector<StepResult> runInChild(const std::function<void(Recorder&)>& job);

// Bytes allocated by malloc and not yet freed.
double heapInUseBytes();
// Resident size and high-water mark of this process in KiB; the mark can
// be reset to the current size.
long residentKb();
long peakResidentKb();
void resetPeakResident();

}  // namespace bench

#endif
