// The active selection, name patterns and commands run from a plug-in.

#include "HostTest.h"

#include <maya/MGlobal.h>
#include <maya/MItSelectionList.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

namespace {

std::string selected()
{
    MSelectionList list;
    MGlobal::getActiveSelectionList(list);
    MStringArray names;
    list.getSelectionStrings(names);
    std::string text;
    for (unsigned int i = 0; i < names.length(); ++i) text += (i ? " " : "") + std::string(names[i].asChar());
    return text;
}

}  // namespace

using Selection = HostTest;

TEST_F(Selection, PatternsAndAdjustments)
{
    probe("leaf");
    probe("leaf1");
    probe("other");
    probe("lead");
    ASSERT_TRUE(MGlobal::selectByName("leaf*", MGlobal::kReplaceList));
    EXPECT_EQ(selected(), "leaf leaf1");
    ASSERT_TRUE(MGlobal::selectByName("le?d", MGlobal::kAddToList));
    EXPECT_EQ(selected(), "leaf leaf1 lead");
    ASSERT_TRUE(MGlobal::selectByName("leaf", MGlobal::kAddToList));
    EXPECT_EQ(selected(), "leaf leaf1 lead");  // each node once, order kept
    ASSERT_TRUE(MGlobal::selectByName("leaf1", MGlobal::kRemoveFromList));
    EXPECT_EQ(selected(), "leaf lead");
    ASSERT_TRUE(MGlobal::selectByName("other", MGlobal::kAddToHeadOfList));
    EXPECT_EQ(selected(), "other leaf lead");
}

TEST_F(Selection, ASelectThatMatchesNothingFailsAndLeavesTheSelection)
{
    probe("a");
    ASSERT_TRUE(MGlobal::selectByName("a", MGlobal::kReplaceList));
    EXPECT_EQ(MGlobal::selectByName("unknown", MGlobal::kReplaceList), MS::kInvalidParameter);
    EXPECT_EQ(selected(), "a");
    EXPECT_EQ(MGlobal::selectByName("unknown", MGlobal::kAddToList), MS::kInvalidParameter);
    EXPECT_EQ(selected(), "a");
}

TEST_F(Selection, DeletedNodesLeaveTheSelection)
{
    MObject a = probe("a");
    probe("b");
    MGlobal::selectByName("*", MGlobal::kReplaceList);
    MDGModifier modifier;
    modifier.deleteNode(a);
    modifier.doIt();
    EXPECT_EQ(selected(), "b");
}

TEST_F(Selection, IteratorFiltersByFunctionSet)
{
    probe("a");
    probe("b");
    MGlobal::selectByName("*", MGlobal::kReplaceList);
    MSelectionList list;
    MGlobal::getActiveSelectionList(list);
    int nodes = 0;
    for (MItSelectionList it(list, MFn::kDependencyNode); !it.isDone(); it.next()) {
        MObject item;
        ASSERT_TRUE(it.getDependNode(item));
        EXPECT_STREQ(item.apiTypeStr(), "kPluginDependNode");
        ++nodes;
    }
    EXPECT_EQ(nodes, 2);
    MItSelectionList attributesOnly(list, MFn::kTypedAttribute);
    EXPECT_TRUE(attributesOnly.isDone());
}

TEST_F(Selection, LsListsEveryNodeInCreationOrder)
{
    probe("z");
    MFnDependencyNode fn;
    fn.create("network", "a");
    probe("m");
    MStringArray names;
    ASSERT_TRUE(MGlobal::executeCommand("ls -dep", names, false, false));
    ASSERT_EQ(names.length(), 3u);
    EXPECT_EQ(std::string(names[0].asChar()), "z");
    EXPECT_EQ(std::string(names[1].asChar()), "a");
    EXPECT_EQ(std::string(names[2].asChar()), "m");
}
