// The import end to end through dghost scripts: results, messages and log
// lines as a script user sees them.

#include "tests/import/ImportTest.h"

namespace {

using ImportScriptTest = ImportTest;

TEST_F(ImportScriptTest, ScriptImportsAndReadsTheTreeBack)
{
    const std::string xml = writeFile("s.xml", "<root a=\"1\" b=\"2\">t1<c>x</c>t2</root>");
    const std::string script = writeFile(
        "import.mel", "loadPlugin Dendrine;\n"
                      "XmlLoadFile -f \"" + xml + "\" -n doc -t x -ee y;\n"
                      "getAttr root.XmlValue;\ngetAttr c.XmlValue;\ngetAttr b.Value;\n"
                      "getAttr doc.DocumentName;\nXmlLoadFile -h -f \"" + xml + "\";\n"
                      "ls -type XmlDocument;\n");
    const DghostRun run = runDghost({script});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    for (const std::string& result :
         {std::string("// Result: Read Succesfull //"), std::string("// Result: t1xt2 //"),
          std::string("// Result: x //"), std::string("// Result: 2 //"),
          "// Result: " + xml + " //", std::string("// Result:  XmlLoadFile a Part of Dendrine\n"),
          std::string("// Result: doc //")})
        EXPECT_TRUE(contains(run.out, result)) << result << "\n" << run.out;
    EXPECT_TRUE(contains(run.out, "creating Doc Node start load File\n"
                                  "Recreate Document Called \n"))
        << run.out;
}

TEST_F(ImportScriptTest, RefusedFileFailsItsCommandAndLeavesNoNode)
{
    const std::string bad = writeFile("bad.xml", "<r>\n<a></r>");
    const std::string log = tempPath("plugin.log");
    const DghostRun run = runDghost({"--json", "-k", "--log", log, "-c", "loadPlugin Dendrine",
                                     "-c", "XmlLoadFile -f \"" + bad + "\" -n doc", "-c",
                                     "ls -dep"});
    EXPECT_NE(run.exitCode, 0);
    std::string loadLine;
    std::string listLine;
    size_t start = 0;
    for (size_t end; (end = run.out.find('\n', start)) != std::string::npos; start = end + 1)
    {
        const std::string line = run.out.substr(start, end - start);
        if (contains(line, "XmlLoadFile"))
            loadLine = line;
        if (contains(line, "ls -dep"))
            listLine = line;
    }
    EXPECT_TRUE(contains(loadLine, "kFailure")) << loadLine;
    EXPECT_TRUE(contains(loadLine, "fatal error at line 2, column 6: expected end of tag 'a'"))
        << loadLine;
    EXPECT_TRUE(contains(listLine, "[]")) << listLine;
    EXPECT_TRUE(contains(run.err, "\nFatal Error at file " + bad + ", line 2, char 6\n"))
        << run.err;
    EXPECT_FALSE(contains(run.out + run.err, "Read Succesfull"));
}

TEST_F(ImportScriptTest, MissingFileFlagIsAnErrorMessageOnly)
{
    const DghostRun run = runDghost({"-c", "loadPlugin Dendrine", "-c", "XmlLoadFile -n doc",
                                     "-c", "ls -dep"});
    EXPECT_TRUE(contains(run.err, "// Error: Please Provide XML Filename //")) << run.err;
    EXPECT_FALSE(contains(run.out, "doc"));
}

}  // namespace
