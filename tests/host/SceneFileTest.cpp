// Scene files: what a save writes, what an open restores, and that a bad
// file or a failed save never costs the scene or the previous file.

#include "SceneFiles.h"

namespace {

const char kAwkward[] = "say \"hi\" \\ back\nnext\tline caf\xC3\xA9 \xF0\x9F\x98\x80";

}  // namespace

TEST_F(SceneFiles, SaveThenOpenRestoresNodesValuesAndIndices)
{
    MObject parent = probe("parent"), a = probe("a"), b = probe("b");
    ASSERT_TRUE(plug(a, "tx").setValue(kAwkward));
    ASSERT_TRUE(plug(parent, "it").elementByLogicalIndex(3).setValue("three"));
    ASSERT_TRUE(link(plug(a, "o"), plug(parent, "lk").elementByLogicalIndex(0)));
    ASSERT_TRUE(link(plug(b, "o"), plug(parent, "lk").elementByLogicalIndex(5)));
    ASSERT_TRUE(run("file -rename \"" + path("scene.ma") + "\"").status);
    ASSERT_TRUE(run("file -save").status);
    std::string saved = read(path("scene.ma"));
    EXPECT_NE(saved.find("requires \"ProbePlugin\" \"1.0\";"), std::string::npos);
    EXPECT_NE(saved.find("connectAttr \"b.o\" \"parent.lk[5]\";"), std::string::npos);

    ASSERT_TRUE(run("file -new").status);
    EXPECT_EQ(run("ls -dep").strings.size(), 0u);
    ASSERT_TRUE(run("file -open \"" + path("scene.ma") + "\"").status);
    EXPECT_EQ(run("ls -dep").strings, (std::vector<std::string>{"parent", "a", "b"}));
    EXPECT_EQ(run("getAttr a.tx").text, kAwkward);
    EXPECT_EQ(run("getAttr parent.it[3]").text, "three");
    EXPECT_EQ(run("listConnections -p 1 parent.lk[5]").strings, std::vector<std::string>{"b.out"});
    EXPECT_EQ(run("file -q -sceneName").text, path("scene.ma"));
    // The unconnected, empty element 0..4 gap is kept: elements 0 and 5 only.
    EXPECT_EQ(run("getAttr -size parent.lk").intValue, 2);
}

TEST_F(SceneFiles, OpeningRefusesOtherStatementsAndKeepsTheScene)
{
    probe("keep");
    write("bad.ma", "requires \"ProbePlugin\" \"1.0\";\ncreateNode probe -n \"x\";\nloadPlugin evil;\n");
    auto out = run("file -f -open \"" + path("bad.ma") + "\"");
    EXPECT_FALSE(out.status);
    ASSERT_EQ(out.errors.size(), 1u);
    EXPECT_EQ(out.errors[0], path("bad.ma") + ":3: 'loadPlugin' is not allowed in a scene file");
    EXPECT_EQ(run("ls -dep").strings, std::vector<std::string>{"keep"});
}

TEST_F(SceneFiles, TruncatedAndBrokenFilesAreRefusedWithTheirLine)
{
    write("cut.ma", "createNode probe -n \"a\";\nsetAttr \".tx\" -type \"string\" \"no end");
    auto cut = run("file -f -open \"" + path("cut.ma") + "\"");
    EXPECT_EQ(cut.errors[0], path("cut.ma") + ":2: unterminated string");
    write("plug.ma", "createNode probe -n \"a\";\nconnectAttr \"a.o\" \"nobody.lk[0]\";\n");
    EXPECT_EQ(run("file -f -open \"" + path("plug.ma") + "\"").errors[0],
              path("plug.ma") + ":2: no node for plug nobody.lk[0]");
    write("nul.ma", std::string("createNode probe -n \"a\";\n\0", 27));
    EXPECT_EQ(run("file -f -open \"" + path("nul.ma") + "\"").errors[0], path("nul.ma") + ":2: NUL byte in the text");
    EXPECT_FALSE(run("file -f -open \"" + path("missing.ma") + "\"").status);
}

TEST_F(SceneFiles, UnsavedChangesNeedForce)
{
    probe("a");
    ASSERT_TRUE(run("file -rename \"" + path("s.ma") + "\"; file -save").status);
    probe("b");
    auto out = run("file -open \"" + path("s.ma") + "\"");
    EXPECT_FALSE(out.status);
    EXPECT_TRUE(run("file -force -open \"" + path("s.ma") + "\"").status);
    EXPECT_EQ(run("ls -dep").strings, std::vector<std::string>{"a"});
}

