#include "bench/Report.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace bench {

namespace {

const unsigned long kTargetSize = 100000;

const StepResult* findStep(const std::vector<StepResult>& steps, const std::string& name)
{
    for (const StepResult& s : steps)
        if (s.name == name && s.ok) return &s;
    return nullptr;
}

double extra(const StepResult* step, const std::string& key)
{
    if (!step) return 0;
    auto it = step->extra.find(key);
    return it == step->extra.end() ? 0 : it->second;
}

// The step a step of ours is compared with, and in which list it is.
const StepResult* floorOf(const FileRun& run, const std::vector<StepResult>& ours, const std::string& step)
{
    if (step == "import") return findStep(run.floors, "xerces_parse");
    if (step == "export") return findStep(run.floors, "xerces_write");
    if (step == "scene_save" || step == "scene_open") return findStep(ours, "import");
    return nullptr;
}

bool perSceneNode(const std::string& step)
{
    return step == "names_line" || step.compare(0, 5, "find_") == 0 || step.compare(0, 6, "query_") == 0;
}

double nsPer(const StepResult& step, double count)
{
    return count > 0 ? step.seconds * 1e9 / count : 0;
}

const FileRun* findRun(const BenchRun& run, const std::string& shape, unsigned long elements)
{
    for (const FileRun& f : run.files)
        if (f.shape == shape && f.elements == elements) return &f;
    return nullptr;
}

// The smallest and the largest file of a shape.
std::pair<const FileRun*, const FileRun*> extremes(const BenchRun& run, const std::string& shape)
{
    const FileRun* small = nullptr;
    const FileRun* large = nullptr;
    for (const FileRun& f : run.files) {
        if (f.shape != shape) continue;
        if (!small || f.elements < small->elements) small = &f;
        if (!large || f.elements > large->elements) large = &f;
    }
    return {small, large};
}

Target target(const std::string& name, const std::string& limit, double value, double bound)
{
    return Target{name, limit, value, bound, value <= bound};
}

void addRatioTarget(std::vector<Target>& out, const std::string& name, const StepResult* ours,
                    const StepResult* floor, double bound, const std::string& limit)
{
    if (ours && floor && floor->seconds > 0) out.push_back(target(name, limit, ours->seconds / floor->seconds, bound));
}

void addFlatTargets(std::vector<Target>& out, const FileRun& flat)
{
    for (const auto* list : {&flat.oursFile, &flat.oursNull}) {
        const std::string log = list == &flat.oursFile ? " (log to file)" : " (log to null)";
        if (list->empty()) continue;
        addRatioTarget(out, "import / Xerces DOM parse" + log, findStep(*list, "import"),
                       findStep(flat.floors, "xerces_parse"), 2.5, "<= 2.5x");
        addRatioTarget(out, "export / Xerces DOM build+write" + log, findStep(*list, "export"),
                       findStep(flat.floors, "xerces_write"), 1.5, "<= 1.5x");
        const StepResult* find = findStep(*list, "find_n");
        const StepResult* line = findStep(*list, "names_line");
        const double nodes = extra(findStep(*list, "import"), "scene_nodes");
        if (find && line && nodes > 0)
            out.push_back(target("XmlFind -n beyond its names line, us per scene node" + log, "< 1 us",
                                 (find->seconds - line->seconds) * 1e6 / nodes, 1.0));
        addRatioTarget(out, "scene open / import" + log, findStep(*list, "scene_open"), findStep(*list, "import"),
                       0.3, "<= 0.3x");
        addRatioTarget(out, "scene save / import" + log, findStep(*list, "scene_save"), findStep(*list, "import"),
                       0.5, "<= 0.5x");
    }
    const StepResult* import = findStep(flat.oursFile, "import");
    const StepResult* parse = findStep(flat.floors, "xerces_parse");
    if (import && parse) {
        const double bound = parse->growthKb * 1024.0 + extra(import, "scene_bytes");
        out.push_back(target("import peak growth / (DOM parse peak growth + scene), MiB", "<= 1x",
                             import->growthKb / 1024.0, bound / 1048576.0));
    }
}

void addMemoryTargets(std::vector<Target>& out, const BenchRun& run)
{
    const StepResult* element = findStep(run.nodeMemory, "element_node");
    const StepResult* attribute = findStep(run.nodeMemory, "attribute_node");
    // One bound for both kinds of node.
    const double bound = 300;
    if (element) out.push_back(target("scene bytes per element node", "<= 300", extra(element, "bytes_each"), bound));
    if (attribute)
        out.push_back(target("scene bytes per attribute node", "<= 300", extra(attribute, "bytes_each"), bound));
}

void addSceneOrderTarget(std::vector<Target>& out, const BenchRun& run)
{
    const StepResult* ascending = findStep(run.sceneOrder, "scene_open_ascending");
    const StepResult* descending = findStep(run.sceneOrder, "scene_open_descending");
    if (ascending && descending && ascending->ok && descending->ok && ascending->seconds > 0)
        out.push_back(target("scene open, connections descending / ascending", "<= 2x",
                             descending->seconds / ascending->seconds, 2));
}

void addLinearTargets(std::vector<Target>& out, const BenchRun& run, const std::string& shape)
{
    const auto [small, large] = extremes(run, shape);
    if (!small || !large || small == large) return;
    const std::string sizes = " " + shape + " " + std::to_string(large->elements) + "/" + std::to_string(small->elements);
    auto compare = [&](const std::vector<StepResult>& a, const std::vector<StepResult>& b, const std::string& suffix) {
        for (const StepResult& step : b) {
            const StepResult* base = findStep(a, step.name);
            if (!base || !step.ok || base->seconds <= 0) continue;
            const double ratio = nsPer(step, large->elements) / nsPer(*base, small->elements);
            out.push_back(target("linear: " + step.name + suffix + sizes, "<= 1.3x", ratio, 1.3));
        }
    };
    compare(small->oursFile, large->oursFile, "");
    compare(small->oursNull, large->oursNull, " (null log)");
}

std::string cell(double value, const char* format)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string ratioCell(const StepResult* step, const StepResult* floor)
{
    return step && floor && floor->seconds > 0 ? cell(step->seconds / floor->seconds, "%.2f") : "";
}

// One step: with the log to a file, and to a null stream when `nullStep`.
void printRow(const FileRun& f, const StepResult& step, const StepResult* nullStep)
{
    const double nodes = extra(findStep(f.oursFile, "import"), "scene_nodes");
    const std::string nullSeconds = nullStep ? cell(nullStep->seconds, "%.3f") : "";
    const std::string perNode = perSceneNode(step.name) ? cell(nsPer(step, nodes), "%.0f") : "";
    std::printf("%-6s %8lu  %-15s %9.3f %9.0f %7s %9s %7s %9s %9.1f %10.0f\n", f.shape.c_str(), f.elements,
                step.name.c_str(), step.seconds, nsPer(step, f.elements),
                ratioCell(&step, floorOf(f, f.oursFile, step.name)).c_str(), nullSeconds.c_str(),
                ratioCell(nullStep, floorOf(f, f.oursNull, step.name)).c_str(), perNode.c_str(),
                step.growthKb / 1024.0, extra(&step, "log_lines"));
}

void printFile(const FileRun& f)
{
    for (const StepResult& step : f.floors)
        if (step.ok) printRow(f, step, nullptr);
    for (const StepResult& step : f.oursFile)
        if (step.ok) printRow(f, step, findStep(f.oursNull, step.name));
    const StepResult* import = findStep(f.oursFile, "import");
    if (import)
        std::printf("%-5s %8lu  scene: %.0f nodes (%lu attribute nodes), %.1f MiB, %.0f bytes per node; file %.1f MiB\n",
                    f.shape.c_str(), f.elements, extra(import, "scene_nodes"), f.attributes,
                    extra(import, "scene_bytes") / 1048576.0,
                    extra(import, "scene_bytes") / std::max(1.0, extra(import, "scene_nodes")),
                    f.fileBytes / 1048576.0);
}

void printTargets(const std::vector<Target>& targets)
{
    std::printf("\nTargets (flat %lu unless named; value against the limit):\n", kTargetSize);
    double worstLinear = 0;
    std::string worstName;
    for (const Target& t : targets) {
        const bool linear = t.name.compare(0, 7, "linear:") == 0;
        if (linear && t.value > worstLinear) {
            worstLinear = t.value;
            worstName = t.name;
        }
        if (!linear || !t.met)
            std::printf("  %-4s %-72s %10.2f  %s%s\n", t.met ? "met" : "MISS", t.name.c_str(), t.value,
                        t.limit.c_str(),
                        t.name.find("MiB") != std::string::npos ? (" (bound " + cell(t.bound, "%.1f") + ")").c_str() : "");
    }
    if (!worstName.empty()) std::printf("  worst linearity: %s at %.2f\n", worstName.c_str(), worstLinear);
}

// ------------------------------------------------------------------ JSON

std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string jsonNumber(double value)
{
    return cell(value, "%.6g");
}

void writeSteps(std::FILE* out, const char* key, const std::vector<StepResult>& steps, double elements)
{
    std::fprintf(out, "      %s: {", jsonString(key).c_str());
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const StepResult& s = steps[i];
        std::fprintf(out, "%s\n        %s: {\"ok\": %s, \"seconds\": %s, \"ns_per_element\": %s, \"peak_kb\": %ld, "
                          "\"peak_growth_kb\": %ld",
                     i ? "," : "", jsonString(s.name).c_str(), s.ok ? "true" : "false", jsonNumber(s.seconds).c_str(),
                     jsonNumber(nsPer(s, elements)).c_str(), s.peakKb, s.growthKb);
        for (const auto& [k, v] : s.extra) std::fprintf(out, ", %s: %s", jsonString(k).c_str(), jsonNumber(v).c_str());
        std::fprintf(out, "}");
    }
    std::fprintf(out, "\n      }");
}

