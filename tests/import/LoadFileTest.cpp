// What a clean import builds, in what order, and the command's flags.

#include "tests/import/ImportTest.h"

namespace {

using ImportLoadTest = ImportTest;

const char* const kHelp =
    " XmlLoadFile a Part of Dendrine\nUse this command to read an XML File and create a XML-Base "
    "NodeStructure in Maya \nFlags : \n\t -h / -help \t: displays this text \n\t -f / -file \t: "
    "Filename from XML File that should be loaded \n \t -n / -name \t: Name of the Document "
    "(Root)-Node \n \t -t / -xmltype \t: XML-Type of the Document (unused) \n \t -ee / "
    "-exceptelement \t: Except specified Element(s) during creation (unused)\n\t -fae / "
    "-firstappearanceelement \t: Create Node structure from first appearance of this XmlElement "
    "(unused)\n\t -fav / -firstappearancevalue \t: Create Node structure from first appearance "
    "of this Value (unused)\n";

const char* const kExample = "<root a=\"1\" b=\"2\">t1<c>x</c>t2</root>";

TEST_F(ImportLoadTest, RootAttributesAndTextBecomeLinkedNodes)
{
    const std::string path = writeFile("example.xml", kExample);
    const auto outcome = load(path, "-n doc");
    EXPECT_EQ(outcome.status, MS::kSuccess);
    EXPECT_EQ(outcome.text, "Read Succesfull");
    EXPECT_TRUE(outcome.errors.empty());
    EXPECT_EQ(tree("doc"), "root[a=1 b=2]\"t1xt2\"(c\"x\")");
    EXPECT_EQ(attr("doc.DocumentName"), path);
    // Creation order: document, element, its attributes, then its child.
    EXPECT_EQ(sceneNodes(), (Names{"doc", "root", "a", "b", "c"}));
    EXPECT_EQ(takeReports(), "");
}

TEST_F(ImportLoadTest, LogLinesComeInBuildOrder)
{
    load(writeFile("example.xml", kExample), "-n doc");
    EXPECT_EQ(takeOutput(),
              "Creating XML DocNode Name\n"
              "Setting DocNodeName\n"
              "creating Doc Node start load File\n"
              "Recreate Document Called \n"          // root
              "Connecting to Docnode on ElementCount\n"
              "0\n"
              "Added Attribute\n"
              "Added Attribute\n"
              "Recreate Called\nRecreate Document Called \n"  // t1
              "Recreate Called\nRecreate Document Called \n"  // c
              "Add Xml Child Called\n"
              "Recreate Called\nRecreate Document Called \n"  // x, inside c
              "Recreate Called\nRecreate Document Called \n"); // t2
}

TEST_F(ImportLoadTest, CommentsAndInstructionsAreVisitedButBuildNothing)
{
    const std::string path = writeFile(
        "pi.xml", "<?xml version=\"1.0\"?>\n<!-- before --><?before x?>\n"
                  "<r>a<!-- inner --><?inner data?>b<e/></r>\n<!-- after -->");
    load(path, "-n doc");
    const std::string output = takeOutput();
    EXPECT_EQ(tree("doc"), "r\"ab\"(e\"\")");
    EXPECT_EQ(sceneNodes(), (Names{"doc", "r", "e"}));
    // Five children visited: a, the comment, the instruction, b and e.
    size_t visits = 0;
    for (size_t at = output.find("Recreate Called\nRecreate Document Called \n");
         at != std::string::npos;
         at = output.find("Recreate Called\nRecreate Document Called \n", at + 1))
        ++visits;
    EXPECT_EQ(visits, 5u);
}

TEST_F(ImportLoadTest, TextContentJoinsCdataEntitiesAndLayout)
{
    const std::string path = writeFile(
        "text.xml",
        "<!DOCTYPE r [<!ENTITY w \"wor<i>l</i>d\">]>\r\n"
        "<r>&lt;<![CDATA[<x>&amp;]]>&w;&#233;&#x263A;\r\n  <s>in</s>\r\n</r>");
    load(path, "-n doc");
    // An entity's content is the file's content: its text counts, and the
    // element inside it becomes a node like any other.
    EXPECT_EQ(tree("doc"), "r\"<<x>&amp;world\xC3\xA9\xE2\x98\xBA\n  in\n\"(i\"l\" s\"in\")");
    EXPECT_EQ(sceneNodes(), (Names{"doc", "r", "i", "s"}));
}

TEST_F(ImportLoadTest, NamespaceDeclarationsAreAttributeNodes)
{
    load(writeFile("ns.xml", "<x:r xmlns:x=\"urn:a\" xmlns=\"urn:b\" x:k=\"v\"><x:c/></x:r>"),
         "-n doc");
    // Names as written, prefix included; attributes in the parsed order.
    EXPECT_EQ(tree("doc"), "x:r[x:k=v xmlns=urn:b xmlns:x=urn:a]\"\"(x:c\"\")");
    EXPECT_EQ(sceneNodes(), (Names{"doc", "x_r", "x_k", "xmlns", "xmlns_x", "x_c"}));
}

TEST_F(ImportLoadTest, SiblingsKeepFileOrder)
{
    load(writeFile("five.xml", "<r><e5/><e1>1</e1><e3/><e2/><e4/></r>"), "-n doc");
    EXPECT_EQ(tree("doc"), "r\"1\"(e5\"\" e1\"1\" e3\"\" e2\"\" e4\"\")");
}

TEST_F(ImportLoadTest, SameFileTwiceMakesTwoIndependentTrees)
{
    const std::string path = writeFile("twice.xml", "<r><c/></r>");
    EXPECT_EQ(load(path).text, "Read Succesfull");
    EXPECT_EQ(load(path).text, "Read Succesfull");
    EXPECT_EQ(sceneNodes(), (Names{"xmlDocument1", "r", "c", "xmlDocument2", "r1", "c1"}));
    EXPECT_EQ(tree("xmlDocument1"), "r\"\"(c\"\")");
    EXPECT_EQ(tree("xmlDocument2"), "r\"\"(c\"\")");
    MObjectArray first;
    MObjectArray second;
    getDocumentElements(node("xmlDocument1"), first);
    getDocumentElements(node("xmlDocument2"), second);
    ASSERT_EQ(first.length(), 1u);
    ASSERT_EQ(second.length(), 1u);
    EXPECT_EQ(nameOf(first[0]), "r");
    EXPECT_EQ(nameOf(second[0]), "r1");
    EXPECT_EQ(attr("xmlDocument2.DocumentName"), path);
}

TEST_F(ImportLoadTest, HelpWinsOverEveryOtherFlag)
{
    const std::string path = writeFile("a.xml", "<r/>");
    const Names flagSets{"-h", "-help -f \"" + path + "\" -n doc",
                         "-f \"" + path + "\" -n doc -t x -ee y -fae z -fav w -h"};
    for (const std::string& flags : flagSets)
    {
        const auto outcome = run("XmlLoadFile " + flags);
        EXPECT_EQ(outcome.status, MS::kSuccess) << flags;
        EXPECT_EQ(outcome.text, kHelp) << flags;
        EXPECT_TRUE(outcome.errors.empty()) << flags;
    }
    EXPECT_TRUE(sceneNodes().empty());
    EXPECT_EQ(takeOutput(), "");
}

TEST_F(ImportLoadTest, MissingFileFlagIsReportedAndBuildsNothing)
{
    const auto outcome = run("XmlLoadFile -n doc -t x");
    EXPECT_EQ(outcome.status, MS::kSuccess);
    EXPECT_EQ(outcome.kind, dghost::CommandOutcome::Kind::None);
    EXPECT_EQ(outcome.errors, (Names{"Please Provide XML Filename"}));
    EXPECT_TRUE(sceneNodes().empty());
}

TEST_F(ImportLoadTest, UnusedFlagsAreAcceptedAndIgnored)
{
    const std::string path = writeFile("a.xml", kExample);
    const auto plain = load(path, "-n doc");
    const std::string plainLog = takeOutput();
    const std::string plainTree = tree("doc");
    dghost::newScene();
    takeOutput();

    const auto flagged = load(path, "-n doc -t x -ee y -fae root -fav t1xt2");
    EXPECT_EQ(flagged.status, plain.status);
    EXPECT_EQ(flagged.text, plain.text);
    EXPECT_EQ(takeOutput(), plainLog);
    EXPECT_EQ(tree("doc"), plainTree);
}

}  // namespace
