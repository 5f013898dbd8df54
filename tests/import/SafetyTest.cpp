// Files that must not import, or must import without harm: unreadable and
// malformed files, external resources, entity bombs, deep nesting, awkward
// paths and the XML library's exceptions. A refused file leaves the scene
// as it was and answers kFailure with one error.

#include "tests/import/ImportTest.h"

#include <xercesc/util/PlatformUtils.hpp>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <thread>

namespace {

using ImportSafetyTest = ImportTest;
using xercesc::XMLPlatformUtils;

// Serves anything asked of it on 127.0.0.1 with a declaration that would
// show in the scene, and counts the connections. Stops by itself.
class LoopbackServer
{
public:
    LoopbackServer()
    {
        fSocket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(fSocket, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
            listen(fSocket, 8) == 0 &&
            getsockname(fSocket, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            fPort = ntohs(address.sin_port);
        fThread = std::thread([this] { serve(); });
    }

    ~LoopbackServer()
    {
        fStop = true;
        fThread.join();
        close(fSocket);
    }

    int port() const { return fPort; }
    unsigned requests() const { return fRequests; }

private:
    void serve()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!fStop && std::chrono::steady_clock::now() < deadline)
        {
            pollfd waiting{fSocket, POLLIN, 0};
            if (poll(&waiting, 1, 20) <= 0)
                continue;
            const int client = accept(fSocket, nullptr, nullptr);
            if (client < 0)
                continue;
            ++fRequests;
            char request[512];
            (void)!read(client, request, sizeof request);
            const char reply[] = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n"
                                 "<!ATTLIST r leaked CDATA \"LEAKED\">";
            (void)!write(client, reply, sizeof reply - 1);
            close(client);
        }
    }