void writeFileRun(std::FILE* out, const FileRun& f, bool last)
{
    std::fprintf(out, "    {\"shape\": %s, \"elements\": %lu, \"attributes\": %lu, \"file_bytes\": %llu, \"runs\": %u,\n",
                 jsonString(f.shape).c_str(), f.elements, f.attributes, f.fileBytes, f.runs);
    writeSteps(out, "floor", f.floors, f.elements);
    std::fprintf(out, ",\n");
    writeSteps(out, "ours_log_file", f.oursFile, f.elements);
    std::fprintf(out, ",\n");
    writeSteps(out, "ours_log_null", f.oursNull, f.elements);
    std::fprintf(out, "}%s\n", last ? "" : ",");
}

}  // namespace

std::vector<Target> evaluateTargets(const BenchRun& run)
{
    std::vector<Target> out;
    if (const FileRun* flat = findRun(run, "flat", kTargetSize)) addFlatTargets(out, *flat);
    addMemoryTargets(out, run);
    addSceneOrderTarget(out, run);
    std::vector<std::string> shapes;
    for (const FileRun& f : run.files)
        if (std::find(shapes.begin(), shapes.end(), f.shape) == shapes.end()) shapes.push_back(f.shape);
    for (const std::string& shape : shapes) addLinearTargets(out, run, shape);
    return out;
}

