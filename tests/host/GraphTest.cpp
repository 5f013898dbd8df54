// The dependency graph: names, array plugs, connections, the modifier,
// statuses and fault injection.

#include "HostTest.h"

#include <maya/MGlobal.h>
#include <maya/MIntArray.h>
#include <maya/MPlugArray.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <vector>

using Names = HostTest;

TEST_F(Names, TakenNamesGetTheLowestFreeTrailingNumber)
{
    EXPECT_EQ(nameOf(probe("item")), "item");
    EXPECT_EQ(nameOf(probe("item")), "item1");
    MObject second = probe("item");
    EXPECT_EQ(nameOf(second), "item2");
    MDGModifier modifier;
    modifier.deleteNode(second);
    ASSERT_TRUE(modifier.doIt());
    EXPECT_EQ(nameOf(probe("item")), "item2");
    EXPECT_EQ(nameOf(probe("item")), "item3");
}

TEST_F(Names, IllegalCharactersAndEmptyNames)
{
    EXPECT_EQ(nameOf(probe("a b-c")), "a_b_c");
    EXPECT_EQ(nameOf(probe("2Parent")), "_2Parent");
    EXPECT_EQ(nameOf(probe("ns:t\xC3\xA9te")), "ns_t_te");
    EXPECT_EQ(nameOf(probe("")), "probe1");
    EXPECT_EQ(nameOf(probe("")), "probe2");
}

TEST_F(Names, ManyNodesOfOneName)
{
    for (int i = 0; i < 100000; ++i) probe("same");
    EXPECT_EQ(nameOf(probe("same")), "same100000");
}

TEST_F(Names, RenameFreesTheOldName)
{
    MObject a = probe("a");
    MFnDependencyNode(a).setName("b");
    EXPECT_EQ(nameOf(a), "b");
    EXPECT_EQ(nameOf(probe("a")), "a");
}

using ArrayPlugs = HostTest;

TEST_F(ArrayPlugs, ElementsExistOnceMadeAndIndicesAscend)
{
    MObject node = probe("n");
    MPlug items = plug(node, "it");
    EXPECT_TRUE(items.isArray());
    EXPECT_EQ(items.numElements(), 0u);
    for (unsigned int i : {5u, 2u, 9u}) items.elementByLogicalIndex(i);
    items.elementByLogicalIndex(5);
    MIntArray indices;
    EXPECT_EQ(items.getExistingArrayAttributeIndices(indices), 3u);
    ASSERT_EQ(indices.length(), 3u);
    EXPECT_EQ(indices[0], 2);
    EXPECT_EQ(indices[1], 5);
    EXPECT_EQ(indices[2], 9);
    EXPECT_EQ(items.numElements(), 3u);
    EXPECT_EQ(items.elementByPhysicalIndex(2).logicalIndex(), 9u);
}


// A dense run of elements with holes: each value is read from its own
// element, and an index in a hole or past the end reads nothing.
TEST_F(ArrayPlugs, ValuesOfADenseRunWithHolesReadFromTheirOwnElements)
{
    MObject node = probe("n");
    MPlug items = plug(node, "it");
    for (unsigned int i : {0u, 1u, 2u, 4u, 5u, 9u, 10u})
        ASSERT_TRUE(items.elementByLogicalIndex(i).setValue(MString() + (100 + i)));
    for (unsigned int i : {0u, 1u, 2u, 4u, 5u, 9u, 10u})
        EXPECT_EQ(items.elementByLogicalIndex(i).asString(), MString() + (100 + i)) << i;
    for (unsigned int i : {3u, 6u, 8u, 11u, 1000u})
        EXPECT_EQ(items.elementByLogicalIndex(i).asString(), "") << i;
}
TEST_F(ArrayPlugs, ConnectionByPhysicalIndexCountsConnectedElementsOnly)
{
    MObject parent = probe("p"), a = probe("a"), b = probe("b");
    MPlug links = plug(parent, "lk");
    links.elementByLogicalIndex(0);  // exists, never connected
    ASSERT_TRUE(link(plug(a, "o"), links.elementByLogicalIndex(3)));
    ASSERT_TRUE(link(plug(b, "o"), links.elementByLogicalIndex(7)));
    EXPECT_EQ(links.connectionByPhysicalIndex(0).logicalIndex(), 3u);
    EXPECT_EQ(links.connectionByPhysicalIndex(1).logicalIndex(), 7u);

    MStatus status;
    MPlug past = links.connectionByPhysicalIndex(2, &status);
    MPlugArray none;
    EXPECT_FALSE(past.isNetworked());
    EXPECT_FALSE(past.connectedTo(none, true, true));
    EXPECT_EQ(none.length(), 0u);
}

