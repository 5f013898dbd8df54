// Child links: linking, listing, cutting, and the walks below an element or
// a document.

#include "tests/tree/TreeTest.h"

namespace {

using ChildrenTest = TreeTest;
using Links = std::vector<std::pair<int, std::string>>;

TEST_F(ChildrenTest, KindsAreCheckedBeforeAnyChange)
{
    const MObject parent = element("parent");
    const MObject child = element("child");
    MDGModifier modifier;
    for (const MObject& wrong : {document("doc"), attribute("attr", "v"), MObject()}) {
        EXPECT_EQ(addChild(wrong, child, modifier), MS::kInvalidParameter);
        EXPECT_EQ(addChild(parent, wrong, modifier), MS::kInvalidParameter);
    }
    EXPECT_FALSE(hasParentLink(child));
    EXPECT_TRUE(links(parent, "FromChild").empty());
    EXPECT_EQ(takeOutput(), "");
}

TEST_F(ChildrenTest, AChildWithAParentIsRefused)
{
    const MObject doc = document("doc");
    const MObject root = element("root");
    const MObject child = element("child");
    const MObject other = element("other");
    linkToDocument(doc, root);
    link(root, child);
    MDGModifier modifier;
    // The reason is the plug-in's own error line: a status carries no text
    // of the plug-in's on the real host.
    for (const MObject& linked : {root, child}) {
        EXPECT_EQ(addChild(other, linked, modifier), MS::kFailure);
        EXPECT_EQ(takeOutput(),
                  "Node has already a connection to Parent(kFailure): Unexpected Internal Failure\n");
    }
    EXPECT_TRUE(links(other, "FromChild").empty());
    EXPECT_EQ(links(root, "FromChild"), (Links{{0, "child"}}));
}

TEST_F(ChildrenTest, ALinkThatWouldMakeACycleIsRefused)
{
    const MObject a = element("a");
    const MObject b = element("b");
    const MObject c = element("c");
    link(a, b);
    link(b, c);
    MDGModifier modifier;
    for (const MObject& parent : {a, c}) {
        EXPECT_EQ(addChild(parent, a, modifier), MS::kFailure);
        EXPECT_EQ(takeOutput(), "Parent is the Node itself or one of its descendants(kFailure): "
                                "Unexpected Internal Failure\n");
    }
    EXPECT_FALSE(hasParentLink(a));
    MObjectArray below;
    EXPECT_EQ(getAllDescendants(a, below), MS::kSuccess);
    EXPECT_EQ(names(below), Names({"c", "b"}));
}

TEST_F(ChildrenTest, ChildrenTakeIndicesInLinkOrder)
{
    const MObject parent = element("parent");
    MObjectArray children(1, parent);  // cleared first
    EXPECT_EQ(getChildNodes(parent, children), MS::kSuccess);
    EXPECT_EQ(children.length(), 0u);
    EXPECT_EQ(takeOutput(), "geting the DependencyNode\nGEtting the PLug\n");

    for (const char* name : {"c0", "c1", "c2"})
        link(parent, element(name));
    EXPECT_EQ(links(parent, "FromChild"), (Links{{0, "c0"}, {1, "c1"}, {2, "c2"}}));
    EXPECT_EQ(getChildNodes(parent, children), MS::kSuccess);
    EXPECT_EQ(names(children), Names({"c0", "c1", "c2"}));
    EXPECT_EQ(takeOutput(), "geting the DependencyNode\nGEtting the PLug\nit is networked\n"
                            "is Array\n3\nparent.FromChild[0]\nparent.FromChild[1]\n"
                            "parent.FromChild[2]\n");

    MStringArray childNames;
    EXPECT_EQ(getChildNames(parent, childNames), MS::kSuccess);
    EXPECT_EQ(names(childNames), Names({"c0", "c1", "c2"}));
    bool isChild = false;
    EXPECT_EQ(isChildNamed(parent, "c1", isChild), MS::kSuccess);
    EXPECT_TRUE(isChild);
    EXPECT_EQ(isChildNamed(node("c1"), "c2", isChild), MS::kSuccess);
    EXPECT_FALSE(isChild);

    takeOutput();
    EXPECT_EQ(getChildNames(document("doc"), childNames), MS::kInvalidParameter);
    EXPECT_EQ(childNames.length(), 0u);
    EXPECT_EQ(takeOutput(), "Is no Valid Node\n");
}

TEST_F(ChildrenTest, RemovingANonChildChangesNothing)
{
    const MObject parent = element("parent");
    const MObject stranger = element("stranger");
    MDGModifier modifier;
    EXPECT_EQ(removeChild(parent, modifier, "stranger"), MS::kInvalidParameter);
    EXPECT_EQ(takeOutput(), "Name is not Networked\n");

    link(parent, element("child"));
    link(element("elsewhere"), stranger);
    const unsigned int doItsBefore = dghost::fault::calls("doIt");
    EXPECT_EQ(removeChild(parent, modifier, "stranger"), MS::kInvalidParameter);
    EXPECT_EQ(dghost::fault::calls("doIt"), doItsBefore);
    EXPECT_EQ(takeOutput(), "plug is Array\nparent.FromChild[0]\nchild.2Parent\n");
    const MObject doc = document("doc");
    EXPECT_EQ(removeChild(parent, modifier, "nosuchnode"), MS::kInvalidParameter);
    EXPECT_EQ(removeChild(doc, modifier, "child"), MS::kInvalidParameter);
    EXPECT_EQ(takeOutput(), "Is Not a valid NodeName\nIs Not a valid Node\n");
    EXPECT_EQ(links(parent, "FromChild"), (Links{{0, "child"}}));
    EXPECT_TRUE(hasParentLink(stranger));
}

TEST_F(ChildrenTest, RemovedChildrenCanBeLinkedElsewhere)
{
    const MObject parent = element("parent");
    MDGModifier modifier;
    EXPECT_EQ(removeAllChildren(parent, modifier), MS::kSuccess);  // none: nothing queued

    for (const char* name : {"c0", "c1", "c2"})
        link(parent, element(name));
    EXPECT_EQ(removeChild(parent, modifier, "c1"), MS::kSuccess);
    EXPECT_FALSE(hasParentLink(node("c1")));
    EXPECT_EQ(links(parent, "FromChild"), (Links{{0, "c0"}, {2, "c2"}}));
    link(node("c2"), node("c1"));

    EXPECT_EQ(removeAllChildren(parent, modifier), MS::kSuccess);
    EXPECT_TRUE(links(parent, "FromChild").empty());
    EXPECT_FALSE(hasParentLink(node("c0")));
    EXPECT_EQ(links(node("c2"), "FromChild"), (Links{{0, "c1"}}));
}

// E has children A (with child A1) and B; a document holds E.
class DescendantsTest : public TreeTest
{
protected:
    void SetUp() override
    {
        TreeTest::SetUp();
        doc = document("doc");
        e = element("E");
        linkToDocument(doc, e);
        const MObject a = element("A");
        link(e, a);
        link(a, element("A1"));
        link(e, element("B"));
    }

