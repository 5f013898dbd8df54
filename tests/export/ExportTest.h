#ifndef DENDRINE_TESTS_EXPORT_EXPORT_TEST_H
#define DENDRINE_TESTS_EXPORT_EXPORT_TEST_H
// Fixture of the export tests: trees built with the node-tree library,
// XmlSaveFile runs, and what they leave in the test's folder.

#include "tests/support/SceneTest.h"

#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Document.h"

#include <dghost/Fault.h>
#include <maya/MDGModifier.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using Lines = std::vector<std::string>;
using Outcome = dghost::CommandOutcome;

class ExportTest : public SceneTest
{
protected:
    MObject document(const std::string& nodeName, const std::string& documentName)
    {
        return createDocumentNode(documentName.c_str(), nodeName.c_str());
    }

    MObject element(const std::string& nodeName, const std::string& xmlName, const std::string& value = "")
    {
        MObject node = createElementNode(nodeName.c_str(), "", "");
        setElementName(node, xmlName.c_str());
        setElementValue(node, value.c_str());
        return node;
    }

    // The attribute node's host name is `name` (as the host makes names).
    void attribute(const MObject& owner, const std::string& name, const std::string& value)
    {
        MDGModifier modifier;
        addAttribute(owner, createAttributeNode(name.c_str(), value.c_str()), modifier);
    }

    void child(const MObject& parent, const MObject& node)
    {
        MDGModifier modifier;
        ASSERT_EQ(addChild(parent, node, modifier), MS::kSuccess);
    }

    void top(const MObject& doc, const MObject& node)
    {
        MDGModifier modifier;
        ASSERT_EQ(addElementToDocument(doc, node, modifier), MS::kSuccess);
    }

    // Document `name` with the top element `rootName` (node name_root) and
    // leaves (xml name, value), nodes name_<xml name>.
    void simpleDocument(const std::string& name, const std::string& documentName, const std::string& rootName,
                        const std::vector<std::pair<std::string, std::string>>& leaves = {})
    {
        MObject root = element(name + "_root", rootName);
        top(document(name, documentName), root);
        for (const auto& leaf : leaves)
            child(root, element(name + "_" + leaf.first, leaf.first, leaf.second));
    }

    Outcome save(const std::string& flags) { return run("XmlSaveFile " + flags); }

    static std::string quoted(const std::string& text) { return "\"" + text + "\""; }

    // The test folder's entries, sorted.
    Lines entries()
    {
        Lines names;
        for (const auto& entry : std::filesystem::directory_iterator(tempPath("")))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static Lines lines(const std::string& text)
    {
        Lines result;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            result.push_back(line);
        return result;
    }

    // `expected` are lines of `text` in this order, others between them.
    static bool inOrder(const std::string& text, const Lines& expected)
    {
        Lines all = lines(text);
        auto at = all.begin();
        for (const std::string& want : expected) {
            at = std::find(at, all.end(), want);
            if (at++ == all.end())
                return false;
        }
        return true;
    }

    static void expectRefused(const Outcome& outcome, const std::string& message)
    {
        EXPECT_EQ(outcome.status, MS::kInvalidParameter) << message;
        EXPECT_EQ(outcome.errors, Lines{message});
        EXPECT_EQ(outcome.kind, Outcome::Kind::None) << message;
    }

    // kFailure, no result, and an error that starts with `messageStart`.
    static void expectFailed(const Outcome& outcome, const std::string& messageStart)
    {
        EXPECT_EQ(outcome.status, MS::kFailure) << messageStart;
        EXPECT_EQ(outcome.kind, Outcome::Kind::None) << messageStart;
        EXPECT_TRUE(std::any_of(outcome.errors.begin(), outcome.errors.end(),
                                [&](const std::string& e) { return e.rfind(messageStart, 0) == 0; }))
            << messageStart << " not in " << ::testing::PrintToString(outcome.errors);
    }

    static void expectSucceeded(const Outcome& outcome)
    {
        EXPECT_EQ(outcome.status, MS::kSuccess) << ::testing::PrintToString(outcome.errors);
        EXPECT_EQ(outcome.text, "Export Succesfull");
    }
};

#endif
