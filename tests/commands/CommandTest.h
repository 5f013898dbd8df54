#ifndef DENDRINE_TESTS_COMMANDS_COMMAND_TEST_H
#define DENDRINE_TESTS_COMMANDS_COMMAND_TEST_H
// Scenes for the command tests, built with the host's own commands
// (createNode, setAttr, connectAttr), so that what the commands under test
// find was not made by the plug-in's code.

#include "tests/support/SceneTest.h"

#include <dghost/Fault.h>
#include <dghost/Host.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class CommandTest : public SceneTest
{
protected:
    using Strings = std::vector<std::string>;

    // Runs a host command that must succeed.
    dghost::CommandOutcome must(const std::string& statement)
    {
        dghost::CommandOutcome outcome = run(statement);
        EXPECT_EQ(outcome.status, MS::kSuccess) << statement;
        return outcome;
    }

    void document(const std::string& name) { must("createNode XmlDocument -n " + name); }

    void element(const std::string& name, const std::string& xmlName = "",
                 const std::string& xmlValue = "")
    {
        must("createNode XmlElement -n " + name);
        if (!xmlName.empty()) {
            must("setAttr " + name + ".XmlName -type \"string\" \"" + xmlName + "\"");
        }
        if (!xmlValue.empty()) {
            must("setAttr " + name + ".XmlValue -type \"string\" \"" + xmlValue + "\"");
        }
    }

    void attributeNode(const std::string& name, const std::string& xmlName = "",
                       const std::string& value = "")
    {
        must("createNode XmlElementAttribute -n " + name);
        must("setAttr " + name + ".Name -type \"string\" \"" + (xmlName.empty() ? name : xmlName) + "\"");
        must("setAttr " + name + ".Value -type \"string\" \"" + value + "\"");
    }

    void linkChild(const std::string& child, const std::string& parent, int index)
    {
        must("connectAttr " + child + ".ToParent " + parent + ".FromChildren[" + std::to_string(index) + "]");
    }

    void linkTop(const std::string& element, const std::string& doc, int index)
    {
        must("connectAttr " + element + ".ToParent " + doc + ".DocumentElements[" + std::to_string(index) + "]");
    }

    void linkAttribute(const std::string& attr, const std::string& element, int index)
    {
        must("connectAttr " + attr + ".Parent " + element + ".XmlAttributes[" + std::to_string(index) + "]");
    }

    // The nodes linked into the elements of an array plug, e.g.
    // "a.FromChildren", in logical index order (asked element by element:
    // the host lists no connections for a whole array plug).
    Strings sourcesOf(const std::string& arrayPlug)
    {
        Strings sources;
        const long long size = must("getAttr -size " + arrayPlug).intValue;
        for (long long i = 0; i < size; ++i) {
            std::string element = arrayPlug + "[" + std::to_string(i) + "]";
            for (const std::string& source : must("listConnections -s 1 -d 0 " + element).strings) {
                sources.push_back(source);
            }
        }
        return sources;
    }

    // doc > root > (a, b); a carries the attribute node id; loose: the
    // element c and the attribute node w.
    void buildElementScene()
    {
        document("doc");
        element("root", "root");
        element("a", "item", "x");
        element("b", "item", "y");
        element("c", "extra");
        attributeNode("id", "id", "7");
        attributeNode("w", "w", "1");
        linkTop("root", "doc", 0);
        linkChild("a", "root", 0);
        linkChild("b", "root", 1);
        linkAttribute("id", "a", 0);
    }

    std::string getAttr(const std::string& plug) { return must("getAttr " + plug).text; }

    // As the user asks it: objExists.
    bool exists(const std::string& name)
    {
        dghost::CommandOutcome outcome = must("objExists " + name);
        return outcome.kind == dghost::CommandOutcome::Kind::Bool ? outcome.boolValue : outcome.intValue != 0;
    }

    // The outcome of `statement` with the given elements selected (none: an
    // empty selection); the captured output is dropped first.
    dghost::CommandOutcome runOn(const std::string& selection, const std::string& statement)
    {
        must(selection.empty() ? "select -cl" : "select -r " + selection);
        takeOutput();
        return run(statement);
    }

    static Strings errors(const dghost::CommandOutcome& outcome) { return outcome.errors; }
};

#endif
