#include "bench/Ours.h"

#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Document.h"
#include "log/Log.h"

#include <dghost/Host.h>
#include <dghost/LogSink.h>
#include <maya/MDGModifier.h>
#include <maya/MGlobal.h>
#include <maya/MStringArray.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <memory>
#include <streambuf>
#include <sys/stat.h>

MStatus initializePlugin(MObject plugin);
MStatus uninitializePlugin(MObject plugin);

namespace bench {

namespace {

const char* const kDocumentNode = "benchDoc";

// Drops what it is given, counting the lines.
class NullBuffer : public std::streambuf {
public:
    unsigned long lines = 0;

protected:
    int overflow(int c) override
    {
        if (c == '\n') ++lines;
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        for (std::streamsize i = 0; i < n; ++i) lines += s[i] == '\n';
        return n;
    }
};

// Sends std::cout to the log for its lifetime (a file through the host's log
// sink, as dghost --log FILE does) and counts the lines each step wrote
// (outside the timed work).
class LogSink {
public:
    LogSink(LogMode mode, const std::string& path) : mode_(mode), path_(path)
    {
        std::string error;
        if (mode_ == LogMode::File && !(file_ = dghost::LogSink::open(path, &error)))
            std::cerr << "bench: cannot write log file " << path << ": " << error << "\n";
        std::streambuf* target = file_ ? static_cast<std::streambuf*>(file_.get()) : &null_;
        saved_ = std::cout.rdbuf(target);
    }
    ~LogSink() { std::cout.rdbuf(saved_); }

    // Lines written since the last call.
    unsigned long newLines()
    {
        const unsigned long total = file_ ? fileLines() : null_.lines;
        const unsigned long fresh = total - counted_;
        counted_ = total;
        return fresh;
    }

private:
    // Reads only what was flushed: the file beyond it is pre-grown space.
    unsigned long fileLines()
    {
        std::cout.flush();
        std::ifstream in(path_, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(bytesRead_));
        char buffer[1 << 16];
        const unsigned long flushed = static_cast<unsigned long>(file_->flushedBytes());
        while (bytesRead_ < flushed) {
            in.read(buffer, static_cast<std::streamsize>(std::min<unsigned long>(sizeof buffer, flushed - bytesRead_)));
            if (in.gcount() <= 0) break;
            for (std::streamsize i = 0; i < in.gcount(); ++i) fileLineCount_ += buffer[i] == '\n';
            bytesRead_ += static_cast<unsigned long>(in.gcount());
        }
        return fileLineCount_;
    }

    LogMode mode_;
    std::string path_;
    std::unique_ptr<dghost::LogSink> file_;
    NullBuffer null_;
    std::streambuf* saved_ = nullptr;
    unsigned long counted_ = 0;
    unsigned long bytesRead_ = 0;
    unsigned long fileLineCount_ = 0;
};

// `text` as one double-quoted script word.
std::string quoted(const std::string& text)
{
    std::string word = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') word += '\\';
        word += c;
    }
    return word + "\"";
}

double fileBytes(const std::string& path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_size) : 0;
}

double sceneNodeCount()
{
    return static_cast<double>(dghost::runCommand("ls -dep").strings.size());
}

// Runs a command as a timed step; `expected` is the result text it must
// give (empty: any, as long as the status is success).
bool commandStep(Recorder& recorder, LogSink& log, const std::string& name, const std::string& statement,
                 const std::string& expected = std::string())
{
    dghost::CommandOutcome outcome;
    const bool ok = recorder.measure(name, [&] {
        outcome = dghost::runCommand(statement);
        return outcome.status == MS::kSuccess && (expected.empty() || outcome.text == expected);
    });
    recorder.note("log_lines", static_cast<double>(log.newLines()));
    if (outcome.kind == dghost::CommandOutcome::Kind::StringArray)
        recorder.note("matches", static_cast<double>(outcome.strings.size()));
    if (!ok)
        std::cerr << "bench: " << statement << " failed" << (outcome.errors.empty() ? "" : ": " + outcome.errors[0])
                  << "\n";
    return ok;
}

// The part of a whole-scene XmlFind that lists the scene: "ls -dep" and
// the line of every name, as the search prints it.
bool namesLine()
{
    MStringArray names;
    if (MGlobal::executeCommand("ls -dep", names, false, false) != MS::kSuccess) return false;
    std::string line = "[ ";
    for (unsigned int i = 0; i < names.length(); ++i) {
        line += names[i].asChar();
        line += ", ";
    }
    line += " ]";
    logLine(line.c_str());
    return true;
}

