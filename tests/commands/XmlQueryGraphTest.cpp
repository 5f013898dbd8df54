// XmlQuery on scenes linked by hand (loops, an element in two places, an
// attribute node shared by two elements, trees in no document), its refusals
// with their messages, host failures, and that it leaves the scene and the
// selection as they were.

#include "XmlQueryTest.h"

#include "commands/QueryView.h"

#include <dghost/Fault.h>

using dghost::CommandOutcome;

namespace {

class XmlQueryGraphTest : public XmlQueryTest
{
protected:
    // doc > r > (a[@k] > leaf, b)
    void SetUp() override
    {
        XmlQueryTest::SetUp();
        document("doc");
        element("r", "root");
        element("a", "item", "x");
        element("leaf", "leaf", "7");
        element("b", "item", "y");
        attributeNode("k", "key", "1");
        linkTop("r", "doc", 0);
        linkChild("a", "r", 0);
        linkChild("leaf", "a", 0);
        linkChild("b", "r", 1);
        linkAttribute("k", "a", 0);
    }

    // The one error of a query that must fail, run with `selection` selected.
    std::string refusal(const std::string& selection, const std::string& path, bool selected = false)
    {
        must(selection.empty() ? "select -cl" : "select -r " + selection);
        return failureOf(std::string("XmlQuery ") + (selected ? "-s " : "") + "-p " + quoted(path));
    }

    // The one error of a statement that must fail and set no result.
    std::string failureOf(const std::string& statement)
    {
        CommandOutcome out = run(statement);
        EXPECT_NE(out.status, MS::kSuccess) << statement;
        EXPECT_EQ(out.kind, CommandOutcome::Kind::None) << statement;
        return out.errors.size() == 1 ? out.errors[0] : "errors: " + join(out.errors, " | ");
    }

