// What is imported comes back out: XmlLoadFile then XmlSaveFile gives a
// file whose element tree equals the original's, judged by Python's own XML
// parser (element_trees.py). Documents written here, the conformance
// suite's valid standalone cases, and a tree that went through a scene file.

#include "tests/export/ExportTest.h"

#include <cstdio>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct Document {
    const char* name;
    std::string content;
};

// `count` times `open`, the text, `count` times `close`.
std::string repeated(int count, const std::string& open, const std::string& text, const std::string& close)
{
    std::string result;
    for (int i = 0; i < count; ++i)
        result += open;
    result += text;
    for (int i = 0; i < count; ++i)
        result += close;
    return result;
}

const std::vector<Document>& writtenDocuments()
{
    static const std::vector<Document> documents = {
        {"namespaces",
         "<?xml version=\"1.0\"?>\n<root xmlns=\"urn:default\" xmlns:p=\"urn:p\">\n"
         "  <p:item p:attr=\"1\" plain=\"2\">text</p:item>\n"
         "  <inner xmlns=\"urn:other\" xmlns:q=\"urn:q\"><q:deep q:a=\"x\">deep</q:deep></inner>\n"
         "  <p:empty/><unprefixed xmlns=\"\"/>\n</root>\n"},
        {"attributes",
         "<r a=\"&lt;&amp;&gt;&quot;&apos;\" tab=\"a&#9;b\" nl=\"a&#10;b\" cr=\"a&#13;b\"\n"
         "   spaced=\"  two  spaces  \" empty=\"\" single='it\"s' z=\"1\" y=\"2\" x=\"3\">\n"
         "  <leaf k=\"v\" k2=\"&#x10000;\">t</leaf>\n</r>\n"},
        {"cdata",
         "<r><c><![CDATA[<not> & markup ]]]]><![CDATA[> end]]></c>"
         "<mixed>a<![CDATA[b]]>c</mixed><only><![CDATA[]]></only></r>"},
        {"entities",
         "<?xml version=\"1.0\" standalone=\"yes\"?>\n"
         "<!DOCTYPE r [\n  <!ENTITY e \"entity &#38;amp; text\">\n"
         "  <!ATTLIST r def CDATA \"defaulted\">\n]>\n"
         "<r><t>&e; and &e;</t><u>&#x263A;&#169;&#60;</u><v a=\"&e;\">&amp;&lt;&gt;</v></r>\n"},
        {"elements-from-entities",
         "<!DOCTYPE r [<!ENTITY inner \"<n>in<m>deeper</m></n>\">]>\n<r>&inner;<after/>&inner;</r>"},
        {"non-ascii",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<r\xC3\xA9sum\xC3\xA9 \xC3\xBC=\"\xC3\xB6\">\n  <\xE6\x97\xA5\xE6\x9C\xAC>\xE6\x97\xA5\xE6"
         "\x9C\xAC\xE8\xAA\x9E</\xE6\x97\xA5\xE6\x9C\xAC>\n  <e>\xF0\x9F\x98\x80 and "
         "\xE2\x82\xAC</e>\n</r\xC3\xA9sum\xC3\xA9>\n"},
        {"latin-1",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r v=\"\xE9t\xE9\">\xE7\xE0 et l\xE0</r>\n"},
        {"comments-and-pis",
         "<!-- before --><?pi before?><r><!-- c --><?pi x?><a>x<!--c-->y<?p q?>z</a>"
         "<b><!-- only a comment --></b></r><!-- after -->"},
        {"whitespace", "<r>\n  <sp>   </sp>\n  <nl>\n\n</nl>\n  <tab>\t</tab>\n  <e/>\n</r>"},
        {"deep-nesting", repeated(3000, "<d level=\"x\">", "bottom", "</d>")},
        {"many-siblings", "<list>" + repeated(500, "<item n=\"1\">7</item><empty/>", "", "") + "</list>"},
        // Values larger than the writer's block, escapes across its edges,
        // then short ones again in the buffers the long ones grew.
        {"large-values",
         "<r><big v=\"" + repeated(20000, "a&amp;&lt;\xC3\xA9&quot;", "", "") + "\">" +
             repeated(30000, "t&lt;&gt;\xE2\x82\xAC\n", "", "") + "</big><s v=\"1\">x</s><e/>" +
             "<big2 w=\"" + repeated(70000, "z", "", "") + "\"/><s v=\"\">y</s></r>"},
    };
    return documents;
}

class ExportRoundTripTest : public ExportTest
{
protected:
    void SetUp() override
    {
        ExportTest::SetUp();
        if (std::string(PYTHON3_EXE).empty())
            GTEST_SKIP() << "python3 not found: no independent parser to judge the files";
    }

    // Imports `original` as document `name` and exports it to `exported`.
    void importAndExport(const std::string& original, const std::string& name,
                         const std::string& exported)
    {
        Outcome load = run("XmlLoadFile -f " + quoted(original) + " -n " + name);
        EXPECT_EQ(load.status, MS::kSuccess) << original;
        Outcome save = run("XmlSaveFile -node " + name + " -file " + quoted(exported));
        EXPECT_EQ(save.status, MS::kSuccess) << original << ::testing::PrintToString(save.errors);
        takeOutput();
    }