// Elements made in any order (descending, interleaved, repeated) read back
// in ascending order through every view of the array, between changes too.
TEST_F(ArrayPlugs, ElementsMadeInAnyOrderReadBackInOrder)
{
    MObject parent = probe("p");
    MPlug links = plug(parent, "lk"), items = plug(parent, "it");
    std::vector<MObject> sources;
    const unsigned int order[] = {40, 30, 35, 10, 0, 20, 45, 5, 25, 15};
    for (unsigned int index : order) {
        sources.push_back(probe());
        ASSERT_TRUE(link(plug(sources.back(), "o"), links.elementByLogicalIndex(index)));
        // Reading the order between two inserts must not lose an element.
        if (index == 10) {
            EXPECT_EQ(links.connectionByPhysicalIndex(0).logicalIndex(), 10u);
        }
    }
    for (unsigned int index : {9u, 3u, 7u}) ASSERT_TRUE(items.elementByLogicalIndex(index).setValue(MString() + index));
    EXPECT_EQ(items.elementByLogicalIndex(3).asString(), "3");

    MIntArray indices;
    ASSERT_EQ(links.getExistingArrayAttributeIndices(indices), 10u);
    for (unsigned int i = 0; i < indices.length(); ++i) EXPECT_EQ(indices[i], static_cast<int>(5 * i)) << i;
    for (unsigned int i = 0; i < 10; ++i) {
        EXPECT_EQ(links.elementByPhysicalIndex(i).logicalIndex(), 5 * i);
        EXPECT_EQ(links.connectionByPhysicalIndex(i).logicalIndex(), 5 * i);
    }
    // Each element still holds the source that was linked to it.
    for (std::size_t k = 0; k < sources.size(); ++k)
        EXPECT_EQ(links.elementByLogicalIndex(order[k]).source().node(), sources[k]) << order[k];
    EXPECT_EQ(items.elementByPhysicalIndex(0).asString(), "3");
    EXPECT_EQ(items.elementByPhysicalIndex(2).asString(), "9");
    // A second link to an element made out of order is refused: it was found.
    EXPECT_FALSE(link(plug(probe(), "o"), links.elementByLogicalIndex(35)));
    EXPECT_EQ(links.numElements(), 10u);
}

// Logical indices run from 0 to 2^31 - 1; one past is refused, not wrapped.
TEST_F(ArrayPlugs, TheLogicalIndexRangeEndsAtTheLargestInt)
{
    MObject parent = probe("p"), child = probe("c");
    MPlug links = plug(parent, "lk");
    MStatus status;
    MPlug top = links.elementByLogicalIndex(0x7fffffffu, &status);
    ASSERT_TRUE(status);
    ASSERT_TRUE(link(plug(child, "o"), top));
    EXPECT_EQ(links.connectionByPhysicalIndex(0).logicalIndex(), 0x7fffffffu);
    links.elementByLogicalIndex(0x80000000u, &status);
    EXPECT_FALSE(status);
    EXPECT_EQ(links.numElements(), 1u);
    EXPECT_TRUE(dghost::runCommand("listConnections p.lk[2147483647]").status);
    EXPECT_FALSE(dghost::runCommand("getAttr p.it[2147483648]").status);
}

