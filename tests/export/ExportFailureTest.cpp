// Exports that cannot be completed are reported with the node and the
// reason, write nothing, leave the file they would replace as it was, and
// do not stop the other nodes; the command then fails without a result.

#include "tests/export/ExportTest.h"

#include "export/ExportErrorHandler.h"

#include <xercesc/dom/DOMError.hpp>
#include <iostream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class ExportFailureTest : public ExportTest
{
protected:
    // Document "doc" whose root r has one leaf (node "leaf").
    void documentWithLeaf(const std::string& leafName, const std::string& value)
    {
        dghost::newScene();
        MObject root = element("r", "r");
        top(document("doc", "doc.xml"), root);
        child(root, element("leaf", leafName, value));
    }

    // Exporting "doc" to `file` fails for `reason`, and no file appears.
    void expectDocFails(const std::string& file, const std::string& reason)
    {
        expectFailed(save("-node doc -file " + quoted(file)), "Cannot export doc to " + file + ": " + reason);
        std::error_code ec;
        EXPECT_FALSE(fs::exists(file, ec)) << reason;
    }

    // Document "doc" over a chain of `depth` elements doc_1 ... doc_<depth>,
    // linked with connectAttr (addChild's cycle check would walk the chain
    // at every link).
    void chain(unsigned depth)
    {
        top(document("doc", "doc.xml"), element("doc_1", "e"));
        for (unsigned level = 2; level <= depth; ++level) {
            element("doc_" + std::to_string(level), "e");
            run("connectAttr doc_" + std::to_string(level) + ".ToParent doc_" + std::to_string(level - 1) +
                ".FromChildren[0]");
        }
        takeOutput();
    }
};

TEST_F(ExportFailureTest, DocumentsWithoutExactlyOneTopElement)
{
    const std::string file = tempPath("out.xml");
    const std::string noTop = "Error Getting First Doc Node(kInvalidParameter): Object is incompatible with this method";
    MObject doc = document("doc", "doc.xml");
    takeOutput();
    expectDocFails(file, "the document has no top element");
    EXPECT_TRUE(inOrder(takeOutput(), {noTop, "Do Export Finished"}));
    top(doc, element("first", "a"));
    dghost::fault::failCall("connectedTo", 1);  // the one element cannot be read
    expectDocFails(file, "its top element cannot be read");
    EXPECT_TRUE(inOrder(takeOutput(), {noTop}));
    top(doc, element("second", "b"));
    expectDocFails(file, "the document has 2 top elements; an XML document has exactly one");
}

TEST_F(ExportFailureTest, NamesAndCharactersXmlCannotCarry)
{
    const std::string file = tempPath("out.xml");
    for (const char* name : {"a b", "1abc", "", "a|b", "<x>"}) {
        documentWithLeaf(name, "v");
        expectDocFails(file, "element node leaf has the name \"" + std::string(name) + "\", which is not an XML name");
    }
    for (const auto& value : {std::make_pair("a\x01z", "U+0001"), std::make_pair("\x1F", "U+001F"),
                              std::make_pair("\xEF\xBF\xBE", "U+FFFE"), std::make_pair("\xEF\xBF\xBF", "U+FFFF")}) {
        documentWithLeaf("leaf", value.first);
        expectDocFails(file, std::string("element node leaf: its value holds ") + value.second +
                                 ", a character XML cannot carry");
    }
    documentWithLeaf("leaf", "bad \xFF byte");
    expectDocFails(file, "element node leaf: ");  // the library names the bad byte
    attribute(node("leaf"), "k", "tab\tok, bell\anot");
    attribute(node("r"), "bad name", "v");
    run("setAttr leaf.XmlValue -type \"string\" \"fine\"");
    expectDocFails(file, "element node r: its attribute node bad_name has the name \"bad name\", which is not an XML name");
    run("delete bad_name");
    expectDocFails(file, "element node leaf: the value of its attribute \"k\" holds U+0007, a character XML cannot carry");
}

// Deeper trees would overflow the writer's stack; a hand-made cycle never
// ends going down.
TEST_F(ExportFailureTest, TreesDeeperThanTenThousandLevels)
{
    const std::string file = tempPath("out.xml");
    chain(10001);
    expectDocFails(file, "the tree is deeper than 10000 levels (below element node doc_10000)");
    run("delete doc_10001");
    expectSucceeded(save("-node doc -file /dev/null"));  // 200 MB of indentation
    // A loop looks endlessly deep; it is named as what it is.
    ASSERT_EQ(run("connectAttr doc_1.ToParent doc_10000.FromChildren[0]").status, MS::kSuccess);
    expectDocFails(file, "Error the XML tree holds a loop through the node doc_1");
}

