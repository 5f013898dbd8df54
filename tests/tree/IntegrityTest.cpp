// What keeps a tree a tree: one parent per element, walks that end on any
// graph, lookups that never answer from the selection, link indices that
// never wrap, and edits that report what the host refused.

#include "tests/tree/TreeTest.h"

#include "tree/Parents.h"
#include "tree/Walk.h"

namespace {

using Links = std::vector<std::pair<int, std::string>>;

const std::string kFailureText = "(kFailure): Unexpected Internal Failure";
const unsigned int kTopIndex = 2147483647u;

class IntegrityTest : public TreeTest
{
protected:
    // A link made as connectAttr makes it, past every check of the library.
    static void connectByHand(const MObject& lower, const char* lowerPlug, const MObject& upper,
                              const char* upperArray, unsigned int index)
    {
        MFnDependencyNode lowerFn(lower);
        MFnDependencyNode upperFn(upper);
        MDGModifier modifier;
        modifier.connect(lowerFn.findPlug(lowerPlug, false),
                         upperFn.findPlug(upperArray, false).elementByLogicalIndex(index));
        ASSERT_EQ(modifier.doIt(), MS::kSuccess);
    }

    static void childByHand(const MObject& child, const MObject& parent, unsigned int index)
    {
        connectByHand(child, "2Parent", parent, "FromChild", index);
    }
};

TEST_F(IntegrityTest, ASecondParentIsRefusedWhateverTheParent)
{
    const MObject doc = document("doc");
    const MObject other = document("other");
    const MObject top = element("top");
    const MObject child = element("child");
    linkToDocument(doc, top);
    link(top, child);

    MDGModifier modifier;
    for (const MObject& linked : {top, child}) {
        EXPECT_EQ(addElementToDocument(other, linked, modifier), MS::kFailure);
        EXPECT_TRUE(contains(takeOutput(), "Node has already a connection to Parent" + kFailureText + "\n"));
    }
    EXPECT_TRUE(links(other, "DocElements").empty());
    EXPECT_EQ(addChild(child, top, modifier), MS::kFailure);  // a document's top element too
    takeOutput();
    MObjectArray parents;
    EXPECT_EQ(getParentNodes(child, parents), MS::kSuccess);
    EXPECT_EQ(names(parents), Names({"top"}));
    takeOutput();
}

// a -> b -> a, made by hand; c hangs below b.
class LoopTest : public IntegrityTest
{
protected:
    void SetUp() override
    {
        IntegrityTest::SetUp();
        doc = document("doc");
        a = element("a");
        b = element("b");
        linkToDocument(doc, a);
        link(a, b);
        link(b, element("c"));
        // b takes a as its child: a now has two parents, doc and b.
        childByHand(a, b, 1);
        takeOutput();
    }

