// XmlSaveFile driven by scripts through the dghost program: what a script
// caller sees (results, statuses, errors), the log lines, and the files.

#include "tests/export/ExportTest.h"

namespace {

const char* const kSource =
    "<?xml version=\"1.0\"?>\n<!-- kept out -->\n<catalog xmlns:x=\"urn:x\" version=\"2\">\n"
    "  <book id=\"b1\"><title>T&amp;1</title><x:price cur=\"EUR\">5</x:price></book>\n"
    "  <person><link href=\"#b1\"/></person>\n</catalog>\n";

const char* const kExported =
    "\n<catalog version=\"2\" xmlns:x=\"urn:x\">\n\n  <book id=\"b1\">\n    <title>T&amp;1</title>\n"
    "    <x:price cur=\"EUR\">5</x:price>\n  </book>\n\n  <person>\n    <link href=\"#b1\"/>\n"
    "  </person>\n\n</catalog>";

class ExportDghostTest : public ExportTest
{
protected:
    // Runs the script lines with `dghost --json -k --log log.txt` in the
    // test's folder; returns one JSON line per command (0: loadPlugin).
    Lines runScript(const std::string& script)
    {
        writeFile("source.xml", kSource);
        const std::string path = writeFile("script.mel", "loadPlugin Dendrine;\n" + script);
        DghostRun run = runDghost({"--json", "-k", "--log", "log.txt", path}, "", tempPath(""));
        EXPECT_EQ(run.exitCode, 1) << run.err;  // some commands fail, -k goes on
        return lines(run.out);
    }

    static void expectLine(const Lines& outcomes, size_t n, const std::string& part)
    {
        ASSERT_LT(n, outcomes.size());
        EXPECT_NE(outcomes[n].find(part), std::string::npos) << outcomes[n];
    }
};

TEST_F(ExportDghostTest, ScriptCallerSeesResultsStatusesAndErrors)
{
    Lines outcomes = runScript("XmlLoadFile -f \"source.xml\" -n doc;\n"
                               "XmlSaveFile -h;\n"
                               "XmlSaveFile -file \"\";\n"
                               "XmlSaveFile -node doc;\n"
                               "XmlSaveFile -node nowhere -file \"x.xml\";\n"
                               "XmlSaveFile -alldoc -file \"x.xml\";\n"
                               "select -cl; XmlSaveFile;\n"
                               "XmlSaveFile -node doc -file \"copy.xml\";\n"
                               "XmlSaveFile -node doc -file \"/etc/hostname/copy.xml\";\n"
                               "dgFault -op getFlagArgument -nth 1; XmlSaveFile -file \"copy2.xml\" -node doc;\n");
    expectLine(outcomes, 2, "\"result\": \"XmlSaveFile a Part of Dendrine\\nUse this Command");
    const std::pair<size_t, const char*> refusals[] = {
        {3, "Please provide Filename"},
        {4, "Cannot Export an XML Node Structure without and DocumentNode or an XML FileName"},
        {5, "Given Name doesnt lead to an Document or XML Node"},
        {6, "Cant Export All DocumentNodes with One Filename"},
        {8, "Please Select Nodes to Export"},
        {12, "Please provide Filename"}};
    for (const auto& refusal : refusals)
        expectLine(outcomes, refusal.first, "\"status\": \"kInvalidParameter\", \"result\": null, \"errors\": [\"" +
                                                std::string(refusal.second) + "\"]");
    expectLine(outcomes, 9, "\"status\": \"kSuccess\", \"result\": \"Export Succesfull\"");
    expectLine(outcomes, 10, "\"status\": \"kFailure\", \"result\": null, \"errors\": [\"Cannot export doc to "
                             "/etc/hostname/copy.xml: cannot write /etc/hostname/copy.xml: Not a directory\"]");
    EXPECT_EQ(readFile(tempPath("copy.xml")), kExported);
    EXPECT_EQ(entries(), (Lines{"copy.xml", "log.txt", "script.mel", "source.xml"}));
    EXPECT_TRUE(inOrder(readFile(tempPath("log.txt")),
                        {"FileName Raised", "Export Node Raised", "Do Export Called", "Exporting DocNodes #", "1",
                         "Export Value", "T&1", "Export Value", "5", "Do Export Finished"}));
}

// -alldoc writes each document back to the file it was read from. Plain
// output: the result on standard output, errors on standard error.
TEST_F(ExportDghostTest, AllDocWritesBackToTheImportedFiles)
{
    writeFile("one.xml", "<one a=\"1\"><x>1</x></one>");
    writeFile("source.xml", kSource);
    const std::string script = writeFile("plain.mel", "loadPlugin Dendrine;\n"
                                                      "XmlLoadFile -f \"one.xml\" -n first;\n"
                                                      "XmlLoadFile -f \"source.xml\" -n second;\n"
                                                      "XmlSaveFile -alldoc; XmlSaveFile -f \"\";\n");
    DghostRun run = runDghost({script}, "", tempPath(""));
    EXPECT_NE(run.out.find("Do Export Finished\n// Result: Export Succesfull //\n"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("// Error: Please provide Filename //\n"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(tempPath("one.xml")), "\n<one a=\"1\">\n\n  <x>1</x>\n\n</one>");
    EXPECT_EQ(readFile(tempPath("source.xml")), kExported);
    EXPECT_EQ(entries(), (Lines{"one.xml", "plain.mel", "source.xml"}));
}

}  // namespace
