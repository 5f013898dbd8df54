// XmlFind in its three search modes with its filters, and XmlAttribute,
// which accepts its syntax and does nothing.

#include "CommandTest.h"

using dghost::CommandOutcome;

namespace {

const char* const kNothingToSearch = "Please select node(s) to Search in ";

class XmlFindTest : public CommandTest
{
protected:
    // doc1 > r1 > (a > a1, b); doc2 > r2 > c; e is linked nowhere.
    void SetUp() override
    {
        CommandTest::SetUp();
        document("doc1");
        element("r1", "root");
        element("a", "item", "x");
        element("a1", "leaf", "x");
        element("b", "item", "y");
        document("doc2");
        element("r2", "root");
        element("c", "item", "x");
        element("e", "item", "x ");
        linkTop("r1", "doc1", 0);
        linkChild("a", "r1", 0);
        linkChild("a1", "a", 0);
        linkChild("b", "r1", 1);
        linkTop("r2", "doc2", 0);
        linkChild("c", "r2", 0);
    }

    // The names found, or {"<false>"} for the boolean false result.
    Strings found(const std::string& selection, const std::string& statement)
    {
        CommandOutcome out = runOn(selection, statement);
        EXPECT_EQ(out.status, MS::kSuccess) << statement;
        if (out.kind == CommandOutcome::Kind::Bool && !out.boolValue) {
            return {"<false>"};
        }
        EXPECT_EQ(out.kind, CommandOutcome::Kind::StringArray) << statement;
        return out.strings;
    }