    int fSocket = -1;
    int fPort = 0;
    std::atomic<bool> fStop{false};
    std::atomic<unsigned> fRequests{0};
    std::thread fThread;
};

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// `levels` elements nested in one another.
std::string nested(unsigned levels)
{
    std::string text;
    for (unsigned i = 0; i < levels; ++i)
        text += "<a>";
    for (unsigned i = 0; i < levels; ++i)
        text += "</a>";
    return text;
}

TEST_F(ImportSafetyTest, UnreadableFilesAreRefused)
{
    const std::string missing = tempPath("missing.xml");
    auto outcome = load(missing, "-n doc");
    EXPECT_EQ(outcome.status, MS::kFailure);
    EXPECT_EQ(outcome.errors,
              (Names{"Cannot read XML file \"" + missing + "\": No such file or directory"}));
    EXPECT_EQ(outcome.kind, dghost::CommandOutcome::Kind::None);

    const std::string folder = tempPath("folder.xml");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    outcome = load(folder, "-n doc");
    EXPECT_EQ(outcome.status, MS::kFailure);
    EXPECT_EQ(outcome.errors, (Names{"Cannot read XML file \"" + folder +
                                     "\": it is a folder, not a regular file"}));

    EXPECT_TRUE(sceneNodes().empty());
    EXPECT_EQ(takeOutput(), "");
}

TEST_F(ImportSafetyTest, MalformedFileIsRefusedAtItsLineAndColumn)
{
    const std::string path = writeFile("bad.xml", "<r>\n  <a>\n</r>\n");
    const auto outcome = load(path, "-n doc");
    EXPECT_EQ(outcome.status, MS::kFailure);
    EXPECT_EQ(outcome.errors, (Names{"Cannot import XML file \"" + path +
                                     "\": fatal error at line 3, column 3: expected end of "
                                     "tag 'a'"}));
    EXPECT_EQ(takeReports(),
              "\nFatal Error at file " + path + ", line 3, char 3\n  Message: expected end of tag 'a'\n");
    EXPECT_TRUE(sceneNodes().empty());
    EXPECT_EQ(takeOutput(), "");

    // An empty file has no root element: refused the same way.
    EXPECT_EQ(load(writeFile("empty.xml", "")).status, MS::kFailure);
    EXPECT_TRUE(sceneNodes().empty());
}

TEST_F(ImportSafetyTest, WarningsAndRecoverableErrorsDoNotStopTheImport)
{
    const std::string path = writeFile("warn.xml",
                                       "<!DOCTYPE r [<!ATTLIST r a CDATA #IMPLIED>\n"
                                       "<!ATTLIST r a CDATA #IMPLIED>]>\n<r a=\"1\">ok</r>");
    const auto outcome = load(path, "-n doc");
    EXPECT_EQ(outcome.text, "Read Succesfull");
    EXPECT_EQ(tree("doc"), "r[a=1]\"ok\"");
    const std::string reports = takeReports();
    EXPECT_TRUE(contains(reports, "\nWarning at file " + path + ", line 2, char 14\n"
                                  "  Message: attribute 'a' has already been declared for "
                                  "element 'r'\n"))
        << reports;
    EXPECT_TRUE(contains(reports, "\nError at file " + path + ", line 3, char 3\n"
                                  "  Message: no declaration found for element 'r'\n"))
        << reports;
    EXPECT_FALSE(contains(reports, "Fatal"));
}

TEST_F(ImportSafetyTest, ExternalFileEntitiesNeverReachTheScene)
{
    const std::string secret = writeFile("secret.txt", "SECRET-CONTENT");
    const std::string path = writeFile(
        "entities.xml", "<!DOCTYPE r [<!ENTITY abs SYSTEM \"file://" + secret +
                            "\"><!ENTITY rel SYSTEM \"secret.txt\">\n"
                            "<!ENTITY % pe SYSTEM \"secret.txt\"> %pe;]>\n"
                            "<r a=\"[&amp;]\">1&abs;2&rel;3<c>&rel;</c></r>");
    EXPECT_EQ(load(path, "-n doc").text, "Read Succesfull");
    EXPECT_EQ(tree("doc"), "r[a=[&]]\"123\"(c\"\")");
}

TEST_F(ImportSafetyTest, NetworkResourcesAreNeverRequested)
{
    LoopbackServer server;
    ASSERT_NE(server.port(), 0);
    const std::string base = "http://127.0.0.1:" + std::to_string(server.port());
    const Names files{
        "<!DOCTYPE r SYSTEM \"" + base + "/r.dtd\">\n<r>ok</r>",
        "<!DOCTYPE r PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" \"" + base + "/x.dtd\"><r>ok</r>",
        "<!DOCTYPE r [<!ENTITY % p SYSTEM \"" + base + "/p.ent\"> %p;]>\n<r>ok</r>",
        "<!DOCTYPE r [<!ENTITY e SYSTEM \"" + base + "/e.txt\">]>\n<r>o&e;k</r>"};
    for (size_t i = 0; i < files.size(); ++i)
    {
        const std::string name = "doc" + std::to_string(i);
        const auto outcome = load(writeFile(name + ".xml", files[i]), "-n " + name);
        EXPECT_EQ(outcome.text, "Read Succesfull") << files[i];
        EXPECT_EQ(tree(name), "r\"ok\"") << files[i];
    }
    EXPECT_EQ(server.requests(), 0u);
}

TEST_F(ImportSafetyTest, EntityBombIsRefusedQuicklyWithBoundedMemory)
{
    std::string bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE r [\n<!ENTITY l0 \"lol\">\n";
    for (int level = 1; level <= 9; ++level)
    {
        std::string value;
        for (int copy = 0; copy < 10; ++copy)
            value += "&l" + std::to_string(level - 1) + ";";
        bomb += "<!ENTITY l" + std::to_string(level) + " \"" + value + "\">\n";
    }
    bomb += "]>\n<r>&l9;</r>\n";
    const std::string path = writeFile("bomb.xml", bomb);

    const long peakBefore = peakRssKb();
    const auto start = std::chrono::steady_clock::now();
    const auto outcome = load(path, "-n doc");
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
    EXPECT_EQ(outcome.status, MS::kFailure);
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_TRUE(contains(outcome.errors[0], "\": fatal error at line 14, column "));
    EXPECT_TRUE(contains(outcome.errors[0], "more than '50000' entity expansions"))
        << outcome.errors[0];
    // A guard against a hang, not a speed measure (the sanitizer build on
    // a loaded machine is many times slower than a normal one).
    EXPECT_LT(seconds.count(), 60.0);
    EXPECT_LT(peakRssKb() - peakBefore, 200L * 1024);
    EXPECT_TRUE(sceneNodes().empty());
}

TEST_F(ImportSafetyTest, ManyCharacterAndPredefinedReferencesLoad)
{
    std::string text = "<r>";
    for (int i = 0; i < 100000; ++i)
        text += "&amp;&#233;&#x41;&lt;";
    load(writeFile("refs.xml", text + "</r>"), "-n doc");
    std::string expected;
    for (int i = 0; i < 100000; ++i)
        expected += "&\xC3\xA9" "A<";
    EXPECT_EQ(tree("doc"), "r\"" + expected + "\"");
}

TEST_F(ImportSafetyTest, DocumentsWithExternalDtdsStillLoad)
{
    const std::string path = writeFile(
        "page.xhtml",
        "<?xml version=\"1.0\"?>\n<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
        "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n"
        "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body><p>a&amp;b</p></body></html>");
    EXPECT_EQ(load(path, "-n doc").text, "Read Succesfull");
    EXPECT_EQ(tree("doc"),
              "html[xmlns=http://www.w3.org/1999/xhtml]\"a&b\"(body\"a&b\"(p\"a&b\"))");
}

TEST_F(ImportSafetyTest, TenThousandLevelsLoadAndOneMoreIsRefused)
{
    const std::string tooDeep = writeFile("deeper.xml", nested(10001));
    const auto refused = load(tooDeep, "-n doc");
    EXPECT_EQ(refused.status, MS::kFailure);
    EXPECT_EQ(refused.errors, (Names{"Cannot import XML file \"" + tooDeep +
                                     "\": elements are nested deeper than 10000 levels"}));
    EXPECT_TRUE(sceneNodes().empty());

    EXPECT_EQ(load(writeFile("deep.xml", nested(10000)), "-n doc").text, "Read Succesfull");
    MObjectArray level;
    getDocumentElements(node("doc"), level);
    unsigned depth = 0;
    while (level.length() == 1)
    {
        ++depth;
        const MObject element = level[0];
        getChildNodes(element, level);
    }
    takeOutput();
    EXPECT_EQ(depth, 10000u);
    EXPECT_EQ(level.length(), 0u);
}

TEST_F(ImportSafetyTest, AnyLocalPathWorks)
{
    const std::string folder = tempPath("a folder #1 %41 \xC3\xA9");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const std::string path = folder + "/x y#z%20?\xC3\xBC\xE6\x97\xA5.xml";
    std::ofstream(path) << "<r>here</r>";
    EXPECT_EQ(load(path, "-n doc").text, "Read Succesfull");
    EXPECT_EQ(tree("doc"), "r\"here\"");
    EXPECT_EQ(attr("doc.DocumentName"), path);
}

TEST_F(ImportSafetyTest, LibraryExceptionsAreReportedNotThrown)
{
    // A path that is not UTF-8 cannot be named to the XML library: its
    // conversion throws inside the import. Scripts refuse such text, so
    // the command is given its words directly.
    const std::string path = writeFile("bad\xFF.xml", "<r/>");
    const auto outcome =
        dghost::runCommand("XmlLoadFile", {"-f", path, "-n", "doc"}, {false, true, false, true});
    EXPECT_EQ(outcome.status, MS::kFailure);
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_TRUE(contains(outcome.errors[0], "\": the XML library failed: XML error "))
        << outcome.errors[0];
    EXPECT_TRUE(sceneNodes().empty());
    EXPECT_EQ(load(writeFile("good.xml", "<r/>"), "-n doc").text, "Read Succesfull");
}

TEST_F(ImportSafetyTest, OutOfMemoryIsReportedNotThrown)
{
    const std::string path = writeFile("big.xml", "<r>" + std::string(24u << 20, 'a') + "</r>");
    EXPECT_EXIT(
        {
            limitMemoryTo(64ul << 20);
            const auto outcome = load(path, "-n doc");
            const bool reported = outcome.status == MS::kFailure && outcome.errors.size() == 1 &&
                                  contains(outcome.errors[0], "the XML library failed: out of memory");
            std::_Exit(reported && sceneNodes().empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(ImportSafetyTest, LibraryIsTerminatedAndNetworkAccessorRestored)
{
    const std::string good = writeFile("good.xml", "<r/>");
    const std::string bad = writeFile("bad.xml", "<r>");
    for (const std::string& path : {good, bad, good + ".missing"})
    {
        load(path);
        EXPECT_EQ(XMLPlatformUtils::fgTransService, nullptr) << path;
    }
    // Inside a session of someone else's, the accessor comes back unchanged.
    XMLPlatformUtils::Initialize();
    auto* const accessor = XMLPlatformUtils::fgNetAccessor;
    ASSERT_NE(accessor, nullptr);
    EXPECT_EQ(load(good).text, "Read Succesfull");
    EXPECT_EQ(load(bad).status, MS::kFailure);
    EXPECT_EQ(XMLPlatformUtils::fgNetAccessor, accessor);
    EXPECT_NE(XMLPlatformUtils::fgTransService, nullptr);
    XMLPlatformUtils::Terminate();
}

}  // namespace
