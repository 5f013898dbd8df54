// dendrine_bench: the plug-in's import, export, searches and scene files
// against the XML libraries' own floor, on generated documents of four
// shapes and several sizes, all in one run. Prints one table and writes
// the figures as JSON. bench/run builds and runs it.

#include "bench/Documents.h"
#include "bench/Floors.h"
#include "bench/Measure.h"
#include "bench/Ours.h"
#include "bench/Report.h"
#include "bench/SceneOrder.h"

#include <malloc.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "usage: dendrine_bench [--sizes N,N,...] [--shapes flat,deep,text,attr,swlist]\n"
    "                      [--swlist-sizes N,N,...]\n"
    "                      [--large-from N] [--large-shapes S,S,...] [--no-null-log]\n"
    "                      [--node-memory N] [--scene-order N] [--work DIR] [--json FILE]\n"
    "                      [--no-file-log] [--no-floor] [--import-only] [--repeat N]\n"
    "Sizes of at least --large-from elements run only for --large-shapes, log to a file only,\n"
    "and once; smaller ones --repeat times (default 1), each step keeping its fastest run.\n"
    "The software list runs at --swlist-sizes (default 280000, a real list's size).\n"
    "--no-file-log, --no-floor and --import-only narrow a run down for profiling.\n";

struct Options {
    std::vector<unsigned long> sizes = {10000, 100000, 1000000};
    std::vector<std::string> shapes = {"flat", "deep", "text", "attr", "swlist"};
    std::vector<unsigned long> swlistSizes = {280000};
    unsigned long largeFrom = 1000000;
    std::vector<std::string> largeShapes = {"flat", "deep", "text", "attr"};
    bool nullLog = true;
    bool fileLog = true;
    bool floor = true;
    bool importOnly = false;
    unsigned repeat = 1;
    unsigned long nodeMemory = 100000;
    unsigned long sceneOrder = 200000;   // connections; 0 skips the step
    std::string workDir;
    std::string jsonPath = "bench/results/latest.json";
};

std::vector<std::string> split(const std::string& text)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, ','))
        if (!part.empty()) parts.push_back(part);
    return parts;
}

std::vector<unsigned long> numbers(const std::string& text)
{
    std::vector<unsigned long> out;
    for (const std::string& part : split(text)) out.push_back(std::strtoul(part.c_str(), nullptr, 10));
    return out;
}

bool parseOptions(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--no-null-log") o.nullLog = false;
        else if (arg == "--no-file-log") o.fileLog = false;
        else if (arg == "--no-floor") o.floor = false;
        else if (arg == "--import-only") o.importOnly = true;
        else if (arg == "--sizes" && hasValue) o.sizes = numbers(argv[++i]);
        else if (arg == "--shapes" && hasValue) o.shapes = split(argv[++i]);
        else if (arg == "--swlist-sizes" && hasValue) o.swlistSizes = numbers(argv[++i]);
        else if (arg == "--large-from" && hasValue) o.largeFrom = std::strtoul(argv[++i], nullptr, 10);
        else if (arg == "--large-shapes" && hasValue) o.largeShapes = split(argv[++i]);
        else if (arg == "--node-memory" && hasValue) o.nodeMemory = std::strtoul(argv[++i], nullptr, 10);
        else if (arg == "--scene-order" && hasValue) o.sceneOrder = std::strtoul(argv[++i], nullptr, 10);
        else if (arg == "--work" && hasValue) o.workDir = argv[++i];
        else if (arg == "--json" && hasValue) o.jsonPath = argv[++i];
        else if (arg == "--repeat" && hasValue) o.repeat = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else return false;
    }
    for (const std::string& s : o.shapes)
        if (!bench::findShape(s)) return false;
    return !o.sizes.empty() && o.repeat > 0;
}

bool contains(const std::vector<std::string>& list, const std::string& item)
{
    for (const std::string& s : list)
        if (s == item) return true;
    return false;
}

void progress(const std::string& text)
{
    std::fprintf(stderr, "[bench] %s\n", text.c_str());
}

// Keeps, step by step, the faster of two runs of the same steps. On a
// shared machine other work only ever adds time, so the fastest of a few
// runs is the closest to a step's own cost; floor and ours alike.
void keepFastest(std::vector<bench::StepResult>& best, const std::vector<bench::StepResult>& next)
{
    for (const bench::StepResult& r : next) {
        bool found = false;
        for (bench::StepResult& b : best) {
            if (b.name != r.name) continue;
            found = true;
            if (r.ok && (!b.ok || r.seconds < b.seconds)) b = r;
        }
        if (!found) best.push_back(r);
    }
}

// Runs `steps` (each returning its results) `times` times, keeping each
// step's fastest run.
std::vector<bench::StepResult> fastestOf(unsigned times, const std::function<std::vector<bench::StepResult>()>& steps)
{
    std::vector<bench::StepResult> best;
    for (unsigned i = 0; i < times; ++i) keepFastest(best, steps());
    return best;
}

