// Bad scene files and scripts: cut short, holding statements a scene file
// may not hold, with lines of megabytes, with bytes that are not UTF-8 or
// are NUL. Each is refused with its file, its line and the reason, and the
// scene that was open stays exactly as it was.

#include "tests/reliability/SceneCheck.h"
#include "tests/support/SceneTest.h"

#include <fstream>
#include <algorithm>

namespace {

const char kDocument[] =
    "<farm version=\"2\"><server host=\"h\" port=\"1\"><timeout>30</timeout></server>"
    "<queue name=\"q\"><priority>5</priority></queue></farm>";

class BadInputFiles : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        ASSERT_TRUE(run("XmlLoadFile -f \"" + writeFile("farm.xml", kDocument) + "\" -n \"farm\"").status);
        std::string error;
        good_ = reliability::saveSceneText(tempPath("good.ma"), error);
        ASSERT_TRUE(error.empty()) << error;
        // The open scene, which every refused file must leave alone.
        ASSERT_TRUE(run("file -new -force; createNode XmlElement -n \"keep\"").status);
        ASSERT_TRUE(run("setAttr keep.XName -type \"string\" \"keep\"").status);
        current_ = reliability::saveSceneText(tempPath("current.ma"), error);
    }

    // Opens `content` as a scene file; expects a refusal "FILE:LINE: REASON"
    // and the scene unchanged. Returns the reason.
    std::string refused(const std::string& content, int line, const std::string& label)
    {
        const std::string path = writeFile("bad.ma", content);
        dghost::CommandOutcome opened = run("file -open -force \"" + path + "\"");
        EXPECT_FALSE(opened.status) << label << ": opened";
        if (opened.status) run("file -open -force \"" + tempPath("current.ma") + "\"");
        std::string message = opened.errors.empty() ? "" : opened.errors[0];
        std::string prefix = path + ":" + std::to_string(line) + ": ";
        EXPECT_EQ(message.compare(0, prefix.size(), prefix), 0) << label << ": " << message.substr(0, 300);
        EXPECT_GT(message.size(), prefix.size()) << label << ": no reason";
        EXPECT_LT(message.size(), 400u) << label << ": the message repeats the bad line";
        std::string error;
        EXPECT_EQ(reliability::saveSceneText(tempPath("current.ma"), error), current_) << label << ": scene changed";
        return message.size() > prefix.size() ? message.substr(prefix.size()) : "";
    }

    // Where the quoted value of timeout's XValue starts in good_.
    std::size_t timeoutValue() const
    {
        return good_.find("\"30\"", good_.find("createNode XmlElement -n \"timeout\""));
    }

    // 1-based line of byte `offset`.
    static int lineOf(const std::string& text, std::size_t offset)
    {
        return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(offset), '\n'));
    }

    std::string good_, current_;
};

TEST_F(BadInputFiles, ATruncatedSceneFileIsRefusedWhereverItWasCut)
{
    // Cut after every line end and at places inside lines (in words, in
    // quoted values, before a statement's ';'). The refusal names the line
    // the file stops on.
    int cuts = 0;
    for (std::size_t size = 1; size < good_.size(); ++size) {
        if (good_[size - 1] != '\n' && size % 37 != 0) continue;
        std::string content = good_.substr(0, size);
        refused(content, lineOf(content, size - 1), "cut to " + std::to_string(size) + " bytes");
        ++cuts;
    }
    EXPECT_GT(cuts, 40);
    // The whole file still opens.
    ASSERT_TRUE(run("file -open -force \"" + writeFile("whole.ma", good_) + "\"").status);
    EXPECT_EQ(run("getAttr timeout.XValue").text, "30");
}