    Strings names(const std::string& selection, const std::string& statement)
    {
        CommandOutcome out = runOn(selection, statement);
        EXPECT_EQ(out.status, MS::kSuccess) << statement << join(out.errors, " | ");
        EXPECT_EQ(out.kind, CommandOutcome::Kind::StringArray) << statement;
        return out.strings;
    }
};

TEST_F(XmlQueryGraphTest, LeafTextOnlyAndDocumentsAsRoots)
{
    // a has a child, so its own XmlValue "x" is no text of it.
    EXPECT_EQ(names("", "XmlQuery -p \"//item[. = 'x']\""), Strings{});
    EXPECT_EQ(names("", "XmlQuery -p \"//item[. = '7']\""), Strings{"a"});
    EXPECT_EQ(names("", "XmlQuery -p \"//item[. = 'y']\""), Strings{"b"});
    EXPECT_EQ(names("", "XmlQuery -p \"/\""), Strings{"doc"});
    EXPECT_EQ(names("", "XmlQuery -p \"//@key | //leaf | /root\""), (Strings{"r", "k", "leaf"}));
    // An attribute node linked to two elements is named once.
    linkAttribute("k", "b", 0);
    EXPECT_EQ(names("", "XmlQuery -p \"//item/@key\""), Strings{"k"});
    EXPECT_EQ(must("XmlQuery -p \"count(//@key)\"").doubleValue, 2.0);
    // An empty document is searched too, and answers nothing.
    document("empty");
    EXPECT_EQ(names("", "XmlQuery -p \"//root\""), Strings{"r"});
}

TEST_F(XmlQueryGraphTest, SelectedContextsAnswerInDocumentOrderOnce)
{
    document("doc2");
    element("r2", "root");
    linkTop("r2", "doc2", 0);
    EXPECT_EQ(names("b a", "XmlQuery -s -p \"self::* | following-sibling::*\""), (Strings{"a", "b"}));
    EXPECT_EQ(names("r2 b", "XmlQuery -s -p \"/root\""), (Strings{"r2", "r"}));
    EXPECT_EQ(names("doc", "XmlQuery -selected -path \"//leaf\""), Strings{"leaf"});
    // A tree in no document: its top element is the only child of the root.
    element("loose", "loose");
    element("inner", "inner", "3");
    linkChild("inner", "loose", 0);
    EXPECT_EQ(names("inner", "XmlQuery -s -p \"/loose/inner[. = 3]\""), Strings{"inner"});
    EXPECT_TRUE(contains(refusal("inner", "/", true), "root of a tree that hangs below no document"));
    // Without -s only documents are searched.
    EXPECT_EQ(names("", "XmlQuery -p \"//inner\""), Strings{});
}

TEST_F(XmlQueryGraphTest, RefusalsNameTheirReason)
{
    EXPECT_EQ(refusal("", "//item["), "Malformed path \"//item[\" at its end (character 8): Unrecognized node test");
    EXPECT_EQ(refusal("", "//item[@key = ]"),
              "Malformed path \"//item[@key = ]\" at character 15 (\"]\"): Unrecognized node test");
    EXPECT_EQ(refusal("", "count(frob(//item)) + 1"),
              "Malformed path \"count(frob(//item)) + 1\" at character 19 (\") + 1\"): unknown function "
              "frob(), or wrong number of arguments for it");
    // Characters, not bytes, count; the excerpt is not cut inside one.
    EXPECT_EQ(refusal("", "//item[@größe = ]/x"),
              "Malformed path \"//item[@größe = ]/x\" at character 17 (\"]/x\"): Unrecognized node test");
    EXPECT_EQ(refusal("", "//item[@k = ]/xééééééééééé"), "Malformed path \"//item[@k = ]/xééééééééééé\" at "
              "character 13 (\"]/xééééééééé\"): Unrecognized node test");
    EXPECT_TRUE(contains(refusal("", "$limit"), "at character 1 (\"$limit\"): Unknown variable"));
    EXPECT_EQ(refusal("", ""), "Please give the XPath to search for with -p");
    EXPECT_EQ(errors(run("XmlQuery -s")), Strings{"Please give the XPath to search for with -p"});
    EXPECT_EQ(refusal("", "//leaf/text()"),
              "The path selects text, which is no scene node: select its element, or ask for the text "
              "with string()");
    EXPECT_EQ(refusal("k", "//item", true), "Please select the XML documents or elements to search from");
    EXPECT_EQ(refusal("a b", "count(*)", true),
              "The path gives one value per context node and there are 2: select one document or "
              "element and use -s");
    EXPECT_EQ(runOn("a", "XmlQuery -s -p \"count(*)\"").doubleValue, 1.0);
    EXPECT_EQ(must("XmlQuery -h").kind, CommandOutcome::Kind::String);
}

TEST_F(XmlQueryGraphTest, EmptySceneIsRefused)
{
    must("delete doc");
    EXPECT_EQ(refusal("", "//item"), "The scene holds no XML documents to search");
    EXPECT_EQ(refusal("", "1 + 1"), "The scene holds no XML documents to search");
    // A malformed path is reported before the scene is looked at.
    EXPECT_TRUE(contains(refusal("", "//item["), "Malformed path"));
}

TEST_F(XmlQueryGraphTest, LoopsAndSecondPlacesEndWithTheirElement)
{
    // b becomes a child of leaf as well: b is in two places.
    linkChild("b", "leaf", 0);
    EXPECT_EQ(refusal("", "//item"), "Element 'b' is linked in more than one place");
    EXPECT_EQ(refusal("b", "..", true), "Element 'b' is linked in more than one place");
    must("disconnectAttr b.ToParent leaf.FromChildren[0]");
    // a becomes a child of its own child leaf: a loop below the document.
    linkChild("a", "leaf", 0);
    EXPECT_EQ(refusal("", "//item"), "Element 'a' is linked below itself (a loop of links)");
    must("disconnectAttr a.ToParent r.FromChildren[0]");
    EXPECT_EQ(refusal("a", "//leaf", true), "Element 'a' is linked below itself (a loop of links)");
    // The loop a > leaf > a now hangs below no document: without -s it is
    // never reached.
    EXPECT_EQ(names("", "XmlQuery -p \"//item\""), Strings{"b"});
    // An element that is its own child, reached from a document.
    element("self", "self");
    linkChild("self", "b", 0);
    linkChild("self", "self", 0);
    EXPECT_EQ(refusal("", "//self"), "Element 'self' is linked below itself (a loop of links)");
}

TEST_F(XmlQueryGraphTest, SceneAndSelectionStayAsTheyWere)
{
    const std::string selection = "b k doc";
    must("select -r " + selection);
    const Strings before = must("ls").strings;
    dghost::fault::clear();
    for (const char* statement : {"XmlQuery -p \"//item\"", "XmlQuery -s -p \"..\"", "XmlQuery -p \"count(//@*)\"",
                                  "XmlQuery -p \"//item[\"", "XmlQuery -s -p \"/root/item[2]\""}) {
        run(statement);
        EXPECT_EQ(must("ls -sl").strings, (Strings{"b", "k", "doc"})) << statement;
    }
    for (const char* write : {"setValue", "connect", "disconnect", "createNode", "deleteNode", "doIt"})
        EXPECT_EQ(dghost::fault::calls(write), 0u) << write;
    EXPECT_EQ(must("ls").strings, before);
}

TEST_F(XmlQueryGraphTest, HostFailuresFailTheQuery)
{
    dghost::fault::failCall("executeCommand", 1);
    EXPECT_TRUE(contains(failureOf("XmlQuery -p \"//item\""), "Cannot list the scene's XML documents: "));
    dghost::fault::clear();
    // The third read is that of k's name (after the XML names of r and a).
    dghost::fault::failCall("getValue", 3);
    EXPECT_TRUE(contains(failureOf("XmlQuery -p \"//item\""), "Could not read the name and value of 'k': "));
    must("select -r b");
    dghost::fault::clear();
    dghost::fault::failCall("name", 1);
    EXPECT_EQ(failureOf("XmlQuery -s -p \"..\""), "Could not name a node of the scene's XML trees");
    dghost::fault::clear();
}

}  // namespace

// The view maps its copies back to scene nodes asked for in any order: in
// document order, backwards, after a text node (which maps to nothing), and
// an attribute linked to two elements from both of its copies.
TEST_F(XmlQueryGraphTest, ViewCopiesMapBackInAnyOrder)
{
    linkAttribute("k", "b", 0);
    QueryView view;
    pugi::xml_node root;
    ASSERT_EQ(view.addTree(node("doc"), root), MS::kSuccess);
    pugi::xpath_node_set all = root.select_nodes("//* | //@*");
    all.sort();  // a union comes in no particular order
    auto nameOf = [&view](const pugi::xpath_node& copy) {
        const MObject scene = view.sceneNodeOf(copy);
        return scene.isNull() ? std::string("(none)") : std::string(MFnDependencyNode(scene).name().asChar());
    };
    Strings inOrder;
    for (const pugi::xpath_node& copy : all)
        inOrder.push_back(nameOf(copy));
    EXPECT_EQ(inOrder, (Strings{"r", "a", "k", "leaf", "b", "k"}));
    for (std::size_t i = all.size(); i-- > 0;)
        EXPECT_EQ(nameOf(all[i]), inOrder[i]) << i;
    EXPECT_EQ(nameOf(root.select_node("//leaf/text()")), "(none)");
    EXPECT_EQ(nameOf(all[3]), "leaf");
    EXPECT_EQ(nameOf(all[4]), "b");
    EXPECT_EQ(nameOf(pugi::xpath_node(root)), "doc");
}