TEST_F(SceneFiles, AFailedSaveLeavesThePreviousFile)
{
    probe("first");
    ASSERT_TRUE(run("file -rename \"" + path("s.ma") + "\"; file -save").status);
    std::string before = read(path("s.ma"));
    probe("second");
    for (const char* op : {"writeScene", "renameScene"}) {
        dghost::fault::failCall(op, 1);
        EXPECT_FALSE(run("file -save").status) << op;
        EXPECT_EQ(read(path("s.ma")), before) << op;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(SceneFiles, OpeningLoadsTheRequiredPlugin)
{
    probe("needsProbe");
    ASSERT_TRUE(run("file -rename \"" + path("s.ma") + "\"; file -save; file -new").status);
    std::string error;
    ASSERT_TRUE(dghost::unloadPlugin("ProbePlugin", &error)) << error;
    // Found by name: the module's folder is on the plug-in path.
    std::string folder = std::string(PROBE_PLUGIN).substr(0, std::string(PROBE_PLUGIN).rfind('/'));
    ::setenv("MAYA_PLUG_IN_PATH", ("/nonexistent:" + folder).c_str(), 1);
    auto opened = run("file -open \"" + path("s.ma") + "\"");
    ::unsetenv("MAYA_PLUG_IN_PATH");
    ASSERT_TRUE(opened.status) << (opened.errors.empty() ? "" : opened.errors[0]);
    EXPECT_TRUE(dghost::isPluginLoaded("ProbePlugin"));
    EXPECT_EQ(run("nodeType needsProbe").text, "probe");
}

// Saved scenes open through a quick reader; every file it leaves alone or
// stops at must open, or be refused, exactly as the general reader does.
TEST_F(SceneFiles, HandWrittenFormsOpenAsTheGeneralReaderReadsThem)
{
    const char kEnd[] = "// End of scene file\n";
    write("forms.ma", std::string("\xEF\xBB\xBF//Maya ASCII scene\nrequires \"ProbePlugin\" \"1.0\";\n") +
                          "/* a block comment */ createNode probe -n \"p\";"
                          " setAttr \".tx\" -type \"string\" \"a\\qb\";\n"
                          "createNode \"probe\" -n \"c\" // a line comment\n"
                          "\tsetAttr \"c.it[7]\" -type \"string\" \"tab\\there\";\n"
                          "connectAttr \"c.o\" \"p.lk[2]\";\n" + kEnd);
    auto opened = run("file -f -open \"" + path("forms.ma") + "\"");
    ASSERT_TRUE(opened.status) << (opened.errors.empty() ? "" : opened.errors[0]);
    EXPECT_EQ(run("ls -dep").strings, (std::vector<std::string>{"p", "c"}));
    EXPECT_EQ(run("getAttr p.tx").text, "a\\qb");
    EXPECT_EQ(run("getAttr c.it[7]").text, "tab\there");
    EXPECT_EQ(run("listConnections -p 1 p.lk[2]").strings, std::vector<std::string>{"c.out"});

    // The same scene without the block comment and the unknown escape.
    write("plain.ma", std::string("requires \"ProbePlugin\" \"1.0\";\ncreateNode probe -n \"p\";\n") +
                          "createNode \"probe\" -n \"c\" // a line comment\n"
                          "\tsetAttr \"c.it[7]\" -type \"string\" \"tab\\there\";\n"
                          "connectAttr \"c.o\" \"p.lk[2]\";\n" + kEnd);
    ASSERT_TRUE(run("file -f -open \"" + path("plain.ma") + "\"").status);
    EXPECT_EQ(run("ls -dep").strings, (std::vector<std::string>{"p", "c"}));
    EXPECT_EQ(run("getAttr c.it[7]").text, "tab\there");
    EXPECT_EQ(run("listConnections -p 1 p.lk[2]").strings, std::vector<std::string>{"c.out"});
    EXPECT_FALSE(run("file -q -modified").boolValue);
}

TEST_F(SceneFiles, AStatementThatFailsLateIsNamedAndTheSceneKept)
{
    const std::string head =
        "requires \"ProbePlugin\" \"1.0\";\ncreateNode probe -n \"a\";\ncreateNode probe -n \"b\";\n";
    const std::string end = "// End of scene file\n";
    probe("keep");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"connectAttr \"a.o\" \"nobody.lk[0]\";\n", ":4: no node for plug nobody.lk[0]"},
        {"connectAttr \"a.o\" \"b.lk[1]\";\nconnectAttr \"b.o\" \"b.lk[1]\";\n",
         ":5: cannot connect: the destination already has an incoming connection"},
        {"createNode probe -n \"a\";\n", ":4: node name a is taken or not valid"},
        {"createNode probe -n \"9a\";\n", ":4: node name 9a is taken or not valid"},
        {"createNode nosuch -n \"z\";\n", ":4: unknown node type nosuch"},
        {"setAttr \"a.tx[2]\" -type \"string\" \"v\";\n", ":4: attribute tx is not an array"},
        {"setAttr \"a.lk[2]\" -type \"string\" \"v\";\n", ":4: attribute links does not hold a string"},
        {"setAttr \"a.it[99999999999]\" -type \"string\" \"v\";\n", ":4: bad index in plug a.it[99999999999]"},
        {"setAttr \"a.nope\" -type \"string\" \"v\";\n", ":4: no attribute nope on node a"},
        {"setAttr \"a.tx\" -type \"int\" \"v\";\n", ":4: expected: setAttr PLUG -type \"string\" VALUE"},
    };
    for (const auto& [tail, message] : cases) {
        write("late.ma", head + tail + end);
        auto out = run("file -f -open \"" + path("late.ma") + "\"");
        EXPECT_FALSE(out.status) << tail;
        ASSERT_EQ(out.errors.size(), 1u) << tail;
        EXPECT_EQ(out.errors[0], path("late.ma") + message) << tail;
        EXPECT_EQ(run("ls -dep").strings, std::vector<std::string>{"keep"}) << tail;
    }
}