TEST_F(BadInputFiles, StatementsOutsideTheSceneSubsetAreRefused)
{
    const std::size_t third = good_.find('\n', good_.find('\n', good_.find('\n') + 1) + 1) + 1;
    for (const std::string statement :
         {"select -r farm;", "XmlElement -n \"sneaked\";", "loadPlugin \"evil\";", "file -new;",
          "XmlLoadFile -f \"farm.xml\";", "delete keep;", "print \"hello\";", "dgFault -op doIt -nth 1;"}) {
        std::string content = good_.substr(0, third) + statement + "\n" + good_.substr(third);
        std::string reason = refused(content, 4, statement);
        std::string command = statement.substr(0, statement.find(' '));
        EXPECT_EQ(reason, "'" + command + "' is not allowed in a scene file");
    }
}

TEST_F(BadInputFiles, LinesOfMegabytes)
{
    const std::string huge(4 << 20, 'x');
    // A value of 4 MB is a good line: it opens, whole.
    std::string withHugeValue = good_;
    withHugeValue.replace(timeoutValue(), 4, "\"" + huge + "\"");
    ASSERT_TRUE(run("file -open -force \"" + writeFile("huge.ma", withHugeValue) + "\"").status);
    EXPECT_EQ(run("getAttr timeout.XValue").text.size(), huge.size());
    ASSERT_TRUE(run("file -open -force \"" + tempPath("current.ma") + "\"").status);
    // Bad lines of 4 MB are refused without repeating them.
    refused(good_ + huge + "\n", lineOf(good_, good_.size()) , "a word of 4 MB");
    refused(good_ + "\tsetAttr \".XName\" -type \"string\" \"" + huge + "\n", lineOf(good_, good_.size()),
            "an unterminated value of 4 MB");
    refused(good_ + "createNode XmlElement -n \"" + huge + "\";\n", lineOf(good_, good_.size()),
            "a node name of 4 MB");
    refused(good_ + "connectAttr \"" + huge + ".2Parent\" \"farm.DocElements[1]\";\n", lineOf(good_, good_.size()),
            "a plug of 4 MB");
}

TEST_F(BadInputFiles, BytesThatAreNotUtf8OrAreNulAreRefused)
{
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"lone continuation byte", "\x80"},      {"invalid lead byte", "\xFF"},
        {"lead byte F7", "\xF7\x8C\x9A\x88"},   {"overlong slash", "\xC0\xAF"},
        {"overlong NUL", "\xC0\x80"},           {"overlong three bytes", "\xE0\x80\xAF"},
        {"surrogate", "\xED\xA0\x80"},          {"beyond U+10FFFF", "\xF4\x90\x80\x80"},
        {"sequence cut short", "\xE2\x82"},     {"NUL", std::string(1, '\0')},
    };
    const std::size_t cut = timeoutValue() + 2;
    const int line = lineOf(good_, cut);
    for (const auto& [label, bytes] : bad) {
        std::string content = good_.substr(0, cut) + bytes + good_.substr(cut);
        std::string reason = refused(content, line, label);
        EXPECT_EQ(reason, label == "NUL" ? "NUL byte in the text" : "the text is not valid UTF-8") << label;
    }
    // Well-formed multi-byte text is fine.
    std::string content = good_.substr(0, cut) + "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80" + good_.substr(cut);
    ASSERT_TRUE(run("file -open -force \"" + writeFile("utf8.ma", content) + "\"").status);
    EXPECT_EQ(run("getAttr timeout.XValue").text, "3\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80" "0");
}

// A script (not a scene file) with such bytes is refused by dghost before
// any of its statements runs, naming the file and the line.
TEST_F(BadInputFiles, ScriptsWithBadBytesRunNothing)
{
    for (const std::string& bytes : {std::string("\xC0\xAF"), std::string(1, '\0'), std::string("\"open")}) {
        std::string script = writeFile("bad.mel", "print \"first\";\ncreateNode network -n \"a\";\nprint \"" +
                                                      bytes + "\";\n");
        DghostRun ran = runDghost({script});
        EXPECT_EQ(ran.exitCode, 2);
        EXPECT_EQ(ran.out, "");
        EXPECT_EQ(ran.err.rfind("dghost: " + script + ": line 3: ", 0), 0u) << ran.err;
    }
}

}  // namespace
