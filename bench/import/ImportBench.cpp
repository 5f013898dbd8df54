// Times XmlLoadFile on generated files of 10,000 and 100,000 elements
// (with attributes and text) against a plain DOM parse of the same files
// with the import's parser settings. Each measurement runs in a child
// process of its own, so its peak resident memory is its own.

#include "import/ImportErrorHandler.h"
#include "import/SafeDomParser.h"

#include <dghost/Host.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

MStatus initializePlugin(MObject plugin);
MStatus uninitializePlugin(MObject plugin);

namespace {

struct Measurement
{
    bool ok = false;
    double seconds = 0;
    long peakKb = 0;
};

// Swallows the plug-in's log lines so that writing them costs nothing.
class NullBuffer : public std::streambuf
{
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Sections of 100 items; each item has two attributes and a text, and
// every tenth one a nested note with an attribute of its own.
std::string generate(unsigned elements)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<catalog version=\"1\">\n";
    unsigned made = 1;
    for (unsigned section = 0; made < elements; ++section)
    {
        xml += " <section n=\"" + std::to_string(section) + "\">\n";
        ++made;
        for (unsigned item = 0; item < 100 && made < elements; ++item, ++made)
        {
            const std::string id = std::to_string(made);
            xml += "  <item id=\"i" + id + "\" kind=\"k" + std::to_string(item % 7) +
                   "\">text of item " + id + " &amp; more";
            if (item % 10 == 0 && made + 1 < elements)
            {
                xml += "<note lang=\"en\">note " + id + "</note>";
                ++made;
            }
            xml += "</item>\n";
        }
        xml += " </section>\n";
    }
    return xml + "</catalog>\n";
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Reads and parses the file into a DOM exactly as the import does.
bool parsePlain(const std::string& path)
{
    std::string bytes;
    std::string reason;
    if (!readFileBytes(path, bytes, reason))
        return false;
    try
    {
        XercesSession session;
        ImportErrorHandler handler;
        ImportParser parser(handler);
        std::u16string systemId(path.begin(), path.end());
        const auto* document = parser.parse(bytes, systemId);
        return document != nullptr && handler.fatalErrorCount() == 0;
    }
    catch (...)
    {
        return false;
    }
}

bool importInProcess(const std::string& path)
{
    dghost::newScene();
    NullBuffer null;
    std::streambuf* saved = std::cout.rdbuf(&null);
    const auto outcome = dghost::runCommand("XmlLoadFile -f \"" + path + "\" -n doc");
    std::cout.rdbuf(saved);
    return outcome.status == MS::kSuccess && outcome.text == "Read Succesfull";
}

// Runs `work` in a child process; its time and peak memory come back
// through a pipe.
template <typename Work>
Measurement measure(Work work)
{
    int channel[2];
    if (pipe(channel) != 0)
        return Measurement();
    const pid_t child = fork();
    if (child == 0)
    {
        close(channel[0]);
        const auto start = std::chrono::steady_clock::now();
        Measurement result;
        result.ok = work();
        result.seconds = secondsSince(start);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        result.peakKb = usage.ru_maxrss;
        (void)!write(channel[1], &result, sizeof result);
        _exit(0);
    }
    close(channel[1]);
    Measurement result;
    if (read(channel[0], &result, sizeof result) != sizeof result)
        result = Measurement();
    close(channel[0]);
    waitpid(child, nullptr, 0);
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<unsigned> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(static_cast<unsigned>(std::strtoul(argv[i], nullptr, 10)));
    if (sizes.empty())
        sizes = {10000, 100000};

    if (dghost::loadLinkedPlugin("Dendrine", initializePlugin, uninitializePlugin) != MS::kSuccess)
    {
        std::cerr << "cannot load the plug-in\n";
        return 1;
    }
    char folderTemplate[] = "/tmp/dendrine-import-bench-XXXXXX";
    if (mkdtemp(folderTemplate) == nullptr)
        return 1;
    const std::filesystem::path folder = folderTemplate;

    const Measurement idle = measure([] { return true; });
    std::printf("peak resident memory of an idle child: %.1f MiB\n", idle.peakKb / 1024.0);
    std::printf("%9s %9s %12s %12s %8s %14s %14s\n", "elements", "file MB", "DOM parse s",
                "import s", "ratio", "DOM peak MiB", "import peak MiB");
    int failures = 0;
    for (unsigned elements : sizes)
    {
        const std::string path = (folder / ("bench" + std::to_string(elements) + ".xml")).string();
        std::string xml = generate(elements);
        std::ofstream(path, std::ios::binary) << xml;
        const double megabytes = xml.size() / 1048576.0;
        std::string().swap(xml);  // not part of the children's memory

        const Measurement plain = measure([&] { return parsePlain(path); });
        const Measurement import = measure([&] { return importInProcess(path); });
        if (!plain.ok || !import.ok)
        {
            std::fprintf(stderr, "%u elements: %s failed\n", elements, plain.ok ? "import" : "parse");
            ++failures;
            continue;
        }
        std::printf("%9u %9.2f %12.3f %12.3f %8.1f %14.1f %14.1f\n", elements,
                    megabytes, plain.seconds, import.seconds,
                    import.seconds / plain.seconds, plain.peakKb / 1024.0, import.peakKb / 1024.0);
    }
    std::filesystem::remove_all(folder);
    return failures == 0 ? 0 : 1;
}
