// The three node types in a scene: links made by hand exactly as the tree
// is represented, the texts kept across a scene save and open, and the same
// through the dghost program with the loadable module.

#include "tests/support/SceneTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A document with element "top", its child "leaf", and an attribute node
// under "leaf", linked by hand as the node-tree library links them.
class PluginHandBuiltTreeTest : public SceneTest
{
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        for (const char* statement :
             {"createNode XmlDocument -n doc", "createNode XmlElement -n top",
              "createNode XmlElement -n leaf", "createNode XmlElementAttribute -n attr",
              "connectAttr top.2Parent doc.DocElements[0]",
              "connectAttr leaf.2Parent top.FromChild[0]",
              "connectAttr attr.Parent leaf.XAttr[0]"}) {
            ASSERT_EQ(run(statement).status, MS::kSuccess) << statement;
        }
    }

    std::vector<std::string> connections(const std::string& flagsAndPlug)
    {
        return run("listConnections " + flagsAndPlug).strings;
    }
};

TEST_F(PluginHandBuiltTreeTest, LinksReadBackFromBothEnds)
{
    using Names = std::vector<std::string>;
    EXPECT_EQ(connections("-s 1 -d 0 doc"), Names{"top"});
    EXPECT_EQ(connections("-s 0 -d 1 top"), Names{"doc"});
    EXPECT_EQ(connections("-s 1 -d 0 top"), Names{"leaf"});
    EXPECT_EQ(connections("-s 0 -d 1 leaf"), Names{"top"});
    EXPECT_EQ(connections("-s 1 -d 0 leaf"), Names{"attr"});
    EXPECT_EQ(connections("-s 0 -d 1 attr"), Names{"leaf"});
    EXPECT_EQ(connections("-p 1 doc.DocElements[0]"), Names{"top.ToParent"});
    EXPECT_EQ(connections("-p 1 top.FromChildren[0]"), Names{"leaf.ToParent"});
    EXPECT_EQ(connections("-p 1 leaf.XAttr[0]"), Names{"attr.Parent"});
    EXPECT_EQ(run("getAttr -size doc.DocElements").intValue, 1);
    EXPECT_EQ(run("getAttr -size top.FromChild").intValue, 1);
    EXPECT_EQ(run("getAttr -size leaf.XAttr").intValue, 1);
    EXPECT_EQ(run("getAttr -size top.XAttr").intValue, 0);
}

// Tag names, texts, attribute names and values are stored with the scene.
TEST_F(PluginHandBuiltTreeTest, TextsSurviveASceneSaveAndOpen)
{
    const std::vector<std::string> plugs = {"doc.DocName", "top.XName", "leaf.XmlValue",
                                            "attr.AttrName", "attr.Value"};
    for (const std::string& plug : plugs) {
        std::string text = "say \\\"" + plug + " h\xC3\xA9llo\\\"";
        ASSERT_EQ(run("setAttr " + plug + " -type \"string\" \"" + text + "\"").status,
                  MS::kSuccess);
    }
    std::string path = tempPath("tree.ma");
    ASSERT_EQ(run("file -rename \"" + path + "\"").status, MS::kSuccess);
    ASSERT_EQ(run("file -save").status, MS::kSuccess);
    ASSERT_EQ(run("file -new").status, MS::kSuccess);
    ASSERT_EQ(run("file -open \"" + path + "\"").status, MS::kSuccess);

    for (const std::string& plug : plugs) {
        EXPECT_EQ(run("getAttr " + plug).text, "say \"" + plug + " h\xC3\xA9llo\"");
    }
    EXPECT_EQ(connections("-p 1 leaf.XAttr[0]"), std::vector<std::string>{"attr.Parent"});
}

TEST(PluginDghostModuleTest, LoadsTheModuleAndBuildsATreeByHand)
{
    DghostRun result = runDghost(
        {"-c", "loadPlugin Dendrine", "-c", "createNode XmlDocument -n doc",
         "-c", "createNode XmlElement -n el", "-c", "createNode XmlElementAttribute -n at",
         "-c", "connectAttr el.2Parent doc.DocElements[0]",
         "-c", "connectAttr at.Parent el.XAttr[0]",
         "-c", "setAttr el.XName -type \"string\" \"tag\"",
         "-c", "listConnections -p 1 el.XAttr[0]", "-c", "getAttr el.XName",
         "-c", "unloadPlugin Dendrine"});
    EXPECT_NE(result.exitCode, 0) << "unloading with nodes in the scene is refused";
    EXPECT_NE(result.out.find("// Result: at.Parent //"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("// Result: tag //"), std::string::npos) << result.out;
    EXPECT_NE(result.err.find("// Error: Cannot unload plug-in Dendrine"), std::string::npos)
        << result.err;
}

TEST(PluginDghostModuleTest, LoadUnloadLoadAgain)
{
    DghostRun result =
        runDghost({"-k", "-c", "loadPlugin Dendrine", "-c", "unloadPlugin Dendrine", "-c",
                   "createNode XmlElement -n gone", "-c", "loadPlugin Dendrine", "-c",
                   "createNode XmlElement -n back"});
    EXPECT_NE(result.err.find("// Error: Unknown object type: XmlElement"), std::string::npos)
        << result.err;
    EXPECT_EQ(result.out.find("// Result: gone //"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("// Result: back //"), std::string::npos) << result.out;
}

}  // namespace