// The floor, each library step in a child of its own; the model is built
// before the children, so the DOM build times only the library.
void measureFloors(const std::vector<bench::ModelElement>& model, const std::string& xml,
                   const std::string& workDir, const bench::SearchTerms& terms, unsigned times,
                   bench::FileRun& run)
{
    auto one = [&](const char* name, const std::function<bool()>& work) {
        const auto results = fastestOf(times, [&] {
            return bench::runInChild([&](bench::Recorder& rec) { rec.measure(name, work); });
        });
        run.floors.insert(run.floors.end(), results.begin(), results.end());
    };
    one("xerces_parse", [&] { return bench::xercesParse(xml); });
    one("xerces_write", [&] { return bench::xercesBuildAndWrite(model, workDir + "/plain-written.xml"); });
    if (!bench::havePugixml()) return;
    one("pugixml_parse", [&] { return bench::pugixmlParse(xml); });
    // Only the XPath selection is timed, and only its second run: the first
    // leaves the C library's allocator as the plug-in's earlier steps leave
    // it (large blocks from the heap, not each mapped anew).
    auto query = [&](const char* name, const std::string& path) {
        const auto results = fastestOf(times, [&] {
            return bench::runInChild([&](bench::Recorder& rec) {
                const bench::PugixmlDocument document(xml);
                document.select(path);
                rec.measure(name, [&] { return document.select(path); });
            });
        });
        run.floors.insert(run.floors.end(), results.begin(), results.end());
    };
    query("pugixml_query_n", bench::tagPath(terms));
    query("pugixml_query_v", bench::valuePath(terms));
}

std::vector<bench::StepResult> measureOurs(const std::string& xml, const Options& o, unsigned times,
                                           const bench::SearchTerms& terms, bench::LogMode mode)
{
    bench::OursConfig config{xml, o.workDir, terms, mode, o.importOnly};
    return fastestOf(times, [&] { return bench::runInChild([&](bench::Recorder& r) { bench::runOurs(config, r); }); });
}

bench::FileRun measureFile(const bench::ShapeInfo& shape, unsigned long elements, const Options& o)
{
    bench::FileRun run;
    run.shape = shape.name;
    run.elements = elements;
    const std::string xml = o.workDir + "/" + shape.name + "-" + std::to_string(elements) + ".xml";
    const unsigned times = elements < o.largeFrom ? o.repeat : 1;
    run.runs = times;
    const bench::SearchTerms terms = bench::searchTermsOf(shape.shape, elements);
    {
        const std::vector<bench::ModelElement> model = bench::buildModel(shape.shape, elements);
        run.attributes = bench::attributeCount(model);
        run.fileBytes = bench::writeXmlFile(model, shape.shape, xml);
        if (o.floor) measureFloors(model, xml, o.workDir, terms, times, run);
    }
    malloc_trim(0);  // the model's memory goes back before the plug-in's children start
    if (o.fileLog) run.oursFile = measureOurs(xml, o, times, terms, bench::LogMode::File);
    // The largest files run with the log to a file only, which keeps a
    // whole run within minutes.
    if (o.nullLog && elements < o.largeFrom) run.oursNull = measureOurs(xml, o, times, terms, bench::LogMode::Null);
    std::filesystem::remove(xml);
    return run;
}

std::string makeWorkDir(const std::string& requested)
{
    if (!requested.empty()) {
        std::filesystem::create_directories(requested);
        return requested;
    }
    char folder[] = "/tmp/dendrine-bench-XXXXXX";
    return mkdtemp(folder) ? folder : "";
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!parseOptions(argc, argv, o)) {
        std::cerr << kUsage;
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const bool ownWorkDir = o.workDir.empty();
    o.workDir = makeWorkDir(o.workDir);
    if (o.workDir.empty() || !bench::loadDendrine()) return 1;

    bench::BenchRun run;
    run.pugixml = bench::havePugixml();
    for (const std::string& name : o.shapes) {
        for (unsigned long elements : name == "swlist" ? o.swlistSizes : o.sizes) {
            if (elements >= o.largeFrom && !contains(o.largeShapes, name)) continue;
            progress(name + " " + std::to_string(elements));
            run.files.push_back(measureFile(*bench::findShape(name), elements, o));
        }
    }
    if (o.nodeMemory > 0) {
        run.nodeMemoryCount = o.nodeMemory;
        run.nodeMemory = bench::runInChild([&](bench::Recorder& r) { bench::measureNodeMemory(o.nodeMemory, r); });
    }
    if (o.sceneOrder > 0) {
        progress("scene order " + std::to_string(o.sceneOrder));
        run.sceneOrder =
            bench::runInChild([&](bench::Recorder& r) { bench::measureSceneOrder(o.sceneOrder, o.workDir, r); });
    }
    run.totalSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const std::vector<bench::Target> targets = bench::evaluateTargets(run);
    bench::printTable(run, targets);
    const bool written = bench::writeJson(run, targets, o.jsonPath);
    if (!written) std::cerr << "bench: cannot write " << o.jsonPath << "\n";
    if (ownWorkDir) std::filesystem::remove_all(o.workDir);
    return written ? 0 : 1;
}