TEST_F(ArrayPlugs, NetworkedMeansConnectedNow)
{
    MObject parent = probe("p"), child = probe("c");
    MPlug links = plug(parent, "lk");
    EXPECT_FALSE(links.isNetworked());
    MPlug element = links.elementByLogicalIndex(0);
    ASSERT_TRUE(link(plug(child, "o"), element));
    EXPECT_TRUE(links.isNetworked());
    EXPECT_TRUE(element.isNetworked());
    EXPECT_FALSE(links.elementByLogicalIndex(1).isNetworked());

    MDGModifier modifier;
    modifier.disconnect(plug(child, "o"), element);
    ASSERT_TRUE(modifier.doIt());
    EXPECT_FALSE(links.isNetworked());
    EXPECT_FALSE(plug(child, "o").isConnected());
    EXPECT_EQ(links.numElements(), 2u);  // elements stay once made
}

TEST_F(ArrayPlugs, PartialNameCarriesNodeIndexAndShortOrLongName)
{
    MObject node = probe("root");
    MPlug element = plug(node, "links").elementByLogicalIndex(2);
    EXPECT_EQ(std::string(element.partialName(true, true).asChar()), "root.lk[2]");
    EXPECT_EQ(std::string(element.partialName(false, true, false, false, false, true).asChar()), "links[2]");
    EXPECT_EQ(std::string(plug(node, "o").partialName(true).asChar()), "root.o");
}

TEST_F(ArrayPlugs, StringValuesReadBackExactly)
{
    MObject node = probe("n");
    MPlug text = plug(node, "text");
    MString value;
    ASSERT_TRUE(text.getValue(value));
    EXPECT_EQ(value.length(), 0u);
    const char* written = "quote \" back\\slash\nline \xE6\x97\xA5\xE6\x9C\xAC";
    ASSERT_TRUE(text.setValue(MString(written)));
    ASSERT_TRUE(text.getValue(value));
    EXPECT_EQ(std::string(value.asChar()), written);
    EXPECT_EQ(plug(node, "lk").getValue(value), MS::kInvalidParameter);
}

using Connections = HostTest;

TEST_F(Connections, ReportedFromBothEnds)
{
    MObject parent = probe("p"), child = probe("c");
    ASSERT_TRUE(link(plug(child, "o"), plug(parent, "lk").elementByLogicalIndex(0)));
    MPlugArray found;
    EXPECT_TRUE(plug(child, "o").connectedTo(found, false, true));
    ASSERT_EQ(found.length(), 1u);
    EXPECT_EQ(std::string(found[0].partialName(true, true).asChar()), "p.lk[0]");
    EXPECT_TRUE(found[0].node() == parent);
    EXPECT_FALSE(plug(child, "o").connectedTo(found, true, false));
    EXPECT_TRUE(plug(parent, "lk").elementByLogicalIndex(0).connectedTo(found, true, false));
    EXPECT_TRUE(found[0].node() == child);
}

// One array, reused from plug to plug as the node-tree library reuses it:
// it holds exactly each plug's connections, more or fewer than before.
TEST_F(Connections, AReusedArrayHoldsEachPlugsOwnConnections)
{
    MObject hub = probe("hub"), lone = probe("lone"), other = probe("other");
    for (unsigned i = 0; i < 3; ++i)
        ASSERT_TRUE(link(plug(hub, "o"), plug(other, "lk").elementByLogicalIndex(i)));
    ASSERT_TRUE(link(plug(lone, "o"), plug(hub, "lk").elementByLogicalIndex(5)));
    MPlugArray found;
    ASSERT_TRUE(plug(hub, "o").connectedTo(found, false, true));
    ASSERT_EQ(found.length(), 3u);
    EXPECT_EQ(std::string(found[2].partialName(true, true).asChar()), "other.lk[2]");
    ASSERT_TRUE(plug(lone, "o").connectedTo(found, false, true));
    ASSERT_EQ(found.length(), 1u);
    EXPECT_EQ(std::string(found[0].partialName(true, true).asChar()), "hub.lk[5]");
    EXPECT_FALSE(plug(other, "o").connectedTo(found, false, true));
    EXPECT_EQ(found.length(), 0u);
    ASSERT_TRUE(plug(hub, "lk").elementByLogicalIndex(5).connectedTo(found, true, true));
    ASSERT_EQ(found.length(), 1u);
    EXPECT_TRUE(found[0].node() == lone);
    // A failed call leaves it empty, whatever it held.
    dghost::fault::failCall("connectedTo", 1);
    MStatus status;
    EXPECT_FALSE(plug(hub, "o").connectedTo(found, false, true, &status));
    EXPECT_EQ(found.length(), 0u);
    EXPECT_FALSE(status);
    dghost::fault::clear();
}

