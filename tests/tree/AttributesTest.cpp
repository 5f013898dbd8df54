// Attribute nodes: creation, links to their element, listing, reading and
// cutting.

#include "tests/tree/TreeTest.h"

namespace {

using AttributesTest = TreeTest;
using Links = std::vector<std::pair<int, std::string>>;

std::string read(MStatus (*reader)(MObject, MString&), const MObject& node)
{
    MString text;
    EXPECT_EQ(reader(node, text), MS::kSuccess);
    return text.asChar();
}

TEST_F(AttributesTest, AttributeNodesHoldNameAndValue)
{
    const MObject id = createAttributeNode("id", "7");
    const MObject again = createAttributeNode("id", "8");
    EXPECT_EQ(takeOutput(), "");
    EXPECT_EQ(nameOf(id), "id");
    EXPECT_EQ(nameOf(again), "id1");
    EXPECT_EQ(read(getAttributeName, again), "id");
    EXPECT_EQ(read(getAttributeValue, id), "7");
    MString text("kept");
    EXPECT_EQ(getAttributeName(element("el"), text), MS::kInvalidParameter);
    EXPECT_EQ(getAttributeValue(MObject(), text), MS::kInvalidParameter);
    EXPECT_EQ(std::string(text.asChar()), "kept");
}

TEST_F(AttributesTest, AttributesTakeIndicesInLinkOrder)
{
    const MObject el = element("el");
    MObjectArray nodes(1, el);
    EXPECT_EQ(getAttributeNodes(el, nodes), MS::kSuccess);
    EXPECT_EQ(nodes.length(), 0u);
    EXPECT_EQ(takeOutput(), "");

    const MObject b = attribute("b", "1");
    const MObject a = attribute("a", "2");
    MDGModifier modifier;
    EXPECT_EQ(addAttribute(el, b, modifier), MS::kSuccess);
    EXPECT_EQ(addAttribute(el, a, modifier), MS::kSuccess);
    EXPECT_EQ(takeOutput(), "Added Attribute\nAdded Attribute\n");
    EXPECT_EQ(links(el, "XAttr"), (Links{{0, "b"}, {1, "a"}}));

    MStringArray attributeNames;
    EXPECT_EQ(getAttributeNames(el, attributeNames), MS::kSuccess);
    EXPECT_EQ(names(attributeNames), Names({"b", "a"}));
    EXPECT_EQ(takeOutput(), "el.XAttr[0]\nel.XAttr[1]\n");

    bool result = false;
    EXPECT_EQ(hasAttributeNode(el, a, result), MS::kSuccess);
    EXPECT_TRUE(result);
    EXPECT_EQ(hasAttributeNode(el, el, result), MS::kInvalidParameter);
    EXPECT_FALSE(result);
    result = true;
    EXPECT_EQ(hasAttributeNodeNamed(el, "nosuchnode", result), MS::kInvalidParameter);
    EXPECT_TRUE(result);  // untouched on that path
    ASSERT_EQ(getAttributeNodes(el, nodes), MS::kSuccess);
    EXPECT_EQ(getAttributeNodes(attribute("c", "3"), nodes), MS::kInvalidParameter);
    EXPECT_EQ(names(nodes), Names({"b", "a"}));  // untouched
}

TEST_F(AttributesTest, LinkingNeverChecksKinds)
{
    const MObject el = element("el");
    MDGModifier modifier;
    // No kind check up front: the host refuses the plug, and the refusal
    // is the answer (never "Added Attribute" for a link that was not made).
    EXPECT_EQ(addAttribute(el, element("notAnAttribute"), modifier), MS::kInvalidParameter);
    const std::string listing = takeOutput();
    EXPECT_EQ(listing.find("Added Attribute"), std::string::npos);
    EXPECT_NE(listing.find("Error connecting Attribute"), std::string::npos);
    EXPECT_TRUE(links(el, "XAttr").empty());
}

TEST_F(AttributesTest, DisconnectingCutsOnlyOwnLinks)
{
    const MObject el = element("el");
    const MObject other = element("other");
    const MObject mine = attribute("mine", "1");
    linkAttribute(el, mine);
    linkAttribute(other, attribute("theirs", "2"));
    MDGModifier modifier;
    EXPECT_EQ(disconnectAttribute(el, "theirs", modifier), MS::kInvalidParameter);
    EXPECT_EQ(links(other, "XAttr"), (Links{{0, "theirs"}}));

    takeOutput();
    EXPECT_EQ(disconnectAttribute(el, "mine", modifier), MS::kSuccess);
    EXPECT_EQ(takeOutput(), "el.XAttr[0]\nAttribute Plug Is Array\nel.XAttr[0]\n");
    EXPECT_TRUE(links(el, "XAttr").empty());
    linkAttribute(other, mine);  // still there, and can be linked elsewhere
    EXPECT_EQ(links(other, "XAttr"), (Links{{0, "theirs"}, {1, "mine"}}));
}

TEST_F(AttributesTest, RemovingAllRunsOneDoItPerLink)
{
    const MObject el = element("el");
    MDGModifier modifier;
    EXPECT_EQ(removeAllAttributes(el, modifier), MS::kInvalidParameter);  // none linked
    linkAttribute(el, attribute("a", "1"));
    linkAttribute(el, attribute("b", "2"));
    const unsigned int doItsBefore = dghost::fault::calls("doIt");
    EXPECT_EQ(removeAllAttributes(el, modifier), MS::kSuccess);
    EXPECT_EQ(dghost::fault::calls("doIt"), doItsBefore + 2);
    EXPECT_TRUE(links(el, "XAttr").empty());
    EXPECT_EQ(removeAllAttributes(document("doc"), modifier), MS::kInvalidParameter);
}

TEST_F(AttributesTest, AttributesSurviveAGapAfterReopening)
{
    const MObject el = element("el");
    for (const char* name : {"a0", "a1", "a2"})
        linkAttribute(el, attribute(name, "v"));
    MDGModifier modifier;
    ASSERT_EQ(disconnectAttribute(el, "a1", modifier), MS::kSuccess);
    saveAndReopen();

    MStringArray attributeNames;
    EXPECT_EQ(getAttributeNames(node("el"), attributeNames), MS::kSuccess);
    EXPECT_EQ(names(attributeNames), Names({"a0", "a2"}));
    EXPECT_EQ(addAttribute(node("el"), node("a1"), modifier), MS::kSuccess);
    EXPECT_EQ(links(node("el"), "XAttr"), (Links{{0, "a0"}, {2, "a2"}, {3, "a1"}}));
}

TEST_F(AttributesTest, FailedCreationAndLinkStepsAreLogged)
{
    dghost::fault::failCall("setValue", 1, MS::kFailure, 2);
    createAttributeNode("id", "7");
    EXPECT_EQ(takeOutput(), "Error Attribute Node Set Name(kFailure): Unexpected Internal Failure\n"
                            "Error Attribute Node Set Value(kFailure): Unexpected Internal Failure\n");
    dghost::fault::failCall("findPlug", 2);
    createAttributeNode("id", "7");
    EXPECT_EQ(takeOutput(), "Error Attribute Node get ValuePlug(kFailure): Unexpected Internal "
                            "Failure\n"
                            "Error Attribute Node Set Value(kInvalidParameter): Object is "
                            "incompatible with this method\n");

    const MObject el = element("el");
    const MObject attr = attribute("attr", "v");
    MDGModifier modifier;
    dghost::fault::failCall("connect", 1);
    EXPECT_EQ(addAttribute(el, attr, modifier), MS::kFailure);
    EXPECT_EQ(takeOutput(), "Error connecting Attribute(kFailure): Unexpected Internal Failure\n");
    dghost::fault::failCall("findPlug", 2);
    EXPECT_EQ(addAttribute(el, attr, modifier), MS::kInvalidParameter);
    EXPECT_EQ(takeOutput(), "Error get Attribute Owner Plug(kFailure): Unexpected Internal Failure\n"
                            "Error connecting Attribute(kInvalidParameter): Object is incompatible "
                            "with this method\n");

    linkAttribute(el, attr);
    dghost::fault::failCall("getValue", 1, MS::kInvalidParameter);
    MString text;
    EXPECT_EQ(getAttributeValue(attr, text), MS::kInvalidParameter);
    dghost::fault::failCall("getValue", 1);
    EXPECT_EQ(getAttributeName(attr, text), MS::kFailure);
    EXPECT_EQ(takeOutput(),
              "Error Plug, get Value(kInvalidParameter): Object is incompatible with this method\n"
              "Error Plug, get value(kFailure): Unexpected Internal Failure\n");
}

TEST_F(AttributesTest, FailedCutStepsAreLogged)
{
    const MObject el = element("el");
    linkAttribute(el, attribute("a", "1"));
    linkAttribute(el, attribute("b", "2"));
    MDGModifier modifier;

    // The second lookup of the name, inside the link check, finds nothing.
    dghost::fault::failCall("getActiveSelectionList", 4);
    EXPECT_EQ(disconnectAttribute(el, "a", modifier), MS::kInvalidParameter);
    EXPECT_EQ(takeOutput(), "Error checking Valid Attribute(kInvalidParameter): Object is "
                            "incompatible with this method\n\n");

    dghost::fault::failCall("getExistingArrayAttributeIndices", 2);
    EXPECT_EQ(disconnectAttribute(el, "a", modifier), MS::kSuccess);
    EXPECT_EQ(takeOutput(), "el.XAttr[0]\nel.XAttr[1]\nAttribute Plug Is Array\n"
                            "Error GetExisting Array Attributes(kFailure): Unexpected Internal "
                            "Failure\n");
    EXPECT_EQ(links(el, "XAttr").size(), 2u);

    dghost::fault::failCall("disconnect", 1);
    EXPECT_EQ(disconnectAttribute(el, "b", modifier), MS::kSuccess);
    EXPECT_EQ(takeOutput(), "el.XAttr[0]\nel.XAttr[1]\nAttribute Plug Is Array\n"
                            "el.XAttr[0]\nel.XAttr[1]\n"
                            "Error Disconnecting Attribute Node(kFailure): Unexpected Internal "
                            "Failure\n");

    dghost::fault::failCall("elementByLogicalIndex", 3);  // the cut's first element
    EXPECT_EQ(disconnectAttribute(el, "b", modifier), MS::kSuccess);
    EXPECT_EQ(takeOutput(), "el.XAttr[0]\nel.XAttr[1]\nAttribute Plug Is Array\n"
                            "Error Get Physical connection(kFailure): Unexpected Internal Failure\n"
                            "\nel.XAttr[1]\n");
    EXPECT_EQ(links(el, "XAttr"), (Links{{0, "a"}}));

    // The first name's lookup reads an empty selection.
    dghost::fault::failCall("getActiveSelectionList", 2);
    EXPECT_EQ(removeAllAttributes(el, modifier), MS::kSuccess);
    EXPECT_EQ(takeOutput(), "el.XAttr[0]\nel.XAttr[1]\n"
                            "Error Remove XML Attribute(kInvalidParameter): Object is incompatible "
                            "with this method\n");
    EXPECT_EQ(links(el, "XAttr"), (Links{{0, "a"}}));
}

}  // namespace
