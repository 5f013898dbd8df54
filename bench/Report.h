#ifndef DENDRINE_BENCH_REPORT_H
#define DENDRINE_BENCH_REPORT_H
// The figures of one benchmark run: the table on standard output, the
// targets met or missed, and the JSON file.

#include "bench/Measure.h"
#include "bench/Ours.h"

#include <string>
#include <vector>

namespace bench {

// Everything measured on one file.
struct FileRun {
    std::string shape;
    unsigned long elements = 0;
    unsigned long attributes = 0;
    unsigned long long fileBytes = 0;
    unsigned runs = 1;                  // each step's figures: its fastest of this many runs
    std::vector<StepResult> floors;
    std::vector<StepResult> oursFile;   // log to a file
    std::vector<StepResult> oursNull;   // log to a null stream
};

struct BenchRun {
    std::vector<FileRun> files;
    std::vector<StepResult> nodeMemory;   // element_node, attribute_node
    unsigned long nodeMemoryCount = 0;
    std::vector<StepResult> sceneOrder;   // scene_open_ascending, scene_open_descending
    double totalSeconds = 0;
    bool pugixml = false;
};

struct Target {
    std::string name;
    std::string limit;   // as written in the table
    double value = 0;
    double bound = 0;
    bool met = false;
};

std::vector<Target> evaluateTargets(const BenchRun& run);
void printTable(const BenchRun& run, const std::vector<Target>& targets);
bool writeJson(const BenchRun& run, const std::vector<Target>& targets, const std::string& path);

}  // namespace bench

#endif
