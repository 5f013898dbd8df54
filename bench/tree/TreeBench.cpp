// Times getChildNodes of one element with many children and
// listAllElementNodes over scenes of many elements, at two sizes, and prints
// the time per node of each, so that a cost that grows faster than the
// number of nodes shows as a rising ratio. The library's log lines go to a
// stream that discards them while the scenes are built and timed.

#include "tree/Children.h"
#include "tree/Document.h"
#include "tree/Lookup.h"

#include <dghost/Host.h>
#include <maya/MDGModifier.h>
#include <maya/MObjectArray.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <streambuf>
#include <string>

MStatus initializePlugin(MObject obj);
MStatus uninitializePlugin(MObject obj);

namespace {

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

// Best of `rounds` runs of `work`, in nanoseconds per node.
template <typename Work>
double nanosecondsPerNode(unsigned int nodes, int rounds, Work work)
{
    double best = 0.0;
    for (int r = 0; r < rounds; ++r) {
        const Clock::time_point start = Clock::now();
        work();
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        if (r == 0 || ns < best)
            best = ns;
    }
    return best / nodes;
}

std::string nodeName(const char* prefix, unsigned int i)
{
    return prefix + std::to_string(i);
}

double timeGetChildNodes(unsigned int count)
{
    dghost::newScene();
    SilencedOutput silence;
    const MObject parent = createElementNode("parent", "", "");
    MDGModifier modifier;
    for (unsigned int i = 0; i < count; ++i)
        addChild(parent, createElementNode(nodeName("c", i).c_str(), "", ""), modifier);
    MObjectArray children;
    const double ns = nanosecondsPerNode(count, 5, [&] { getChildNodes(parent, children); });
    if (children.length() != count)
        std::fprintf(stderr, "getChildNodes found %u of %u\n", children.length(), count);
    return ns;
}

double timeListAllElementNodes(unsigned int count)
{
    dghost::newScene();
    SilencedOutput silence;
    for (unsigned int i = 0; i < count; ++i)
        createElementNode(nodeName("e", i).c_str(), "", "");
    MObjectArray nodes;
    const double ns = nanosecondsPerNode(count, 3, [&] { listAllElementNodes(nodes); });
    if (nodes.length() != count)
        std::fprintf(stderr, "listAllElementNodes found %u of %u\n", nodes.length(), count);
    return ns;
}

void report(const char* what, double (*measure)(unsigned int))
{
    const double small = measure(10000);
    const double large = measure(100000);
    std::printf("%-20s %10.1f ns/node at 10k %10.1f ns/node at 100k   ratio %.2f\n", what, small,
                large, large / small);
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
    report("getChildNodes", timeGetChildNodes);
    report("listAllElementNodes", timeListAllElementNodes);
    return 0;
}