TEST_F(SceneFiles, LineEndingsNamesAndBytesReadTheSameEitherWay)
{
    const std::string end = "// End of scene file\r\n";
    // Windows line ends, relative and full plug names mixed, one node named
    // by many plugs in a row, UTF-8 in a value.
    write("crlf.ma", "requires \"ProbePlugin\" \"1.0\";\r\ncreateNode probe -n \"p\";\r\n"
                     "createNode probe -n \"a\";\r\n"
                     "\tsetAttr \".tx\" -type \"string\" \"caf\xC3\xA9 \xF0\x9F\x98\x80\";\r\n"
                     "createNode probe -n \"b\";\r\nconnectAttr \"a.o\" \"p.lk[0]\";\r\n"
                     "connectAttr \"b.o\" \"p.lk[1]\";\r\nsetAttr \"p.it[4]\" -type \"string\" \"four\";\r\n" + end);
    ASSERT_TRUE(run("file -f -open \"" + path("crlf.ma") + "\"").status);
    EXPECT_EQ(run("ls -dep").strings, (std::vector<std::string>{"p", "a", "b"}));
    EXPECT_EQ(run("getAttr a.tx").text, "caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(run("getAttr p.it[4]").text, "four");
    EXPECT_EQ(run("listConnections -p 1 p.lk[1]").strings, std::vector<std::string>{"b.out"});

    // An empty quoted name is numbered, as a script's createNode numbers it.
    write("empty.ma", "requires \"ProbePlugin\" \"1.0\";\ncreateNode probe -n \"\";\n" + end);
    ASSERT_TRUE(run("file -f -open \"" + path("empty.ma") + "\"").status);
    EXPECT_EQ(run("ls -dep").strings, std::vector<std::string>{"probe1"});

    // A bad byte well past the first eight is still found, on its line.
    write("bytes.ma", "requires \"ProbePlugin\" \"1.0\";\ncreateNode probe -n \"a\";\n"
                      "setAttr \".tx\" -type \"string\" \"ok \xC3\xA9 then \xFF\";\n" + end);
    auto bad = run("file -f -open \"" + path("bytes.ma") + "\"");
    ASSERT_EQ(bad.errors.size(), 1u);
    EXPECT_EQ(bad.errors[0], path("bytes.ma") + ":3: the text is not valid UTF-8");
    EXPECT_EQ(run("ls -dep").strings, std::vector<std::string>{"probe1"});
}

TEST_F(SceneFiles, ASavedFileNamesItsPluginsFirstAndLinksLast)
{
    MObject parent = probe("parent"), child = probe("child");
    ASSERT_TRUE(link(plug(child, "o"), plug(parent, "lk").elementByLogicalIndex(0)));
    ASSERT_TRUE(plug(child, "tx").setValue("v"));
    ASSERT_TRUE(run("file -rename \"" + path("order.ma") + "\"; file -save").status);
    const std::string saved = read(path("order.ma"));
    const std::string head = "//Maya ASCII scene\n//Codeset: UTF-8\nrequires \"ProbePlugin\" \"1.0\";\ncreateNode";
    EXPECT_EQ(saved.rfind(head, 0), 0u);
    EXPECT_LT(saved.rfind("createNode"), saved.find("connectAttr"));
    EXPECT_LT(saved.find("setAttr"), saved.find("connectAttr"));
    EXPECT_EQ(saved.substr(saved.size() - 21), "// End of scene file\n");
}

// The reader guesses the node a plug names from the connection before it;
// connections in an order no guess follows (jumping back and forth, names
// that begin alike, ends alternating between two arrays) must open all the
// same.
TEST_F(SceneFiles, ConnectionsInAnyOrderOpenTheSame)
{
    const int count = 40;
    std::string text = "requires \"ProbePlugin\" \"1.0\";\ncreateNode probe -n \"p\";\ncreateNode probe -n \"q\";\n";
    for (int i = 0; i < count; ++i) text += "createNode probe -n \"n" + std::to_string(i) + "\";\n";
    for (int i = 0; i < count; ++i) {
        const int k = (i * 17) % count;
        const std::string hub = k % 2 ? "q" : "p";
        text += "connectAttr \"n" + std::to_string(k) + ".o\" \"" + hub + ".lk[" + std::to_string(k) + "]\";\n";
    }
    write("shuffled.ma", text + "// End of scene file\n");
    ASSERT_TRUE(run("file -f -open \"" + path("shuffled.ma") + "\"").status);
    for (int k = 0; k < count; ++k) {
        const std::string hub = k % 2 ? "q" : "p";
        EXPECT_EQ(run("listConnections -p 1 " + hub + ".lk[" + std::to_string(k) + "]").strings,
                  std::vector<std::string>{"n" + std::to_string(k) + ".out"})
            << k;
    }
}

// A save writes its text in pieces of about a megabyte; a scene of several
// pieces, with values and connections on both sides of piece boundaries,
// saves whole and opens the same, and the save leaves no other file.
TEST_F(SceneFiles, AScenePiecesLargerThanOneWriteSavesWhole)
{
    const int count = 3000;
    MObject hub = probe("hub");
    const std::string value(1000, 'v');
    for (int i = 0; i < count; ++i) {
        const std::string name = "n" + std::to_string(i);
        MObject node = probe(name.c_str());
        ASSERT_TRUE(plug(node, "tx").setValue((value + std::to_string(i)).c_str()));
        ASSERT_TRUE(link(plug(node, "o"), plug(hub, "lk").elementByLogicalIndex(static_cast<unsigned>(i))));
    }
    // One value larger than a piece, escapes on both sides of the slices
    // it is written in.
    std::string huge;
    while (huge.size() < (std::size_t(5) << 19)) huge += "line \"" + std::to_string(huge.size()) + "\"\\\n";
    ASSERT_TRUE(plug(hub, "tx").setValue(huge.c_str()));
    ASSERT_TRUE(run("file -rename \"" + path("big.ma") + "\"; file -save").status);
    const std::string saved = read(path("big.ma"));
    EXPECT_GT(saved.size(), std::size_t(3) << 20);
    EXPECT_EQ(saved.substr(saved.size() - 21), "// End of scene file\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

    ASSERT_TRUE(run("file -f -open \"" + path("big.ma") + "\"").status);
    EXPECT_EQ(run("ls -dep").strings.size(), static_cast<std::size_t>(count + 1));
    for (int i : {0, 1047, 2999}) {
        const std::string name = "n" + std::to_string(i);
        EXPECT_EQ(run("getAttr " + name + ".tx").text, value + std::to_string(i));
        EXPECT_EQ(run("listConnections -p 1 hub.lk[" + std::to_string(i) + "]").strings,
                  std::vector<std::string>{name + ".out"});
    }
    EXPECT_TRUE(run("getAttr hub.tx").text == huge);
}

// A large file is read a piece at a time and checked in two halves at
// once; each half's bytes and statements are checked, and what the second
// half requires is named by its line in the whole file.
TEST_F(SceneFiles, BothHalvesOfALargeFileAreCheckedWithTheirLines)
{
    std::string body = "//Maya ASCII scene\nrequires \"ProbePlugin\" \"1.0\";\n";
    const int count = 40000;   // about 1.5 MB
    for (int i = 0; i < count; ++i)
        body += "createNode probe -n \"n" + std::to_string(i) + "\";\n\tsetAttr \".tx\" -type \"string\" \"v\";\n";
    const int lastLine = 2 + 2 * count;
    const std::string end = "// End of scene file\n";
    probe("keep");

    write("bytes.ma", body + "\tsetAttr \".tx\" -type \"string\" \"\xC3(\";\n" + end);
    EXPECT_EQ(run("file -f -open \"" + path("bytes.ma") + "\"").errors,
              std::vector<std::string>{path("bytes.ma") + ":" + std::to_string(lastLine + 1) +
                                       ": the text is not valid UTF-8"});
    write("plugin.ma", body + "requires \"NoSuchPlugin\" \"1.0\";\n" + end);
    const auto refused = run("file -f -open \"" + path("plugin.ma") + "\"");
    ASSERT_FALSE(refused.errors.empty());
    EXPECT_EQ(refused.errors.back().rfind(path("plugin.ma") + ":" + std::to_string(lastLine + 1) +
                                              ": cannot load required plug-in NoSuchPlugin", 0),
              0u)
        << refused.errors.back();
    EXPECT_EQ(run("ls -dep").strings, std::vector<std::string>{"keep"});

    // Read a piece at a time, the last piece without a line end too.
    for (const std::string& last : {end, end.substr(0, end.size() - 1)}) {
        write("whole.ma", body + last);
        ASSERT_TRUE(run("file -f -open \"" + path("whole.ma") + "\"").status);
        EXPECT_EQ(run("ls -dep").strings.size(), static_cast<std::size_t>(count));
        EXPECT_EQ(run("getAttr n39999.tx").text, "v");
    }
}

// The passes read a large file a megabyte at a time, cut after the last
// line end of each read: a line ending on the last byte of a read, on the
// first byte of the next, or running through several reads, and Windows
// line ends, all read as the general reader reads them.
TEST_F(SceneFiles, LinesOnEitherSideOfAReadOpenWhole)
{
    const std::string header = "//Maya ASCII scene\nrequires \"ProbePlugin\" \"1.0\";\n";
    const std::string end = "// End of scene file\n";
    auto node = [](int i, const std::string& value) {
        return "createNode probe -n \"n" + std::to_string(i) + "\";\n\tsetAttr \".tx\" -type \"string\" \"" +
               value + "\";\n";
    };
    const std::size_t read = std::size_t(1) << 20;
    for (int shift : {-1, 0, 1}) {
        std::string body = header;
        int count = 0;
        while (body.size() + node(count, "x").size() < read - 200) body += node(count, "x"), ++count;
        // Pad one value so that its line ends `shift` bytes after the read.
        const std::size_t padding = read + static_cast<std::size_t>(shift) - (body.size() + node(count, "").size());
        body += node(count++, std::string(padding, 'p'));
        ASSERT_EQ(body.size(), read + static_cast<std::size_t>(shift)) << shift;
        const int huge = count;   // a line through several reads
        body += node(count++, std::string(3 << 20, 'h'));
        while (body.size() < (std::size_t(5) << 20)) body += node(count, "y" + std::to_string(count)), ++count;
        for (const std::string& lineEnd : {std::string("\n"), std::string("\r\n")}) {
            std::string text;
            for (char c : body + end) text += c == '\n' ? lineEnd : std::string(1, c);
            write("edge.ma", text);
            const auto opened = run("file -f -open \"" + path("edge.ma") + "\"");
            ASSERT_TRUE(opened.status) << shift << (opened.errors.empty() ? "" : opened.errors[0]);
            EXPECT_EQ(run("ls -dep").strings.size(), static_cast<std::size_t>(count)) << shift;
            EXPECT_EQ(run("getAttr n" + std::to_string(huge) + ".tx").text.size(), 3u << 20) << shift;
            EXPECT_EQ(run("getAttr n" + std::to_string(huge - 1) + ".tx").text, std::string(padding, 'p')) << shift;
            EXPECT_EQ(run("getAttr n" + std::to_string(count - 1) + ".tx").text, "y" + std::to_string(count - 1));
        }
    }
    // Irregular only in its last lines: refused with the general reader's
    // message, which names the line.
    std::string body = header;
    int count = 0;
    while (body.size() < (std::size_t(3) << 20)) body += node(count++, "z");
    const int lines = static_cast<int>(std::count(body.begin(), body.end(), '\n'));
    write("late.ma", body + "loadPlugin evil;\n" + end);
    const auto late = run("file -f -open \"" + path("late.ma") + "\"");
    ASSERT_FALSE(late.status);
    EXPECT_EQ(late.errors.back(), path("late.ma") + ":" + std::to_string(lines + 1) +
                                      ": 'loadPlugin' is not allowed in a scene file");
}
