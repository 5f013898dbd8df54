#ifndef DENDRINE_BENCH_OURS_H
#define DENDRINE_BENCH_OURS_H
// The plug-in's side: its commands run in-process through the host on the
// benchmark's files, one step after the other on the same scene.

#include "bench/Documents.h"
#include "bench/Measure.h"

#include <string>

namespace bench {

// Where the plug-in's log lines go during the steps: a file, as with
// `dghost --log FILE` (every line flushed to it), or a stream that drops
// them, which shows what the lines themselves cost.
enum class LogMode { File, Null };

const char* logModeName(LogMode mode);

struct OursConfig {
    std::string xmlPath;   // the document to import
    std::string workDir;   // for the export, the scene file and the log
    SearchTerms terms;
    LogMode log = LogMode::File;
    bool importOnly = false;   // for profiling: stop after the import
};

// Loads the plug-in linked into this program; once, before any child.
bool loadDendrine();

// Import, export, the searches, scene save and open, in this order.
void runOurs(const OursConfig& config, Recorder& recorder);

// Creates `count` linked elements and then as many attribute nodes in an
// empty scene through the node-tree library and records the heap bytes
// each costs (steps "element_node" and "attribute_node").
void measureNodeMemory(unsigned long count, Recorder& recorder);

}  // namespace bench

#endif