TEST_F(ExportFailureTest, PathsThatCannotBeWritten)
{
    simpleDocument("doc", "doc.xml", "root");
    const std::string missing = tempPath("missing/out.xml");
    expectDocFails(missing, "cannot write " + missing + ": No such file or directory");
    expectDocFails("/etc/hostname/out.xml", "cannot write /etc/hostname/out.xml: Not a directory");
    // A device cannot be replaced by renaming, so it is written directly.
    expectFailed(save("-node doc -file /dev/full"),
                 "Cannot export doc to /dev/full: cannot write /dev/full: No space left on device");
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    expectSucceeded(save("-node doc -file /dev/null"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

// The new content goes to a file beside the target and replaces it only
// when complete, keeping the replaced file's permissions and links.
TEST_F(ExportFailureTest, TheReplacedFileSurvivesAFailedExport)
{
    const std::string file = writeFile("out.xml", "<old/>");
    documentWithLeaf("leaf", "bell\a");
    expectFailed(save("-node doc -file " + quoted(file)), "Cannot export doc to " + file);
    EXPECT_EQ(readFile(file), "<old/>");
    const std::string folder = tempPath("folder");  // the final rename fails
    fs::create_directory(folder);
    writeFile("folder/kept.txt", "kept");
    run("setAttr leaf.XmlValue -type \"string\" \"fine\"");
    expectFailed(save("-node doc -file " + quoted(folder)),
                 "Cannot export doc to " + folder + ": cannot replace " + folder + ": Is a directory");
    EXPECT_EQ(readFile(tempPath("folder/kept.txt")), "kept");
    EXPECT_EQ(entries(), (Lines{"folder", "out.xml"}));

    ::chmod(file.c_str(), 0600);
    fs::create_symlink("out.xml", tempPath("link.xml"));
    expectSucceeded(save("-node doc -file " + quoted(tempPath("link.xml"))));
    EXPECT_TRUE(fs::is_symlink(tempPath("link.xml")));
    EXPECT_EQ(readFile(file), "\n<r>\n\n  <leaf>fine</leaf>\n\n</r>");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(entries(), (Lines{"folder", "link.xml", "out.xml"}));
}

TEST_F(ExportFailureTest, OtherNodesAreStillExported)
{
    document("empty", tempPath("empty.xml"));
    simpleDocument("good", tempPath("good.xml"), "fine", {{"x", "1"}});
    simpleDocument("bad", tempPath("bad.xml"), "bad", {{"y", "\x02"}});
    simpleDocument("unnamed", "", "u");
    simpleDocument("later", tempPath("later.xml"), "also");
    takeOutput();
    Outcome outcome = save("-alldoc");
    EXPECT_EQ(outcome.status, MS::kFailure);
    EXPECT_EQ(outcome.kind, Outcome::Kind::None);
    EXPECT_EQ(outcome.errors,
              (Lines{"Cannot export empty to " + tempPath("empty.xml") + ": the document has no top element",
                     "Cannot export bad to " + tempPath("bad.xml") +
                         ": element node bad_y: its value holds U+0002, a character XML cannot carry",
                     "Cannot export unnamed: there is no file name (the document has no document name)"}));
    EXPECT_EQ(readFile(tempPath("good.xml")), "\n<fine>\n\n  <x>1</x>\n\n</fine>");
    EXPECT_EQ(entries(), (Lines{"good.xml", "later.xml"}));
    EXPECT_TRUE(inOrder(takeOutput(), {"Exporting DocNodes #", "5", "Do Export Finished"}));
}

// The writer's reports go to standard error, led by their severity.
struct FakeError : xercesc::DOMError {
    FakeError(ErrorSeverity severity, const XMLCh* message) : severity(severity), message(message) {}
    ErrorSeverity getSeverity() const override { return severity; }
    const XMLCh* getMessage() const override { return message; }
    xercesc::DOMLocator* getLocation() const override { return nullptr; }
    void* getRelatedException() const override { return nullptr; }
    const XMLCh* getType() const override { return u""; }
    void* getRelatedData() const override { return nullptr; }
    ErrorSeverity severity;
    const XMLCh* message;
};

TEST_F(ExportFailureTest, WriterReportsGoToStandardError)
{
    std::ostringstream reports;
    std::streambuf* saved = std::cerr.rdbuf(reports.rdbuf());
    ExportErrorHandler handler;
    for (auto severity : {xercesc::DOMError::DOM_SEVERITY_WARNING, xercesc::DOMError::DOM_SEVERITY_ERROR,
                          xercesc::DOMError::DOM_SEVERITY_FATAL_ERROR, xercesc::DOMError::ErrorSeverity(0)})
        EXPECT_TRUE(handler.handleError(FakeError(severity, u"m \u00e9")));
    std::cerr.rdbuf(saved);
    EXPECT_EQ(reports.str(), "\nWarning Message: m \xC3\xA9\n\nError Message: m \xC3\xA9\n"
                             "\nFatal Message: m \xC3\xA9\n\nFatal Message: m \xC3\xA9\n");
    EXPECT_EQ(takeOutput(), "");
}

}  // namespace