void searches(const OursConfig& c, Recorder& recorder, LogSink& log)
{
    recorder.measure("names_line", namesLine);
    recorder.note("log_lines", static_cast<double>(log.newLines()));
    commandStep(recorder, log, "find_n", "XmlFind -n " + quoted(c.terms.tag));
    commandStep(recorder, log, "find_v", "XmlFind -v " + quoted(c.terms.value));
    // The same two searches as XPath paths (XmlQuery copies the tree for pugixml).
    commandStep(recorder, log, "query_n", "XmlQuery -p " + quoted(tagPath(c.terms)));
    commandStep(recorder, log, "query_v", "XmlQuery -p " + quoted(valuePath(c.terms)));
    dghost::runCommand(std::string("select -r ") + kDocumentNode);
    commandStep(recorder, log, "find_n_c", "XmlFind -c -n " + quoted(c.terms.tag));
    commandStep(recorder, log, "find_v_c", "XmlFind -c -v " + quoted(c.terms.value));
    dghost::runCommand("select -cl");
}

void saveAndOpen(const OursConfig& c, Recorder& recorder, LogSink& log)
{
    const std::string scenePath = c.workDir + "/scene.ma";
    const double nodes = sceneNodeCount();
    if (!commandStep(recorder, log, "scene_save", "file -rename " + quoted(scenePath) + " -save")) return;
    recorder.note("file_bytes", fileBytes(scenePath));
    dghost::newScene();
    if (!commandStep(recorder, log, "scene_open", "file -open -force " + quoted(scenePath))) return;
    recorder.note("scene_nodes", sceneNodeCount());
    if (sceneNodeCount() != nodes) std::cerr << "bench: the opened scene differs from the saved one\n";
}

}  // namespace

const char* logModeName(LogMode mode)
{
    return mode == LogMode::File ? "file" : "null";
}

bool loadDendrine()
{
    NullBuffer null;
    std::streambuf* saved = std::cout.rdbuf(&null);
    std::string error;
    const MStatus status = dghost::loadLinkedPlugin("Dendrine", initializePlugin, uninitializePlugin, &error);
    std::cout.rdbuf(saved);
    if (status != MS::kSuccess) std::cerr << "bench: cannot load Dendrine: " << error << "\n";
    return status == MS::kSuccess;
}

void runOurs(const OursConfig& c, Recorder& recorder)
{
    LogSink log(c.log, c.workDir + "/plugin-" + logModeName(c.log) + ".log");
    dghost::newScene();
    const double heapBefore = heapInUseBytes();
    if (!commandStep(recorder, log, "import",
                     "XmlLoadFile -f " + quoted(c.xmlPath) + " -n " + kDocumentNode, "Read Succesfull"))
        return;
    recorder.note("scene_bytes", heapInUseBytes() - heapBefore);
    recorder.note("scene_nodes", sceneNodeCount());
    if (c.importOnly) return;
    const std::string exported = c.workDir + "/exported.xml";
    if (commandStep(recorder, log, "export", std::string("XmlSaveFile -n ") + kDocumentNode + " -f " + quoted(exported),
                    "Export Succesfull"))
        recorder.note("file_bytes", fileBytes(exported));
    searches(c, recorder, log);
    saveAndOpen(c, recorder, log);
}

void measureNodeMemory(unsigned long count, Recorder& recorder)
{
    LogSink log(LogMode::Null, std::string());
    dghost::newScene();
    MDGModifier modifier;
    const MObject root = createElementNode("root", "root", "");
    std::vector<MObject> elements;
    elements.reserve(count);
    double before = heapInUseBytes();
    recorder.measure("element_node", [&] {
        for (unsigned long i = 0; i < count; ++i) {
            elements.push_back(createElementNode("e", "e", "v"));
            addChild(root, elements.back(), modifier);
        }
        return true;
    });
    recorder.note("bytes_each", (heapInUseBytes() - before) / static_cast<double>(count));
    before = heapInUseBytes();
    recorder.measure("attribute_node", [&] {
        for (unsigned long i = 0; i < count; ++i) addAttribute(elements[i], createAttributeNode("a", "v"), modifier);
        return true;
    });
    recorder.note("bytes_each", (heapInUseBytes() - before) / static_cast<double>(count));
}

}  // namespace bench