TEST_F(Connections, ADestinationTakesOneSource)
{
    MObject parent = probe("p"), a = probe("a"), b = probe("b");
    MPlug slot = plug(parent, "lk").elementByLogicalIndex(0);
    ASSERT_TRUE(link(plug(a, "o"), slot));
    MStatus second = link(plug(b, "o"), slot);
    EXPECT_EQ(second, MS::kFailure);
    EXPECT_NE(std::string(second.errorString().asChar()).find("already has an incoming connection"),
              std::string::npos);
}

TEST_F(Connections, RulesOfReadableWritableAndDataType)
{
    MObject a = probe("a"), b = probe("b");
    EXPECT_FALSE(link(plug(a, "sl"), plug(b, "lk").elementByLogicalIndex(0)));  // not readable
    EXPECT_FALSE(link(plug(a, "tx"), plug(b, "lk").elementByLogicalIndex(0)));  // string to data
    EXPECT_FALSE(link(plug(a, "o"), plug(a, "o")));
    // A whole array plug may be the source of a link.
    EXPECT_TRUE(link(plug(a, "lk"), plug(b, "lk").elementByLogicalIndex(0)));
    EXPECT_TRUE(link(plug(a, "lk"), plug(b, "lk").elementByLogicalIndex(1)));
    MPlugArray found;
    EXPECT_TRUE(plug(a, "lk").connectedTo(found, false, true));
    EXPECT_EQ(found.length(), 2u);
}

TEST_F(Connections, ModifierWaitsForDoItAndRunsInOrder)
{
    MObject parent = probe("p"), child = probe("c");
    MPlug slot = plug(parent, "lk").elementByLogicalIndex(0);
    MDGModifier modifier;
    ASSERT_TRUE(modifier.connect(plug(child, "o"), slot));
    ASSERT_TRUE(modifier.disconnect(plug(child, "o"), slot));
    ASSERT_TRUE(modifier.connect(plug(child, "o"), slot));
    EXPECT_FALSE(slot.isNetworked());
    ASSERT_TRUE(modifier.doIt());
    EXPECT_TRUE(slot.isNetworked());
    EXPECT_TRUE(modifier.doIt());  // the queue was emptied
    EXPECT_TRUE(slot.isNetworked());
}

TEST_F(Connections, DeletingANodeCutsItsLinksAndKeepsHandlesSafe)
{
    MObject parent = probe("p"), child = probe("c");
    MPlug slot = plug(parent, "lk").elementByLogicalIndex(0);
    ASSERT_TRUE(link(plug(child, "o"), slot));
    MDGModifier modifier;
    ASSERT_TRUE(modifier.deleteNode(child));
    ASSERT_TRUE(modifier.doIt());
    EXPECT_FALSE(slot.isNetworked());
    MStatus status;
    MFnDependencyNode stale(child, &status);
    EXPECT_FALSE(status);
    EXPECT_EQ(stale.name().length(), 0u);
    EXPECT_FALSE(plug(child, "o").isNetworked());
}

using Statuses = HostTest;

TEST_F(Statuses, TruthIsTheFlagAndEqualityTheCode)
{
    MStatus ok;
    EXPECT_TRUE(ok);
    EXPECT_FALSE(MStatus(MS::kNotFound));
    EXPECT_TRUE(MStatus(MS::kNotFound) == MS::kNotFound);
    EXPECT_TRUE(MS::kFailure == MStatus(MS::kFailure));
    EXPECT_EQ(std::string(MStatus(MS::kFailure).errorString().asChar()), "(kFailure): Unexpected Internal Failure");
    EXPECT_EQ(std::string(MStatus(MS::kInvalidParameter).errorString().asChar()),
              "(kInvalidParameter): Object is incompatible with this method");
    EXPECT_EQ(std::string(MStatus(MS::kNotFound).errorString().asChar()), "(kNotFound): Object not found");
}

