// The commands as a user meets them: scripts run by dghost with --json.
// Among them the demo of examples/, whose export must equal the expected
// file byte for byte.

#include "tests/support/SceneTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        all.push_back(line);
    }
    return all;
}

// The JSON line of the first statement whose text starts with `prefix`,
// written as it appears in JSON (quotes escaped); empty when none.
std::string outcomeOf(const std::string& out, const std::string& prefix)
{
    const std::string start = "{\"command\": \"" + prefix;
    for (const std::string& line : lines(out)) {
        if (line.compare(0, start.size(), start) == 0) {
            return line;
        }
    }
    return "";
}

bool has(const std::string& line, const std::string& part)
{
    return line.find(part) != std::string::npos;
}

class ScriptTest : public SceneTest
{
protected:
    // Runs dghost on `script` in the test's folder, so relative paths
    // resolve there; the plug-in's log goes to run.log.
    DghostRun runScript(const std::string& script)
    {
        return runDghost({"--json", "--log", "run.log", script}, "", workDir().string());
    }

    fs::path workDir() { return fs::path(tempPath("x")).parent_path(); }
};

TEST_F(ScriptTest, ElementFlagsThroughDghost)
{
    writeFile("flags.mel",
              "loadPlugin Dendrine;\n"
              "createNode XmlElement -n p1;\n"
              "createNode XmlElement -n p2;\n"
              "createNode XmlElement -n c;\n"
              "connectAttr c.ToParent p1.FromChildren[0];\n"
              "connectAttr c.ToParent p2.FromChildren[0];\n"
              "select -r c;\n"
              "XmlElement -q -p;\n"
              "XmlElement -e -xn \"tag\" -xv \"text\";\n"
              "XmlElement -q -xn;\n"
              "XmlElement -q -xv;\n"
              "XmlElement -q -n;\n"
              "XmlFind -n \"tag\";\n"
              "XmlAttribute -q -xn;\n");
    DghostRun run = runScript("flags.mel");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string parents = outcomeOf(run.out, "XmlElement -q -p");
    EXPECT_TRUE(has(parents, R"("result": ["p1", "p2"])")) << parents;
    EXPECT_TRUE(has(readFile((workDir() / "run.log").string()), "\n[ p1, p2,  ]\n"));
    EXPECT_TRUE(has(outcomeOf(run.out, "XmlElement -e"), R"("result": "Set XmlName successfull")"));
    EXPECT_TRUE(has(outcomeOf(run.out, "XmlElement -q -xn"), R"("result": "tag")"));
    EXPECT_TRUE(has(outcomeOf(run.out, "XmlElement -q -xv"), R"("result": "")"));
    std::string name = outcomeOf(run.out, "XmlElement -q -n");
    EXPECT_TRUE(has(name, R"("status": "kSuccess", "result": null, "errors": ["Node Name is not Queryable"])"))
        << name;
    EXPECT_TRUE(has(outcomeOf(run.out, "XmlFind"), R"("result": ["c"])"));
    EXPECT_TRUE(has(outcomeOf(run.out, "XmlAttribute"), R"("status": "kSuccess", "result": null, "errors": [])"));
}

TEST_F(ScriptTest, DemoExportsTheExpectedDocument)
{
    const fs::path dir = workDir();
    for (const char* name : {"sample.xml", "demo.mel", "expected.xml"}) {
        fs::copy_file(fs::path(DENDRINE_EXAMPLES_DIR) / name, dir / name);
    }
    DghostRun run = runScript("demo.mel");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const std::string& line : lines(run.out)) {
        EXPECT_TRUE(has(line, R"("status": "kSuccess")") && has(line, R"("errors": [])")) << line;
    }
    EXPECT_TRUE(has(outcomeOf(run.out, R"(XmlFind -n \"queue\")"), R"("result": ["queue", "queue1"])"));
    EXPECT_TRUE(has(outcomeOf(run.out, R"(XmlFind -v \"10\")"), R"("result": ["priority1"])"));
    EXPECT_TRUE(has(outcomeOf(run.out, "objExists logging"), R"("result": false)"));

    ASSERT_TRUE(fs::exists(dir / "exported.xml")) << run.out;
    EXPECT_EQ(readFile((dir / "exported.xml").string()), readFile((dir / "expected.xml").string()));
}

}  // namespace