    const Strings no{"<false>"};
};

// ---- all elements of the scene ------------------------------------------

TEST_F(XmlFindTest, AllModeFiltersByExactNameOrValue)
{
    EXPECT_EQ(found("", "XmlFind -n item"), (Strings{"a", "b", "c", "e"}));
    EXPECT_TRUE(contains(takeOutput(), "in All Flag Raised\n"));
    EXPECT_EQ(found("", "XmlFind -v x"), (Strings{"a", "a1", "c"}));
    EXPECT_EQ(found("", "XmlFind -v \"x \""), Strings{"e"});
    EXPECT_EQ(found("", "XmlFind -n Item"), no);
    EXPECT_EQ(found("doc2", "XmlFind -name leaf"), Strings{"a1"});
}

TEST_F(XmlFindTest, WithBothFiltersTheValueDecides)
{
    EXPECT_EQ(found("", "XmlFind -n item -v y"), Strings{"b"});
    EXPECT_EQ(found("", "XmlFind -n leaf -v y"), Strings{"b"});
}

TEST_F(XmlFindTest, WithoutFiltersTheResultIsFalse)
{
    EXPECT_EQ(found("", "XmlFind"), no);
    EXPECT_EQ(found("a", "XmlFind -s"), no);
}

TEST_F(XmlFindTest, AttributeFlagsChangeNothing)
{
    EXPECT_EQ(found("", "XmlFind -an item -av x"), no);
    EXPECT_EQ(found("", "XmlFind -n item -an zzz -attributevalue zzz"), (Strings{"a", "b", "c", "e"}));
}

TEST_F(XmlFindTest, EmptySceneHasNothingToSearch)
{
    dghost::newScene();
    CommandOutcome empty = run("XmlFind -n item");
    EXPECT_EQ(empty.status, MS::kInvalidParameter);
    EXPECT_EQ(empty.errors, Strings{kNothingToSearch});
    must("createNode XmlDocument -n lonely");
    CommandOutcome out = run("XmlFind");
    EXPECT_EQ(out.status, MS::kInvalidParameter);
    EXPECT_EQ(out.errors, Strings{kNothingToSearch});
    EXPECT_EQ(out.kind, CommandOutcome::Kind::None);
}

// ---- selected elements ---------------------------------------------------

TEST_F(XmlFindTest, SelectedModeSearchesTheSelectedElementsOnly)
{
    EXPECT_EQ(found("e doc1 r1 a", "XmlFind -s -n item"), (Strings{"e", "a"}));
    EXPECT_TRUE(contains(takeOutput(), "in Selected Flag Raised\n"));

    CommandOutcome documentOnly = runOn("doc1", "XmlFind -selected -n item");
    EXPECT_EQ(documentOnly.status, MS::kInvalidParameter);
    EXPECT_EQ(documentOnly.errors, Strings{kNothingToSearch});
}

// ---- below the selection -------------------------------------------------

TEST_F(XmlFindTest, ChildrenModeSearchesBelowDocumentsAndElements)
{
    EXPECT_EQ(found("doc1", "XmlFind -c -n item"), (Strings{"a", "b"}));
    EXPECT_TRUE(contains(takeOutput(), "inChilds Flag Raised\n"));
    EXPECT_EQ(found("doc1", "XmlFind -c -n root"), Strings{"r1"});
    EXPECT_EQ(found("a", "XmlFind -c -n item"), no);
    EXPECT_EQ(found("a", "XmlFind -childs -n leaf"), Strings{"a1"});
    EXPECT_EQ(found("doc1", "XmlFind -c -s -n item"), (Strings{"a", "b"}));

    CommandOutcome leaf = runOn("a1", "XmlFind -c -n leaf");
    EXPECT_EQ(leaf.status, MS::kInvalidParameter);
    EXPECT_EQ(leaf.errors, Strings{kNothingToSearch});
}

TEST_F(XmlFindTest, ChildrenModeNamesANodeBelowTwoSelectedNodesTwice)
{
    // Candidates: a1 a b (below r1), then a1 (below a); post-order.
    EXPECT_EQ(found("r1 a", "XmlFind -c -v x"), (Strings{"a1", "a", "a1"}));
    EXPECT_EQ(found("doc2 doc1", "XmlFind -c -v x"), (Strings{"c", "a1", "a"}));
}

TEST_F(XmlFindTest, SearchLeavesTheSelectionAsItWas)
{
    must("select -r b doc2 a");
    Strings before = must("ls -sl").strings;
    run("XmlFind -n item");
    run("XmlFind -c -n item");
    EXPECT_EQ(must("ls -sl").strings, before);
}

TEST_F(XmlFindTest, HelpWinsOverEveryOtherFlag)
{
    CommandOutcome out = runOn("doc1", "XmlFind -h -c -n item");
    EXPECT_EQ(out.status, MS::kSuccess);
    EXPECT_EQ(out.text,
              "XmlFind a Part of Dendrine\n"
              "Use this Command to find special Nodes in the XML Data structures in the actual Maya Scene \n"
              "Flags:\n\t -h / -help \t: displays this text \n"
              "\t -n / -name \t: find a XML Element with provided Node Name\n"
              " \t -v / -value\t: find a XML Element with provided Node Value\n"
              " \t -c / -children \t: Use this Flag to search in the Children of the actual selected Node\n"
              "\t -an / -attributeName \t: finds a Attribute with provided Name (unused)\n"
              "\t -av / -attributeValue \t: finds a Attribute with provided Value (unused)");
    EXPECT_EQ(takeOutput(), "");
}

// ---- XmlAttribute --------------------------------------------------------

TEST_F(XmlFindTest, XmlAttributeAcceptsEveryModeAndDoesNothing)
{
    attributeNode("id", "id", "7");
    must("select -r a id");
    Strings nodes = must("ls -dep").strings;
    Strings selection = must("ls -sl").strings;
    takeOutput();
    for (const char* statement :
         {"XmlAttribute", "XmlAttribute -h", "XmlAttribute -help", "XmlAttribute -n id -xn name -xv value",
          "XmlAttribute -name id -xmlname n -xmlvalue v", "XmlAttribute -e -xn other -xv 8",
          "XmlAttribute -q -xn", "XmlAttribute -q -n -xv", "XmlAttribute -edit -n renamed"}) {
        CommandOutcome out = run(statement);
        EXPECT_EQ(out.status, MS::kSuccess) << statement;
        EXPECT_EQ(out.kind, CommandOutcome::Kind::None) << statement;
        EXPECT_TRUE(out.errors.empty()) << statement;
    }
    EXPECT_EQ(takeOutput(), "");
    EXPECT_EQ(must("ls -dep").strings, nodes);
    EXPECT_EQ(must("ls -sl").strings, selection);
    EXPECT_EQ(getAttr("id.Name"), "id");
    EXPECT_EQ(getAttr("id.Value"), "7");
}

}  // namespace