using Faults = HostTest;

TEST_F(Faults, TheNthCallFailsThenCallsWorkAgain)
{
    MObject node = probe("n");
    MPlug text = plug(node, "tx");
    ASSERT_TRUE(dghost::fault::failCall("setValue", 2, MS::kInvalidParameter));
    EXPECT_TRUE(text.setValue("one"));
    EXPECT_EQ(text.setValue("two"), MS::kInvalidParameter);
    EXPECT_TRUE(text.setValue("three"));
    EXPECT_EQ(dghost::fault::calls("setValue"), 3u);
    MString value;
    text.getValue(value);
    EXPECT_EQ(std::string(value.asChar()), "three");
}

TEST_F(Faults, ARunOfFailuresAndStatusOutParameters)
{
    MObject node = probe("n");
    ASSERT_TRUE(dghost::fault::failCall("findPlug", 1, MS::kFailure, 2));
    MStatus status;
    MFnDependencyNode fn(node);
    EXPECT_TRUE(fn.findPlug("tx", false, &status).isNull());
    EXPECT_EQ(status, MS::kFailure);
    fn.findPlug("tx", false, &status);
    EXPECT_EQ(status, MS::kFailure);
    fn.findPlug("tx", false, &status);
    EXPECT_TRUE(status);
    EXPECT_FALSE(dghost::fault::failCall("noSuchCall", 1));
}

TEST_F(Faults, AFailedDoItDropsItsQueue)
{
    MObject parent = probe("p"), child = probe("c");
    MPlug slot = plug(parent, "lk").elementByLogicalIndex(0);
    MDGModifier modifier;
    modifier.connect(plug(child, "o"), slot);
    dghost::fault::failCall("doIt", 1);
    EXPECT_FALSE(modifier.doIt());
    EXPECT_TRUE(modifier.doIt());
    EXPECT_FALSE(slot.isNetworked());
}

TEST_F(Faults, CommandsAndNodeCreationFailOnDemand)
{
    dghost::fault::failCall("createNode", 1);
    MStatus status;
    MFnDependencyNode fn;
    EXPECT_TRUE(fn.create("probe", "x", &status).isNull());
    EXPECT_FALSE(status);
    dghost::fault::failCall("executeCommand", 1, MS::kNotFound);
    MStringArray names;
    EXPECT_EQ(MGlobal::executeCommand("ls -dep", names), MS::kNotFound);
}

// A whole array plug may feed others before it has elements, and keeps
// those links once elements are made on it.
TEST_F(Connections, AWholeArrayKeepsItsLinksWhenItGetsElements)
{
    MObject a = probe("a"), b = probe("b"), c = probe("c");
    ASSERT_TRUE(link(plug(a, "lk"), plug(b, "lk").elementByLogicalIndex(0)));
    ASSERT_TRUE(link(plug(c, "o"), plug(a, "lk").elementByLogicalIndex(3)));
    MPlugArray found;
    ASSERT_TRUE(plug(a, "lk").connectedTo(found, false, true));
    ASSERT_EQ(found.length(), 1u);
    EXPECT_EQ(std::string(found[0].partialName(true).asChar()), "b.lk[0]");
    ASSERT_TRUE(plug(a, "lk").elementByLogicalIndex(3).connectedTo(found, true, false));
    EXPECT_TRUE(found[0].node() == c);
    EXPECT_EQ(plug(a, "lk").numElements(), 1u);
    EXPECT_EQ(plug(a, "lk").numConnectedElements(), 1u);

    MDGModifier modifier;
    modifier.deleteNode(a);
    ASSERT_TRUE(modifier.doIt());
    EXPECT_FALSE(plug(b, "lk").elementByLogicalIndex(0).isConnected());
    EXPECT_FALSE(plug(c, "o").isConnected());
}

