// Exports trees of 10,000 and 100,000 elements with XmlSaveFile in-process,
// and builds and pretty-writes an equal DOM with plain Xerces-C in the same
// run. Prints both times, their ratio, and the peak resident memory of each
// phase. The plug-in's log lines go to a stream that discards them.
//
// Tree shape: every element has one attribute; elements are filled in
// breadth first with up to 8 children each; leaves carry a short text.

#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Document.h"

#include <dghost/Host.h>
#include <maya/MDGModifier.h>
#include <maya/MObjectArray.h>
#include <maya/MString.h>
#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/LocalFileFormatTarget.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

MStatus initializePlugin(MObject obj);
MStatus uninitializePlugin(MObject obj);

XERCES_CPP_NAMESPACE_USE

namespace {

const unsigned kFanOut = 8;

class NullBuffer : public std::streambuf
{
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Sends std::cout to nowhere for its lifetime.
class SilencedOutput
{
public:
    SilencedOutput() : saved_(std::cout.rdbuf(&null_)) {}
    ~SilencedOutput() { std::cout.rdbuf(saved_); }

private:
    NullBuffer null_;
    std::streambuf* saved_;
};

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A memory line of /proc/self/status ("VmHWM:", "VmRSS:"), in MiB.
double statusMiB(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::stod(line.substr(key.size())) / 1024.0;
    }
    return 0.0;
}

// Peak resident set since the last resetPeakMemory.
double peakMemoryMiB()
{
    return statusMiB("VmHWM:");
}

// Linux: writing 5 to clear_refs starts a new peak from the current size.
void resetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// parent(i) in the breadth-first numbering; element 0 is the root.
unsigned parentOf(unsigned i)
{
    return (i - 1) / kFanOut;
}

bool isLeaf(unsigned i, unsigned count)
{
    return i * kFanOut + 1 >= count;
}

std::string textOf(unsigned i)
{
    return "value " + std::to_string(i);
}

// The scene tree under a new document "benchDoc"; returns the document.
MObject buildSceneTree(unsigned count)
{
    SilencedOutput quiet;
    MObject document = createDocumentNode("bench.xml", "benchDoc");
    std::vector<MObject> elements;
    elements.reserve(count);
    MDGModifier modifier;
    for (unsigned i = 0; i < count; ++i) {
        std::string value = isLeaf(i, count) ? textOf(i) : std::string();
        elements.push_back(createElementNode("item", "item", value.c_str()));
        MObject attribute = createAttributeNode("id", std::to_string(i).c_str());
        addAttribute(elements.back(), attribute, modifier);
        if (i == 0)
            addElementToDocument(document, elements.back(), modifier);
        else
            addChild(elements[parentOf(i)], elements.back(), modifier);
    }
    return document;
}

double timeExport(const std::string& file)
{
    SilencedOutput quiet;
    const Clock::time_point start = Clock::now();
    dghost::CommandOutcome outcome = dghost::runCommand("XmlSaveFile -node benchDoc -file \"" + file + "\"");
    double seconds = secondsSince(start);
    if (outcome.status != MS::kSuccess)
        std::fprintf(stderr, "export failed\n");
    return seconds;
}

struct Xml
{
    explicit Xml(const std::string& text) : str(XMLString::transcode(text.c_str())) {}
    ~Xml() { XMLString::release(&str); }
    XMLCh* str;
};

// The same tree with plain Xerces: build, pretty-write, release.
double timePlainXerces(unsigned count, const std::string& file)
{
    const Clock::time_point start = Clock::now();
    XMLPlatformUtils::Initialize();
    {
        DOMImplementation* impl = DOMImplementationRegistry::getDOMImplementation(u"LS");
        DOMDocument* doc = impl->createDocument();
        std::vector<DOMElement*> elements;
        elements.reserve(count);
        for (unsigned i = 0; i < count; ++i) {
            elements.push_back(doc->createElement(u"item"));
            elements.back()->setAttribute(u"id", Xml(std::to_string(i)).str);
            if (isLeaf(i, count))
                elements.back()->appendChild(doc->createTextNode(Xml(textOf(i)).str));
            DOMNode* parent = i == 0 ? static_cast<DOMNode*>(doc) : elements[parentOf(i)];
            parent->appendChild(elements.back());
        }
        DOMLSSerializer* serializer = impl->createLSSerializer();
        serializer->getDomConfig()->setParameter(XMLUni::fgDOMWRTFormatPrettyPrint, true);
        DOMLSOutput* output = impl->createLSOutput();
        output->setEncoding(u"UTF-8");
        LocalFileFormatTarget* target = new LocalFileFormatTarget(file.c_str());
        output->setByteStream(target);
        serializer->write(doc->getDocumentElement(), output);
        target->flush();
        output->release();
        serializer->release();
        delete target;
        doc->release();
    }
    XMLPlatformUtils::Terminate();
    return secondsSince(start);
}

void benchmark(unsigned count)
{
    dghost::newScene();
    resetPeakMemory();
    buildSceneTree(count);
    double sceneResident = statusMiB("VmRSS:");
    const std::string pluginFile = "/tmp/dendrine_export_bench_plugin.xml";
    const std::string plainFile = "/tmp/dendrine_export_bench_plain.xml";
    resetPeakMemory();
    double exportSeconds = timeExport(pluginFile);
    double exportPeak = peakMemoryMiB();
    resetPeakMemory();
    double plainSeconds = timePlainXerces(count, plainFile);
    double plainPeak = peakMemoryMiB();
    std::printf("%7u elements (scene resident %6.1f MiB): XmlSaveFile %8.3f s (peak %7.1f MiB)  "
                "plain Xerces %8.3f s (peak %7.1f MiB)  ratio %6.1f\n",
                count, sceneResident, exportSeconds, exportPeak, plainSeconds, plainPeak,
                plainSeconds > 0 ? exportSeconds / plainSeconds : 0.0);
    std::remove(pluginFile.c_str());
    std::remove(plainFile.c_str());
}

}  // namespace

int main()
{
    std::string error;
    if (dghost::loadLinkedPlugin("Dendrine", initializePlugin, uninitializePlugin, &error) !=
        MS::kSuccess) {
        std::fprintf(stderr, "cannot load Dendrine: %s\n", error.c_str());
        return 1;
    }
    benchmark(10000);
    benchmark(100000);
    return 0;
}
