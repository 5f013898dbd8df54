// Kind tests, lookups by host node name, the selection guard and the
// listings of all element and document nodes.

#include "tests/tree/TreeTest.h"

namespace {

using LookupTest = TreeTest;

// The names line a listing writes for the scene as "ls -dep" sees it.
std::string namesLine(const std::vector<std::string>& sceneNames)
{
    std::string line = "[ ";
    for (const std::string& name : sceneNames)
        line += name + ", ";
    return line + " ]\n";
}

TEST_F(LookupTest, KindsAreToldApartByTypeIdAlone)
{
    const MObject doc = document("doc");
    const MObject el = element("el");
    const MObject attr = attribute("attr", "v");
    const MObject none;
    EXPECT_TRUE(isDocumentNode(doc));
    EXPECT_FALSE(isElementNode(doc));
    EXPECT_FALSE(isAttributeNode(doc));
    EXPECT_TRUE(isElementNode(el));
    EXPECT_FALSE(isDocumentNode(el));
    EXPECT_TRUE(isAttributeNode(attr));
    EXPECT_FALSE(isElementNode(attr));
    EXPECT_FALSE(isElementNode(none) || isDocumentNode(none) || isAttributeNode(none));
    EXPECT_EQ(takeOutput(), "");
}

TEST_F(LookupTest, LookupsAnswerForTheirKindOnly)
{
    const MObject doc = document("doc");
    const MObject el = element("el");
    MObject found;
    EXPECT_TRUE(findElementNodeByName("el", found));
    EXPECT_EQ(found, el);
    EXPECT_TRUE(findDocumentNodeByName("doc", found));
    EXPECT_EQ(found, doc);

    // Exactly one node of another kind: false, yet the node is handed out.
    found = MObject();
    EXPECT_FALSE(findElementNodeByName("doc", found));
    EXPECT_EQ(found, doc);
    EXPECT_FALSE(findAttributeNodeByName("el", found));
    EXPECT_EQ(found, el);

    // No match, or two matches: false and the out-parameter untouched.
    const MObject sentinel = element("other");
    element("item1");
    element("item2");
    found = sentinel;
    EXPECT_FALSE(findElementNodeByName("item*", found));
    EXPECT_EQ(found, sentinel);
    EXPECT_FALSE(findElementNodeByName("nosuchnode", found));
    EXPECT_EQ(found, sentinel);
    EXPECT_EQ(takeOutput(), "");
}

TEST_F(LookupTest, LookupsGiveTheSelectionBack)
{
    element("a");
    element("b");
    element("c");
    MObject found;
    for (const Names& before : {Names{}, Names{"c", "a"}}) {
        select(before);
        findElementNodeByName("b", found);
        EXPECT_EQ(selection(), before);
        findElementNodeByName("nosuchnode", found);  // a replace that empties the selection
        EXPECT_EQ(selection(), before);
        findElementNodeByName("*", found);
        EXPECT_EQ(selection(), before);
    }
}

TEST_F(LookupTest, NestedSavesEachRestoreTheirOwnSelection)
{
    element("a");
    element("b");
    element("c");
    select({"a"});
    saveActiveSelection();
    select({"b", "c"});
    saveActiveSelection();
    select({"c"});
    saveActiveSelection();
    MGlobal::clearSelectionList();
    restoreActiveSelection();
    EXPECT_EQ(selection(), Names({"c"}));
    restoreActiveSelection();
    EXPECT_EQ(selection(), Names({"b", "c"}));
    restoreActiveSelection();
    EXPECT_EQ(selection(), Names({"a"}));
}

TEST_F(LookupTest, ListingsFindTheirKindInSceneOrderAndKeepTheSelection)
{
    const MObject doc = document("doc");
    element("e1");
    attribute("attr", "v");
    element("e2");
    select({"e2", "doc"});
    takeOutput();
    const auto scene = run("ls -dep").strings;

    MObjectArray nodes(2, doc);  // cleared first
    EXPECT_EQ(listAllElementNodes(nodes), MS::kSuccess);
    EXPECT_EQ(names(nodes), Names({"e1", "e2"}));
    EXPECT_EQ(selection(), Names({"e2", "doc"}));
    EXPECT_EQ(takeOutput(), namesLine(scene));

    EXPECT_EQ(listAllDocumentNodes(nodes), MS::kSuccess);
    EXPECT_EQ(names(nodes), Names({"doc"}));
    EXPECT_EQ(selection(), Names({"e2", "doc"}));
}

TEST_F(LookupTest, ListingOfAManyNodeSceneKeepsTheSelection)
{
    for (int i = 0; i < 10000; ++i)
        element(("n" + std::to_string(i)).c_str());
    select({"n9999", "n17", "n0"});
    MObjectArray nodes;
    EXPECT_EQ(listAllElementNodes(nodes), MS::kSuccess);
    ASSERT_EQ(nodes.length(), 10000u);
    EXPECT_EQ(nameOf(nodes[9999]), "n9999");
    EXPECT_EQ(selection(), Names({"n9999", "n17", "n0"}));
    MObject found;
    EXPECT_TRUE(findElementNodeByName("n5000", found));
    EXPECT_EQ(selection(), Names({"n9999", "n17", "n0"}));
}

TEST_F(LookupTest, ListingWithoutXmlNodesIsEmptyButStillNamesTheScene)
{
    run("createNode network -n \"plain\"");
    takeOutput();
    const auto scene = run("ls -dep").strings;
    MObjectArray nodes;
    EXPECT_EQ(listAllElementNodes(nodes), MS::kSuccess);
    EXPECT_EQ(nodes.length(), 0u);
    EXPECT_EQ(takeOutput(), namesLine(scene));
}

TEST_F(LookupTest, FailedListingCommandIsLoggedAndListsNothing)
{
    element("e1");
    select({"e1"});
    takeOutput();
    dghost::fault::failCall("executeCommand", 1);
    MObjectArray nodes;
    EXPECT_EQ(listAllElementNodes(nodes), MS::kSuccess);
    EXPECT_EQ(nodes.length(), 0u);
    EXPECT_EQ(takeOutput(),
              "Error Executing Command(kFailure): Unexpected Internal Failure\n"
              "[  ]\n");
    EXPECT_EQ(selection(), Names({"e1"}));
}

TEST_F(LookupTest, NodeNamesAreAppendedAndUnattachableObjectsSkipped)
{
    const MObject a = element("a");
    const MObject b = element("b");
    MStringArray result;
    result.append("kept");
    MObjectArray nodes;
    nodes.append(a);
    nodes.append(MObject());
    nodes.append(b);
    EXPECT_EQ(getNodeNames(nodes, result), MS::kSuccess);
    EXPECT_EQ(names(result), Names({"kept", "a", "b"}));
}

}  // namespace