// The library's own steps at the largest size against the smallest, per
// element: what the machine adds at scale (fresh memory, the page cache),
// beside which the plug-in's linearity is read. Not a target.
void printFloorLinearity(const BenchRun& run)
{
    std::string line;
    std::vector<std::string> shapes;
    for (const FileRun& f : run.files) {
        if (std::find(shapes.begin(), shapes.end(), f.shape) != shapes.end()) continue;
        shapes.push_back(f.shape);
        const auto [small, large] = extremes(run, f.shape);
        if (!small || !large || small == large) continue;
        for (const StepResult& step : large->floors) {
            const StepResult* base = findStep(small->floors, step.name);
            if (!base || !step.ok || base->seconds <= 0) continue;
            line += "  " + step.name + " " + f.shape + " " + std::to_string(large->elements) + "/" +
                    std::to_string(small->elements) + " " +
                    cell(nsPer(step, large->elements) / nsPer(*base, small->elements), "%.2f") + "x\n";
        }
    }
    if (!line.empty()) std::printf("Library floors per element, largest size against smallest (not targets):\n%s", line.c_str());
}

void printTable(const BenchRun& run, const std::vector<Target>& targets)
{
    std::printf("\n%-6s %8s  %-15s %9s %9s %7s %9s %7s %9s %9s %10s\n", "shape", "elements", "step", "s", "ns/elem",
                "x floor", "s null", "x null", "ns/node", "+MiB", "log lines");
    std::printf("%s\n", std::string(114, '-').c_str());
    std::string lastShape;
    for (const FileRun& f : run.files) {
        if (!lastShape.empty() && f.shape != lastShape) std::printf("\n");
        lastShape = f.shape;
        printFile(f);
    }
    for (const StepResult& s : run.sceneOrder)
        std::printf("order:  %-22s %.3f s (%.0f connections)\n", s.name.c_str(), s.seconds, extra(&s, "connections"));
    for (const StepResult& s : run.nodeMemory)
        std::printf("memory: %-15s %.0f bytes each (%lu made in %.3f s)\n", s.name.c_str(), extra(&s, "bytes_each"),
                    run.nodeMemoryCount, s.seconds);
    printTargets(targets);
    printFloorLinearity(run);
    std::printf("\ns: wall time with the plug-in's log to a file; s null: the same with the log to a null stream;\n"
                "x floor: against xerces_parse (import), xerces_write (export) or import (scene save/open);\n"
                "ns/node: per scene node (elements, attribute nodes, the document); +MiB: peak resident growth\n"
                "during the step. Each file's steps: the fastest of its runs (\"runs\" in the JSON; the\n"
                "largest files run once). Total run %.0f s%s.\n",
                run.totalSeconds, run.pugixml ? "" : "; pugixml not installed, its floor left out");
}