    MObject doc, e;
};

TEST_F(DescendantsTest, WalksArePostOrderAndAppend)
{
    MObjectArray below(1, doc);
    EXPECT_EQ(getAllDescendants(e, below), MS::kSuccess);
    EXPECT_EQ(names(below), Names({"doc", "A1", "A", "B"}));
    EXPECT_EQ(getAllDescendants(node("B"), below), MS::kSuccess);  // a leaf adds nothing
    EXPECT_EQ(below.length(), 4u);

    below.clear();
    EXPECT_EQ(getAllDocumentDescendants(doc, below), MS::kSuccess);
    EXPECT_EQ(names(below), Names({"A1", "A", "B", "E"}));
    EXPECT_EQ(getAllDescendants(doc, below), MS::kInvalidParameter);
    EXPECT_EQ(getAllDocumentDescendants(e, below), MS::kInvalidParameter);
    EXPECT_EQ(below.length(), 4u);
}

TEST_F(DescendantsTest, WalksReadEachElementOnceInTreeOrder)
{
    takeOutput();
    MObjectArray below;
    getAllDescendants(e, below);
    const std::string listing = takeOutput();
    const std::string heads = "geting the DependencyNode\nGEtting the PLug\n";
    EXPECT_EQ(listing, heads + "it is networked\nis Array\n2\nE.FromChild[0]\nE.FromChild[1]\n" +
                           heads + "it is networked\nis Array\n1\nA.FromChild[0]\n" + heads +
                           heads);
}

TEST_F(ChildrenTest, DeepTreesAreWalkedWithoutRecursion)
{
    const int depth = 100000;
    const MObject top = element("n0");
    MObject last = top;
    for (int i = 1; i < depth; ++i) {
        const MObject next = element(("n" + std::to_string(i)).c_str());
        link(last, next);
        last = next;
    }
    MDGModifier modifier;
    EXPECT_EQ(addChild(last, top, modifier), MS::kFailure);  // the cycle check walks it too
    const MObject doc = document("doc");
    linkToDocument(doc, top);

    MObjectArray below;
    EXPECT_EQ(getAllDescendants(top, below), MS::kSuccess);
    ASSERT_EQ(below.length(), static_cast<unsigned int>(depth - 1));
    EXPECT_EQ(below[0], last);
    EXPECT_EQ(nameOf(below[depth - 2]), "n1");
    below.clear();
    EXPECT_EQ(getAllDocumentDescendants(doc, below), MS::kSuccess);
    ASSERT_EQ(below.length(), static_cast<unsigned int>(depth));
    EXPECT_EQ(below[depth - 1], top);
    takeOutput();
}

// Children at 0, 1, 2; the middle link is cut and the scene saved and
// opened again, which drops the unconnected element 1.
TEST_F(ChildrenTest, ChildrenSurviveAGapAfterReopening)
{
    const MObject parent = element("parent");
    for (const char* name : {"c0", "c1", "c2"})
        link(parent, element(name));
    MDGModifier modifier;
    ASSERT_EQ(removeChild(parent, modifier, "c1"), MS::kSuccess);
    saveAndReopen();

    MStringArray childNames;
    EXPECT_EQ(getChildNames(node("parent"), childNames), MS::kSuccess);
    EXPECT_EQ(names(childNames), Names({"c0", "c2"}));
    EXPECT_EQ(addChild(node("parent"), node("c1"), modifier), MS::kSuccess);
    EXPECT_EQ(links(node("parent"), "FromChild"), (Links{{0, "c0"}, {2, "c2"}, {3, "c1"}}));
    MObjectArray below;
    EXPECT_EQ(getAllDescendants(node("parent"), below), MS::kSuccess);
    EXPECT_EQ(names(below), Names({"c0", "c2", "c1"}));
}

TEST_F(ChildrenTest, FailedLinkStepsAreLoggedAndDoItDecides)
{
    const MObject parent = element("parent");
    MDGModifier modifier;
    dghost::fault::failCall("findPlug", 2);  // the parent's, after the child's
    dghost::fault::failCall("connect", 1);
    dghost::fault::failCall("doIt", 1);
    EXPECT_EQ(addChild(parent, element("c0"), modifier), MS::kFailure);
    EXPECT_EQ(takeOutput(),
              "Error getting XMLElementNode toChildren Connector(kFailure): Unexpected Internal "
              "Failure\n"
              "Error getting XMLElementNode toChildren Connector ArrayElement(kInvalidParameter): "
              "Object is incompatible with this method\n"
              "Error Connect Nodes(kFailure): Unexpected Internal Failure\n"
              "Error doIt Connect Nodes(kFailure): Unexpected Internal Failure\n");

    dghost::fault::failCall("elementByLogicalIndex", 1);
    EXPECT_EQ(addChild(parent, node("c0"), modifier), MS::kInvalidParameter);
    EXPECT_EQ(takeOutput(),
              "Error getting XMLElementNode toChildren Connector ArrayElement(kFailure): "
              "Unexpected Internal Failure\n"
              "Error Connect Nodes(kInvalidParameter): Object is incompatible with this method\n");
    EXPECT_FALSE(hasParentLink(node("c0")));
}

TEST_F(ChildrenTest, FailedCutStepsAreLoggedAndTheRestGoesOn)
{
    const MObject parent = element("parent");
    for (const char* name : {"c0", "c1"})
        link(parent, element(name));
    MDGModifier modifier;
    dghost::fault::failCall("elementByLogicalIndex", 1);
    EXPECT_EQ(removeChild(parent, modifier, "c1"), MS::kSuccess);
    EXPECT_EQ(takeOutput(), "plug is Array\n"
                            "Error Get Connection by Phys IDX(kFailure): Unexpected Internal Failure\n"
                            "\n"
                            "parent.FromChild[1]\nc1.2Parent\n");
    EXPECT_FALSE(hasParentLink(node("c1")));

    // The lookup of c0 reads an empty selection: c0 is then no valid name.
    link(parent, node("c1"));
    dghost::fault::failCall("getActiveSelectionList", 2);
    EXPECT_EQ(removeAllChildren(parent, modifier), MS::kSuccess);
    const std::string listing = takeOutput();
    EXPECT_NE(listing.find("Is Not a valid NodeName\n"
                           "Error Removing Child(kInvalidParameter): Object is incompatible with "
                           "this method\n"),
              std::string::npos);
    EXPECT_EQ(links(parent, "FromChild"), (Links{{0, "c0"}}));
}

}  // namespace