    MObject doc, a, b;
};

TEST_F(LoopTest, DescendantWalksStopAtTheLoopAndNameANodeOnIt)
{
    MObjectArray below;
    MString problem;
    EXPECT_EQ(getAllDescendants(a, below, problem), MS::kFailure);
    EXPECT_EQ(std::string(problem.asChar()), "Error the XML tree holds a loop through the node a");
    EXPECT_TRUE(contains(takeOutput(), "Error the XML tree holds a loop through the node a" + kFailureText));

    below.clear();
    EXPECT_EQ(getAllDescendants(b, below), MS::kFailure);
    below.clear();
    EXPECT_EQ(getAllDocumentDescendants(doc, below, problem), MS::kFailure);
    EXPECT_TRUE(contains(problem.asChar(), "loop through the node"));
    takeOutput();
}

// A walk that stopped on the loop goes on cleanly from another start: the
// elements that were on its way down are only listed, no longer a loop.
TEST_F(LoopTest, AWalkStoppedByTheLoopWalksOnFromAnotherStart)
{
    const MObject x = element("x");
    childByHand(b, x, 0);   // b also below x
    takeOutput();
    DescendantWalk walk(getChildNodes);
    MObjectArray below;
    EXPECT_EQ(walk.appendBelow(a, below), MS::kFailure);
    below.clear();
    EXPECT_EQ(walk.appendBelow(x, below), MS::kSuccess) << walk.problem().asChar();
    EXPECT_EQ(below.length(), 0u);   // b was listed by the first walk
    takeOutput();
}

TEST_F(LoopTest, LinkingAChildWithALoopBelowIsRefused)
{
    // x is free, but b (on the loop) hangs below it by hand as a second
    // parent link of b.
    const MObject holder = element("holder");
    const MObject x = element("x");
    childByHand(b, x, 0);
    takeOutput();
    MDGModifier modifier;
    EXPECT_EQ(addChild(holder, x, modifier), MS::kFailure);
    EXPECT_TRUE(contains(takeOutput(), "holds a loop through the node"));
    EXPECT_FALSE(hasParentLink(x));
    EXPECT_EQ(checkChildLinkable(x, MObject()), MS::kFailure);
    takeOutput();
}

TEST_F(IntegrityTest, AnElementReachedTwiceIsListedOnce)
{
    // r has x and y; z hangs below both (its second link made by hand).
    const MObject r = element("r");
    const MObject x = element("x");
    const MObject y = element("y");
    const MObject z = element("z");
    link(r, x);
    link(r, y);
    link(x, z);
    childByHand(z, y, 0);
    MObjectArray below;
    EXPECT_EQ(getAllDescendants(r, below), MS::kSuccess);
    EXPECT_EQ(names(below), Names({"z", "x", "y"}));
    takeOutput();
}

TEST_F(IntegrityTest, AnUnknownNameNeverAnswersWithTheSelectedNode)
{
    const MObject selectedElement = element("picked");
    element("other");
    select({"picked"});
    MObject found = document("untouched");
    EXPECT_FALSE(findElementNodeByName("typo", found));
    EXPECT_FALSE(findDocumentNodeByName("typo", found));
    EXPECT_EQ(nameOf(found), "untouched");
    EXPECT_EQ(selection(), Names({"picked"}));

    MDGModifier modifier;
    EXPECT_EQ(removeChild(selectedElement, modifier, "typo"), MS::kInvalidParameter);
    bool linked = true;
    EXPECT_EQ(hasAttributeNodeNamed(selectedElement, "typo", linked), MS::kInvalidParameter);
    takeOutput();
}

TEST_F(IntegrityTest, NoLinkPastTheHighestIndex)
{
    const MObject doc = document("doc");
    const MObject parent = element("parent");
    const MObject owner = element("owner");
    MStatus reachable;
    MFnDependencyNode(parent).findPlug("FromChild", false).elementByLogicalIndex(kTopIndex, &reachable);
    if (reachable != MS::kSuccess)
        GTEST_SKIP() << "this host does not hold logical indices up to " << kTopIndex;
    childByHand(element("last"), parent, kTopIndex);
    connectByHand(element("top"), "2Parent", doc, "DocElements", kTopIndex);
    connectByHand(attribute("at", "1"), "Parent", owner, "XAttr", kTopIndex);
    takeOutput();

    MDGModifier modifier;
    const MObject child = element("child");
    EXPECT_EQ(addChild(parent, child, modifier), MS::kFailure);
    EXPECT_EQ(takeOutput(), "Error no Link Index left after 2147483647 on parent.FromChild" +
                                kFailureText + "\n");
    EXPECT_EQ(addElementToDocument(doc, child, modifier), MS::kFailure);
    EXPECT_TRUE(contains(takeOutput(), "Error no Link Index left after 2147483647 on doc.DocElements"));
    EXPECT_EQ(addAttribute(owner, attribute("at2", "2"), modifier), MS::kFailure);
    EXPECT_TRUE(contains(takeOutput(), "Error no Link Index left after 2147483647 on owner.XAttr"));
    EXPECT_FALSE(hasParentLink(child));
    EXPECT_EQ(links(owner, "XAttr").size(), 1u);

    // One below the top still takes the top index.
    const MObject roomy = element("roomy");
    childByHand(element("nearTop"), roomy, kTopIndex - 1);
    EXPECT_EQ(addChild(roomy, child, modifier), MS::kSuccess);
    const Links roomyLinks = links(roomy, "FromChild");
    ASSERT_EQ(roomyLinks.size(), 2u);
    EXPECT_EQ(roomyLinks[1], (std::pair<int, std::string>{2147483647, "child"}));
    takeOutput();
}

TEST_F(IntegrityTest, EditsTheHostRefusedAreFailures)
{
    const MObject parent = element("parent");
    const MObject child = element("child");
    link(parent, child);
    const MObject attr = attribute("attr", "1");
    MDGModifier modifier;

    dghost::fault::failCall("doIt", 1);
    EXPECT_EQ(addAttribute(parent, attr, modifier), MS::kFailure);
    EXPECT_EQ(takeOutput(), "Error doIt connecting Attribute" + kFailureText + "\n");
    linkAttribute(parent, attr);

    dghost::fault::failCall("doIt", 1);
    EXPECT_EQ(removeChild(parent, modifier, "child"), MS::kFailure);
    EXPECT_TRUE(contains(takeOutput(), "Error doIt Disconnect Nodes" + kFailureText + "\n"));
    EXPECT_TRUE(hasParentLink(child));
    dghost::fault::failCall("doIt", 1);
    EXPECT_EQ(removeAllChildren(parent, modifier), MS::kFailure);
    EXPECT_TRUE(hasParentLink(child));

    dghost::fault::failCall("doIt", 1);
    EXPECT_EQ(disconnectAttribute(parent, "attr", modifier), MS::kFailure);
    EXPECT_TRUE(contains(takeOutput(), "Error doIt Disconnecting Attribute Node" + kFailureText + "\n"));
    dghost::fault::failCall("doIt", 1);
    EXPECT_EQ(removeAllAttributes(parent, modifier), MS::kFailure);
    EXPECT_EQ(links(parent, "XAttr"), (Links{{1, "attr"}}));  // the failed link left 0 empty

    dghost::fault::failCall("setValue", 1);
    EXPECT_EQ(setElementName(child, "tag"), MS::kFailure);
    dghost::fault::failCall("setValue", 1);
    EXPECT_EQ(setElementValue(child, "text"), MS::kFailure);
    takeOutput();
}

}  // namespace