    // What element_trees.py prints for `arguments`; `exitCode` its status.
    static std::string python(const std::string& arguments, int& exitCode)
    {
        const std::string command = std::string(PYTHON3_EXE) + " " + ELEMENT_TREES_PY + " " + arguments + " 2>&1";
        std::FILE* pipe = ::popen(command.c_str(), "r");
        std::string output;
        char buffer[4096];
        for (size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, n);
        const int status = pipe ? ::pclose(pipe) : -1;
        exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return output;
    }

    // One line per (original, exported) pair whose element trees differ.
    std::string unequalPairs(const std::vector<std::pair<std::string, std::string>>& pairs)
    {
        std::ofstream list(tempPath("pairs.txt"));
        for (const auto& pair : pairs)
            list << pair.first << '\t' << pair.second << '\n';
        list.close();
        int exitCode = 0;
        std::string output = python("pairs " + quoted(tempPath("pairs.txt")), exitCode);
        return exitCode == 0 && output.empty() ? std::string() : output + "exit " + std::to_string(exitCode);
    }

    // The conformance suite, unpacked into the build tree once.
    static bool unpackSuite()
    {
        const fs::path catalog = fs::path(W3C_SUITE_DIR) / "xmlconf" / "xmlconf.xml";
        fs::create_directories(W3C_SUITE_DIR);
        const std::string unzip = quoted(CMAKE_EXE) + " -E chdir " + quoted(W3C_SUITE_DIR) + " " +
                                  quoted(CMAKE_EXE) + " -E tar xf " + quoted(W3C_SUITE_ZIP);
        return fs::exists(catalog) || (std::system(unzip.c_str()) == 0 && fs::exists(catalog));
    }
};

TEST_F(ExportRoundTripTest, WrittenDocumentsComeBackWithTheirElementTrees)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const Document& document : writtenDocuments()) {
        const std::string name = document.name;
        pairs.emplace_back(writeFile(name + ".xml", document.content), tempPath(name + ".out.xml"));
        importAndExport(pairs.back().first, "doc" + std::to_string(pairs.size()), pairs.back().second);
    }
    EXPECT_EQ(unequalPairs(pairs), "");
}

// The judge tells trees apart: a changed attribute, text, order, tag.
TEST_F(ExportRoundTripTest, TheJudgeSeesDifferences)
{
    const std::string original = writeFile("a.xml", "<r x=\"1\"><a>t</a><b/></r>");
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char* changed : {"<r x=\"2\"><a>t</a><b/></r>", "<r x=\"1\"><a>u</a><b/></r>",
                                "<r x=\"1\"><b/><a>t</a></r>", "<r><a>t</a><b/></r>", "<r x=\"1\"><a>t</a></r>"})
        pairs.emplace_back(original, writeFile("changed" + std::to_string(pairs.size()) + ".xml", changed));
    EXPECT_EQ(lines(unequalPairs(pairs)).size(), 6u);  // and the exit line
    EXPECT_EQ(unequalPairs({{original, writeFile("same.xml", "\n<r x='1'>\n  <a>t</a>\n  <b></b>\n</r>")}}), "");
}

TEST_F(ExportRoundTripTest, ConformanceSuiteValidStandaloneCases)
{
    if (!fs::exists(W3C_SUITE_ZIP))
        GTEST_SKIP() << "no conformance suite at " << W3C_SUITE_ZIP;
    ASSERT_TRUE(unpackSuite());
    int exitCode = 0;
    Lines cases = lines(python("suite " + quoted(std::string(W3C_SUITE_DIR) + "/xmlconf"), exitCode));
    ASSERT_EQ(exitCode, 0);
    ASSERT_GT(cases.size(), 200u);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const std::string& original : cases) {
        dghost::newScene();
        pairs.emplace_back(original, tempPath("case" + std::to_string(pairs.size()) + ".xml"));
        importAndExport(original, "suiteCase", pairs.back().second);
    }
    EXPECT_EQ(unequalPairs(pairs), "");
}

// Import, save the scene, start anew, open it, export: byte-identical.
TEST_F(ExportRoundTripTest, TreesSurviveASceneFile)
{
    const std::vector<Document>& documents = writtenDocuments();
    for (size_t i = 0; i < documents.size(); ++i) {
        const std::string original = writeFile(std::string(documents[i].name) + ".xml", documents[i].content);
        importAndExport(original, "doc" + std::to_string(i), tempPath("before" + std::to_string(i) + ".xml"));
    }
    const std::string scene = tempPath("scene.ma");
    ASSERT_EQ(run("file -rename " + quoted(scene)).status, MS::kSuccess);
    ASSERT_EQ(run("file -save").status, MS::kSuccess);
    ASSERT_EQ(run("file -new").status, MS::kSuccess);
    ASSERT_TRUE(node("doc0").isNull());
    ASSERT_EQ(run("file -open " + quoted(scene)).status, MS::kSuccess);
    for (size_t i = 0; i < documents.size(); ++i) {
        SCOPED_TRACE(documents[i].name);
        const std::string after = tempPath("after" + std::to_string(i) + ".xml");
        expectSucceeded(run("XmlSaveFile -node doc" + std::to_string(i) + " -file " + quoted(after)));
        EXPECT_EQ(readFile(after), readFile(tempPath("before" + std::to_string(i) + ".xml")));
    }
}

}  // namespace
