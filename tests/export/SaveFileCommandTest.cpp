// XmlSaveFile as a command: help, refusals with their texts and statuses,
// the ways of choosing nodes, progress lines, and where the files go.

#include "tests/export/ExportTest.h"

namespace {

const char* const kHelp =
    "XmlSaveFile a Part of Dendrine\nUse this Command to Export selected Document or Xml nodes and "
    "their underlying tree to an Xml File \nFlags:\n\t -h / -help \t: displays this text \n\t -f / "
    "-file \t: filename the selected node should be saved to\n \t -sel / -selectedNodes \t: export "
    "the selected nodes\n \t -all\t/ -alldoc \t:exports all Documentnodes in the actual File\n\t -n "
    "/ -node \t:exports the node from the given nodename\n";

const char* const kMultiple = "Cannot Export Multiple Xml/Doc Nodes with only one FileName";

using ExportCommandTest = ExportTest;

TEST_F(ExportCommandTest, HelpIsTheResultWhateverElseIsGiven)
{
    simpleDocument("doc", tempPath("doc.xml"), "root");
    for (const char* flags : {"-h", "-help -alldoc", "-h -file \"\" -node nothing"}) {
        Outcome outcome = save(flags);
        EXPECT_EQ(outcome.status, MS::kSuccess) << flags;
        EXPECT_EQ(outcome.text, kHelp) << flags;
        EXPECT_TRUE(outcome.errors.empty()) << flags;
    }
    EXPECT_EQ(entries(), Lines{});
}

TEST_F(ExportCommandTest, EveryRefusalWithItsText)
{
    const std::string file = quoted(tempPath("out.xml"));
    expectRefused(save("-alldoc"), "Error getting All Document Nodes, maybe there is none of them in this file");
    EXPECT_TRUE(inOrder(takeOutput(), {"Export All Raised", "getDocNodes"}));
    simpleDocument("one", tempPath("one.xml"), "a");
    simpleDocument("two", tempPath("two.xml"), "b");
    attribute(element("loose", "loose"), "attrA", "1");
    takeOutput();

    expectRefused(save("-file \"\" -node one"), "Please provide Filename");
    expectRefused(save("-node one"), "Cannot Export an XML Node Structure without and DocumentNode or an XML FileName");
    for (const char* name : {"nothing", "\"*\"", "attrA"})
        expectRefused(save(std::string("-node ") + name + " -file " + file),
                      "Given Name doesnt lead to an Document or XML Node");
    expectRefused(save("-alldoc -file " + file), "Cant Export All DocumentNodes with One Filename");
    expectRefused(save("-node loose"), kMultiple);

    run("select -cl");
    expectRefused(save(""), "Please Select Nodes to Export");
    run("select -r attrA");
    takeOutput();
    expectRefused(save("-file " + file), "Please Select Nodes to Export");
    EXPECT_TRUE(inOrder(takeOutput(), {"FileName Raised", "Export Selected Raised", "1", "not in List"}));
    for (const char* selection : {"one two", "one loose"}) {
        run(std::string("select -r ") + selection);
        expectRefused(save("-file " + file), kMultiple);
    }
    run("select -r loose");
    expectRefused(save(""), kMultiple);
    EXPECT_EQ(entries(), Lines{});
}

// With a file name exactly one node, document or element, is written there;
// a second export to the same file replaces the first.
TEST_F(ExportCommandTest, OneNodeGoesToTheGivenFile)
{
    const std::string file = tempPath("out.xml");
    simpleDocument("doc", tempPath("doc.xml"), "root", {{"leaf", "5"}});
    takeOutput();
    expectSucceeded(save("-node doc -file " + quoted(file)));
    EXPECT_EQ(readFile(file), "\n<root>\n\n  <leaf>5</leaf>\n\n</root>");
    std::string output = takeOutput();
    EXPECT_TRUE(inOrder(output, {"FileName Raised", "Export Node Raised", "Do Export Called", "Exporting DocNodes #",
                                 "1", "Export Value", "5", "Do Export Finished"})) << output;

    expectSucceeded(save("-n doc_leaf -f " + quoted(file)));
    EXPECT_EQ(readFile(file), "\n<leaf>5</leaf>");
    run("select -r doc_root");
    expectSucceeded(save("-file " + quoted(file)));
    EXPECT_EQ(readFile(file), "\n<root>\n\n  <leaf>5</leaf>\n\n</root>");
    run("select -r doc");
    takeOutput();
    expectSucceeded(save("-file " + quoted(file)));
    EXPECT_TRUE(inOrder(takeOutput(), {"Export Selected Raised", "1", "docNode", "Do Export Called"}));
    EXPECT_EQ(entries(), Lines{"out.xml"});
}

// Without a file name each document goes to the file named by its document
// name: all of them (-alldoc) or the selected ones.
TEST_F(ExportCommandTest, DocumentsGoToTheirDocumentNames)
{
    simpleDocument("one", tempPath("one.xml"), "a", {{"x", "1"}});
    simpleDocument("two", tempPath("two.xml"), "b");
    attribute(element("loose", "loose"), "attrA", "1");
    takeOutput();
    expectSucceeded(save("-alldoc"));
    EXPECT_EQ(readFile(tempPath("one.xml")), "\n<a>\n\n  <x>1</x>\n\n</a>");
    EXPECT_EQ(readFile(tempPath("two.xml")), "\n<b/>");
    EXPECT_TRUE(inOrder(takeOutput(), {"Export All Raised", "getDocNodes", "Do Export Called", "Exporting DocNodes #",
                                       "2", "Do Export Finished"}));

    std::filesystem::remove(tempPath("one.xml"));
    std::filesystem::remove(tempPath("two.xml"));
    run("select -r two attrA one");
    expectSucceeded(save(""));
    EXPECT_EQ(entries(), (Lines{"one.xml", "two.xml"}));
    EXPECT_TRUE(inOrder(takeOutput(), {"Export Selected Raised", "3", "docNode", "not in List", "docNode",
                                       "Exporting DocNodes #", "2", "Do Export Finished"}));
}

// Host failures while the nodes are collected end in the refusal they lead to.
TEST_F(ExportCommandTest, HostFailuresWhileCollectingNodes)
{
    const std::string file = quoted(tempPath("out.xml"));
    simpleDocument("doc", tempPath("doc.xml"), "root");
    element("loose", "loose");

    dghost::fault::failCall("getFlagArgument", 1);
    expectRefused(save("-file " + file + " -node doc"), "Please provide Filename");
    run("select -r doc");
    dghost::fault::failCall("getActiveSelectionList", 1);
    expectRefused(save("-file " + file), "Please Select Nodes to Export");
    dghost::fault::failCall("getDependNode", 1, MS::kFailure, 10);
    expectRefused(save("-file " + file), "Please Select Nodes to Export");
    takeOutput();
    dghost::fault::failCall("executeCommand", 1);
    expectRefused(save("-alldoc"), "Error getting All Document Nodes, maybe there is none of them in this file");
    EXPECT_TRUE(inOrder(takeOutput(), {"getDocNodes", "Error Executing Command(kFailure): Unexpected Internal Failure"}));

    // The element's append to the node list is the run's last array append.
    dghost::fault::clear();
    save("-node loose");
    dghost::fault::failCall("arrayAppend", dghost::fault::calls("arrayAppend"));
    expectRefused(save("-node loose"), "Cannot Export Xml File, No Nodes to Export is selected");
    EXPECT_EQ(entries(), Lines{});
}

}  // namespace
