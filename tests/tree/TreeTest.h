#ifndef DENDRINE_TESTS_TREE_TREE_TEST_H
#define DENDRINE_TESTS_TREE_TREE_TEST_H
// Fixture and helpers shared by the node-tree library tests: building small
// trees, reading names, links and the selection back.

#include "tests/support/SceneTest.h"

#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Document.h"
#include "tree/Lookup.h"

#include <dghost/Fault.h>
#include <maya/MDGModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MSelectionList.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using Names = std::vector<std::string>;

class TreeTest : public SceneTest
{
protected:
    static MObject element(const char* name, const char* xmlName = "", const char* xmlValue = "")
    {
        return createElementNode(name, xmlName, xmlValue);
    }

    // A document node; its creation lines are dropped from the output.
    MObject document(const char* nodeName)
    {
        MObject doc = createDocumentNode("file.xml", nodeName);
        takeOutput();
        return doc;
    }

    MObject attribute(const char* name, const char* value)
    {
        MObject node = createAttributeNode(name, value);
        takeOutput();
        return node;
    }

    void link(const MObject& parent, const MObject& child)
    {
        MDGModifier modifier;
        ASSERT_EQ(addChild(parent, child, modifier), MS::kSuccess);
        takeOutput();
    }

    void linkToDocument(const MObject& doc, const MObject& child)
    {
        MDGModifier modifier;
        ASSERT_EQ(addElementToDocument(doc, child, modifier), MS::kSuccess);
        takeOutput();
    }

    void linkAttribute(const MObject& owner, const MObject& attributeNode)
    {
        MDGModifier modifier;
        ASSERT_EQ(addAttribute(owner, attributeNode, modifier), MS::kSuccess);
        takeOutput();
    }

    static std::string nameOf(const MObject& node)
    {
        MFnDependencyNode fn(node);
        return fn.name().asChar();
    }

    static Names names(const MObjectArray& nodes)
    {
        Names result;
        for (unsigned int i = 0; i < nodes.length(); ++i)
            result.push_back(nameOf(nodes[i]));
        return result;
    }

    static Names names(const MStringArray& strings)
    {
        Names result;
        for (unsigned int i = 0; i < strings.length(); ++i)
            result.push_back(strings[i].asChar());
        return result;
    }

    // (logical index, source node name) of every connected element of an
    // array plug, in ascending index order.
    static std::vector<std::pair<int, std::string>> links(const MObject& node, const char* plugName)
    {
        MFnDependencyNode fn(node);
        MPlug array = fn.findPlug(plugName, false);
        MIntArray indices;
        array.getExistingArrayAttributeIndices(indices);
        std::vector<std::pair<int, std::string>> result;
        for (unsigned int k = 0; k < indices.length(); ++k) {
            MPlugArray sources;
            array.elementByLogicalIndex(static_cast<unsigned int>(indices[k]))
                .connectedTo(sources, true, false);
            for (unsigned int s = 0; s < sources.length(); ++s)
                result.emplace_back(indices[k], nameOf(sources[s].node()));
        }
        return result;
    }

    static bool hasParentLink(const MObject& node)
    {
        MFnDependencyNode fn(node);
        return fn.findPlug("2Parent", false).isConnected();
    }

    static void select(const Names& nodeNames)
    {
        MGlobal::clearSelectionList();
        for (const std::string& name : nodeNames)
            MGlobal::selectByName(name.c_str(), MGlobal::kAddToList);
    }

    static Names selection()
    {
        MSelectionList list;
        MGlobal::getActiveSelectionList(list);
        Names result;
        for (unsigned int i = 0; i < list.length(); ++i) {
            MObject node;
            list.getDependNode(i, node);
            result.push_back(nameOf(node));
        }
        return result;
    }

    // Saves the scene to a file, empties it and opens the file again.
    void saveAndReopen()
    {
        const std::string path = tempPath("scene.ma");
        ASSERT_EQ(run("file -rename \"" + path + "\"").status, MS::kSuccess);
        ASSERT_EQ(run("file -save").status, MS::kSuccess);
        ASSERT_EQ(run("file -new -force").status, MS::kSuccess);
        ASSERT_EQ(run("file -open -force \"" + path + "\"").status, MS::kSuccess);
        takeOutput();
    }
};

#endif
