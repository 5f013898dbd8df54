#include "tests/fuzz/FuzzHost.h"

#include <dghost/Fault.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <streambuf>
#include <unistd.h>

MStatus initializePlugin(MObject obj);
MStatus uninitializePlugin(MObject obj);

namespace fs = std::filesystem;

namespace fuzzhost {
namespace {

// Swallows everything: the plug-in writes several lines per element.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void ignoreMessage(const char*, const std::string&) {}

std::string& workFolder()
{
    static std::string folder;
    return folder;
}

void removeWorkFolder()
{
    std::error_code ignored;
    if (!workFolder().empty()) fs::remove_all(workFolder(), ignored);
}

void makeWorkFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/dendrine-fuzz-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data())) fail("cannot make a work folder from " + pattern);
    workFolder() = name.data();
    std::atexit(removeWorkFolder);
}

}  // namespace

void start()
{
    static bool started = false;
    if (started) return;
    started = true;
    // Never destroyed: the streams still flush into it at exit.
    static NullBuffer* silence = new NullBuffer;
    std::cout.rdbuf(silence);
    std::cerr.rdbuf(silence);
    dghost::setMessageSink(ignoreMessage);
    makeWorkFolder();
    std::string error;
    if (!dghost::loadLinkedPlugin("Dendrine", initializePlugin, uninitializePlugin, &error))
        fail("cannot load Dendrine: " + error);
}

std::string workPath(const std::string& name) { return workFolder() + "/" + name; }

void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) fail("cannot write " + path);
}

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

dghost::CommandOutcome run(const std::string& command, const std::vector<std::string>& words)
{
    std::vector<bool> quoted;
    for (const std::string& w : words) quoted.push_back(w.empty() || w[0] != '-');
    return dghost::runCommand(command, words, quoted);
}

void fail(const std::string& why)
{
    std::fprintf(stderr, "fuzz invariant broken: %s\n", why.c_str());
    std::fflush(stderr);
    std::abort();
}

}  // namespace fuzzhost