// Names stay findable through many creations, deletions and renames (the
// name table moves entries when it grows and when one leaves).
TEST_F(Names, EveryLiveNameIsFoundAfterChurn)
{
    std::vector<MObject> nodes;
    for (int i = 0; i < 3000; ++i) nodes.push_back(probe(i % 2 ? "odd" : "even"));
    MDGModifier modifier;
    for (std::size_t i = 0; i < nodes.size(); i += 3) modifier.deleteNode(nodes[i]);
    ASSERT_TRUE(modifier.doIt());
    for (std::size_t i = 1; i < nodes.size(); i += 3) MFnDependencyNode(nodes[i]).setName("moved");
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (i % 3 == 0) continue;
        MSelectionList list;
        const std::string name = nameOf(nodes[i]);
        ASSERT_TRUE(list.add(name.c_str())) << name;
        MObject back;
        ASSERT_TRUE(list.getDependNode(0, back)) << name;
        EXPECT_TRUE(back == nodes[i]) << name;
    }
    MSelectionList gone;
    EXPECT_FALSE(gone.add("even"));   // node 0 was deleted
    EXPECT_EQ(nameOf(probe("even")), "even");
}

// Names of a listing resolved in its order, with skips, backwards, after a
// rename and after a deletion: each name gives its own node, a gone or
// changed name none.
TEST_F(Names, NamesOfAListingResolveToTheirOwnNodes)
{
    std::vector<MObject> nodes;
    for (int i = 0; i < 12; ++i) nodes.push_back(probe("n"));
    auto resolves = [](const std::string& name, const MObject& expected) {
        MSelectionList list;
        MObject back;
        return list.add(name.c_str()) && list.getDependNode(0, back) && back == expected;
    };
    MStringArray listed;
    ASSERT_TRUE(MGlobal::executeCommand("ls -dep", listed));
    ASSERT_EQ(listed.length(), nodes.size());
    for (std::size_t i : {0u, 1u, 3u, 6u, 7u, 5u, 2u, 11u, 10u})
        EXPECT_TRUE(resolves(listed[static_cast<unsigned>(i)].asChar(), nodes[i])) << i;

    ASSERT_TRUE(MGlobal::executeCommand("ls -dep", listed));
    MFnDependencyNode(nodes[1]).setName("renamed");
    MDGModifier modifier;
    modifier.deleteNode(nodes[2]);
    ASSERT_TRUE(modifier.doIt());
    MSelectionList list;
    EXPECT_TRUE(resolves(listed[0].asChar(), nodes[0]));
    EXPECT_FALSE(list.add(listed[1]));  // renamed away
    EXPECT_FALSE(list.add(listed[2]));  // deleted
    EXPECT_TRUE(resolves("renamed", nodes[1]));
    EXPECT_TRUE(resolves(listed[3].asChar(), nodes[3]));
    // A new node takes the deleted node's name: found as the new node.
    MObject again = probe(listed[2].asChar());
    EXPECT_EQ(nameOf(again), listed[2].asChar());
    EXPECT_TRUE(resolves(listed[2].asChar(), again));
    EXPECT_TRUE(resolves(listed[4].asChar(), nodes[4]));
}

// A new scene frees every name of the old one at once: the names come back
// exactly, the old handles attach to nothing, and nothing is listed.
TEST_F(Names, ANewSceneFreesEveryNameOfTheOldOne)
{
    std::vector<MObject> old;
    for (int i = 0; i < 2000; ++i) old.push_back(probe("n"));
    for (std::size_t i = 1; i < old.size(); ++i)
        ASSERT_TRUE(link(plug(old[i], "out"), plug(old[i - 1], "links").elementByLogicalIndex(0)));
    const std::string last = nameOf(old.back());
    dghost::newScene();
    MStatus attached;
    MFnDependencyNode gone(old.back(), &attached);
    EXPECT_FALSE(attached);
    MStringArray listed;
    ASSERT_TRUE(MGlobal::executeCommand("ls -dep", listed));
    EXPECT_EQ(listed.length(), 0u);
    EXPECT_EQ(nameOf(probe("n")), "n");
    EXPECT_EQ(nameOf(probe(last.c_str())), last);
    EXPECT_EQ(nameOf(probe("n")), "n1");
}