bool writeJson(const BenchRun& run, const std::vector<Target>& targets, const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "w"), std::fclose);
    if (!out) return false;
    std::FILE* f = out.get();
    std::fprintf(f, "{\n  \"total_seconds\": %s,\n  \"pugixml\": %s,\n  \"files\": [\n",
                 jsonNumber(run.totalSeconds).c_str(), run.pugixml ? "true" : "false");
    for (std::size_t i = 0; i < run.files.size(); ++i) writeFileRun(f, run.files[i], i + 1 == run.files.size());
    std::fprintf(f, "  ],\n  \"node_memory\": {\"count\": %lu", run.nodeMemoryCount);
    for (const StepResult& s : run.nodeMemory)
        std::fprintf(f, ", %s: {\"bytes_each\": %s, \"seconds\": %s}", jsonString(s.name).c_str(),
                     jsonNumber(extra(&s, "bytes_each")).c_str(), jsonNumber(s.seconds).c_str());
    std::fprintf(f, "},\n  \"scene_order\": {");
    for (std::size_t i = 0; i < run.sceneOrder.size(); ++i)
        std::fprintf(f, "%s%s: {\"seconds\": %s, \"connections\": %s}", i ? ", " : "",
                     jsonString(run.sceneOrder[i].name).c_str(), jsonNumber(run.sceneOrder[i].seconds).c_str(),
                     jsonNumber(extra(&run.sceneOrder[i], "connections")).c_str());
    std::fprintf(f, "},\n  \"targets\": [\n");
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const Target& t = targets[i];
        std::fprintf(f, "    {\"name\": %s, \"limit\": %s, \"value\": %s, \"bound\": %s, \"met\": %s}%s\n",
                     jsonString(t.name).c_str(), jsonString(t.limit).c_str(), jsonNumber(t.value).c_str(),
                     jsonNumber(t.bound).c_str(), t.met ? "true" : "false", i + 1 == targets.size() ? "" : ",");
    }
    std::fprintf(f, "  ]\n}\n");
    return true;
}

}  // namespace bench
