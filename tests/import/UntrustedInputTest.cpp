// Files from elsewhere: DOCTYPEs naming DTDs the import never reads give no
// validity noise (an internal subset still validates); entities that expand
// far beyond the file's size, and paths that are not regular files, are
// refused before the scene is touched; running out of memory while reading
// is one clean error.

#include "tests/import/ImportTest.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace {

class UntrustedInputTest : public ImportTest
{
protected:
    // `tree` of a document with the white space left out: exporting
    // re-indents, which changes the texts of elements with children.
    std::string squeezedTree(const std::string& document)
    {
        std::string out;
        for (char c : tree(document))
            if (c != ' ' && c != '\n' && c != '\t')
                out += c;
        return out;
    }

    // Imports `content` as doc, exports it, imports the export as again:
    // both trees must match, and neither import may report anything.
    void expectSilentRoundTrip(const std::string& name, const std::string& content)
    {
        dghost::newScene();
        const std::string source = writeFile(name, content);
        ASSERT_EQ(load(source, "-n doc").text, "Read Succesfull") << name;
        const std::string out = tempPath("out-" + name);
        ASSERT_EQ(run("XmlSaveFile -node doc -file \"" + out + "\"").text, "Export Succesfull");
        ASSERT_EQ(load(out, "-n again").text, "Read Succesfull") << name;
        EXPECT_EQ(squeezedTree("doc"), squeezedTree("again")) << name;
        EXPECT_EQ(takeReports(), "") << name;
    }

    void expectRefused(const std::string& path, const std::string& reason)
    {
        const auto outcome = load(path, "-n doc");
        EXPECT_EQ(outcome.status, MS::kFailure) << path;
        EXPECT_EQ(outcome.errors, (Names{"Cannot read XML file \"" + path + "\": " + reason}));
        EXPECT_TRUE(sceneNodes().empty()) << path;
    }
};

TEST_F(UntrustedInputTest, ExternalDtdsThatAreNotReadGiveNoValidityReports)
{
    expectSilentRoundTrip(
        "page.xhtml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
        "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n"
        "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\"><head><title>T</title></head>"
        "<body><p class=\"x\">Hi</p><br/></body></html>\n");
    expectSilentRoundTrip(
        "Info.plist",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n<dict>\n  <key>CFBundleName</key>\n  <string>Demo</string>\n"
        "  <key>Count</key>\n  <integer>3</integer>\n  <key>On</key>\n  <true/>\n</dict>\n</plist>\n");
    expectSilentRoundTrip(
        "a2600.xml",
        "<?xml version=\"1.0\"?>\n<!DOCTYPE softwarelist SYSTEM \"softwarelist.dtd\">\n"
        "<softwarelist name=\"a2600\" description=\"Atari 2600 cartridges\">\n"
        "  <software name=\"adventur\" supported=\"yes\">\n    <description>Adventure</description>\n"
        "    <year>1980</year>\n    <publisher>Atari</publisher>\n"
        "    <info name=\"serial\" value=\"CX2613\"/>\n"
        "    <part name=\"cart\" interface=\"a2600_cart\">\n"
        "      <dataarea name=\"rom\" size=\"4096\">\n"
        "        <rom name=\"adventure.bin\" size=\"4096\" crc=\"157bddb7\" "
        "sha1=\"3f6ac4c3f4ad8b2ed1d4b7a5f4ce47a85bd7e1a0\"/>\n"
        "      </dataarea>\n    </part>\n  </software>\n</softwarelist>\n");
}

TEST_F(UntrustedInputTest, AnInternalSubsetStillValidates)
{
    const std::string path = writeFile("inner.xml", "<!DOCTYPE r [<!ELEMENT r (a)><!ELEMENT a EMPTY>]>\n"
                                                    "<r><b/></r>");
    EXPECT_EQ(load(path, "-n doc").text, "Read Succesfull");
    const std::string reports = takeReports();
    EXPECT_TRUE(contains(reports, "\nError at file " + path + ", line 2, char 6\n"
                                  "  Message: no declaration found for element 'b'\n"))
        << reports;
}

// Expansions that stay under the count limit, yet make a million elements
// out of a few hundred bytes.
std::string amplifyingDocument()
{
    const auto repeat = [](const std::string& text, int times) {
        std::string out;
        for (int i = 0; i < times; ++i)
            out += text;
        return out;
    };
    return "<!DOCTYPE r [\n<!ENTITY a \"" + repeat("<e/>", 40) + "\">\n<!ENTITY b \"" +
           repeat("&a;", 40) + "\">\n<!ENTITY c \"" + repeat("&b;", 30) + "\">\n]>\n<r>" +
           repeat("&c;", 30) + "</r>\n";
}

TEST_F(UntrustedInputTest, EntitiesThatAmplifyFarBeyondTheFileAreRefused)
{
    const std::string bomb = amplifyingDocument();
    ASSERT_LT(bomb.size(), 1000u);
    const std::string path = writeFile("amplified.xml", bomb);
    const auto outcome = load(path, "-n doc");
    EXPECT_EQ(outcome.status, MS::kFailure);
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_TRUE(contains(outcome.errors[0], "Cannot import XML file \"" + path +
                                                "\": its entities expand to more than 100 times "
                                                "the file's size"))
        << outcome.errors[0];
    EXPECT_TRUE(sceneNodes().empty());

    // Entities used as intended stay far below.
    std::string fine = "<!DOCTYPE r [<!ENTITY n \"a name that is long enough to matter\">]>\n<r>";
    for (int i = 0; i < 2000; ++i)
        fine += "<e>&n;</e>";
    EXPECT_EQ(load(writeFile("fine.xml", fine + "</r>"), "-n ok").text, "Read Succesfull");
}

TEST_F(UntrustedInputTest, OnlyRegularFilesAreRead)
{
    const std::string fifo = tempPath("pipe.xml");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    expectRefused(fifo, "it is a FIFO (named pipe), not a regular file");  // no writer: would hang
    expectRefused("/dev/zero", "it is a character device, not a regular file");  // would never end
    const std::string folder = tempPath("folder.xml");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    expectRefused(folder, "it is a folder, not a regular file");
    // A link to a regular file is read.
    const std::string file = writeFile("real.xml", "<r/>");
    ASSERT_EQ(::symlink(file.c_str(), tempPath("link.xml").c_str()), 0);
    EXPECT_EQ(load(tempPath("link.xml"), "-n doc").text, "Read Succesfull");
}

TEST_F(UntrustedInputTest, RunningOutOfMemoryWhileReadingIsOneCleanError)
{
    const std::string path = tempPath("big.xml");
    {
        std::ofstream big(path);
        big << "<r>" << std::string(96u << 20, 'a') << "</r>";
    }
    EXPECT_EXIT(
        {
            limitMemoryTo(48ul << 20);
            const auto outcome = load(path, "-n doc");
            const bool clean = outcome.status == MS::kFailure && outcome.errors.size() == 1 &&
                               outcome.errors[0] == "Cannot import XML file \"" + path + "\": out of memory";
            std::_Exit(clean && sceneNodes().empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    ::unlink(path.c_str());
}

}  // namespace
