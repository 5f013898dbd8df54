// Where and how the export writes: the new file is private while written,
// flushed to the disk with its folder, gets its final permissions and then
// the target's place; long names, hard links, links of other users and
// paths the scene chose are handled without losing or exposing a file.
// fsync and fchmod are intercepted here (this program's definitions win
// over the C library's), so the tests see every flush the export asks for
// and can make either call fail.

#include "tests/export/ExportTest.h"

#include "export/XmlNames.h"
#include "xml/Utf8.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// One fsync as the export asked for it: of a folder or a file, and the
// file's permission bits at that moment.
struct Flush {
    bool folder;
    unsigned mode;
};
std::vector<Flush> gFlushes;
int gFailFlushWith = 0;        // errno the next file flush fails with; 0: none
int gFailFolderFlushWith = 0;  // the same for the next folder flush
int gFailChmodWith = 0;        // the same for the next fchmod

}  // namespace

extern "C" int fsync(int fd)
{
    struct stat info {};
    ::fstat(fd, &info);
    gFlushes.push_back(Flush{S_ISDIR(info.st_mode), static_cast<unsigned>(info.st_mode & 0777)});
    int& failure = S_ISDIR(info.st_mode) ? gFailFolderFlushWith : gFailFlushWith;
    if (failure != 0) {
        errno = failure;
        failure = 0;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" int fchmod(int fd, mode_t mode)
{
    if (gFailChmodWith != 0) {
        errno = gFailChmodWith;
        gFailChmodWith = 0;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fchmod, fd, mode));
}

namespace {

class ReplacingWriteTest : public ExportTest
{
protected:
    void SetUp() override
    {
        ExportTest::SetUp();
        savedMask_ = ::umask(022);
        gFlushes.clear();
        gFailFlushWith = 0;
        gFailFolderFlushWith = 0;
        gFailChmodWith = 0;
    }
    void TearDown() override
    {
        ::umask(savedMask_);
        dghost::fault::clear();
        ExportTest::TearDown();
    }

    static unsigned modeOf(const std::string& path)
    {
        struct stat info {};
        ::lstat(path.c_str(), &info);
        return info.st_mode & 0777;
    }

    mode_t savedMask_ = 0;
};

const char* const kWritten = "\n<r>\n\n  <x>1</x>\n\n</r>";

TEST_F(ReplacingWriteTest, FileAndFolderAreFlushedAndTheFileIsPrivateUntilInPlace)
{
    simpleDocument("doc", "doc.xml", "r", {{"x", "1"}});
    const std::string file = tempPath("new.xml");
    expectSucceeded(save("-node doc -file " + quoted(file)));
    EXPECT_EQ(readFile(file), kWritten);
    ASSERT_EQ(gFlushes.size(), 2u);
    EXPECT_FALSE(gFlushes[0].folder);
    EXPECT_EQ(gFlushes[0].mode, 0600u);  // nobody reads the file half written
    EXPECT_TRUE(gFlushes[1].folder);     // the rename reaches the disk
    EXPECT_EQ(modeOf(file), 0644u);      // what a new file gets under umask 022

    // A replaced file keeps its own permissions.
    ::chmod(file.c_str(), 0640);
    expectSucceeded(save("-node doc -file " + quoted(file)));
    EXPECT_EQ(modeOf(file), 0640u);
    EXPECT_EQ(entries(), (Lines{"new.xml"}));
}

TEST_F(ReplacingWriteTest, AFailedFlushLeavesTheOldFileAndNoTemporaryOne)
{
    simpleDocument("doc", "doc.xml", "r", {{"x", "1"}});
    const std::string file = writeFile("old.xml", "<old/>");
    gFailFlushWith = EIO;
    expectFailed(save("-node doc -file " + quoted(file)),
                 "Cannot export doc to " + file + ": cannot flush " + file + ": Input/output error");
    EXPECT_EQ(readFile(file), "<old/>");
    EXPECT_EQ(entries(), (Lines{"old.xml"}));

    // After the rename the new file is in place; that it may not survive a
    // crash is still no success.
    gFailFolderFlushWith = EIO;
    expectFailed(save("-node doc -file " + quoted(file)),
                 "Cannot export doc to " + file + ": wrote " + file +
                     " but cannot flush its folder to the disk: Input/output error");
    EXPECT_EQ(readFile(file), kWritten);
    EXPECT_EQ(entries(), (Lines{"old.xml"}));
}

TEST_F(ReplacingWriteTest, PermissionsThatCannotBeSetLeaveTheOldFileAndNoTemporaryOne)
{
    simpleDocument("doc", "doc.xml", "r", {{"x", "1"}});
    const std::string file = writeFile("old.xml", "<old/>");
    gFailChmodWith = EPERM;
    expectFailed(save("-node doc -file " + quoted(file)),
                 "Cannot export doc to " + file + ": cannot set the permissions of " + file +
                     ": Operation not permitted");
    EXPECT_EQ(readFile(file), "<old/>");
    EXPECT_EQ(entries(), (Lines{"old.xml"}));
    // Nothing stays armed: the next export goes through.
    expectSucceeded(save("-node doc -file " + quoted(file)));
    EXPECT_EQ(readFile(file), kWritten);
}

TEST_F(ReplacingWriteTest, AnyLegalFileNameCanBeWritten)
{
    simpleDocument("doc", "doc.xml", "r", {{"x", "1"}});
    const std::string name = std::string(246, 'n') + ".xml";  // 250 characters
    const std::string file = tempPath(name);
    expectSucceeded(save("-node doc -file " + quoted(file)));
    EXPECT_EQ(readFile(file), kWritten);
    expectSucceeded(save("-node doc -file " + quoted(file)));  // replacing it too
    EXPECT_EQ(entries(), (Lines{name}));
}

TEST_F(ReplacingWriteTest, AFileWithOtherHardLinksIsNotSplitFromThem)
{
    simpleDocument("doc", "doc.xml", "r", {{"x", "1"}});
    const std::string file = writeFile("shared.xml", "<old/>");
    ASSERT_EQ(::link(file.c_str(), tempPath("other.xml").c_str()), 0);
    expectFailed(save("-node doc -file " + quoted(file)),
                 "Cannot export doc to " + file + ": will not replace " + file +
                     ": it has 1 other hard link(s), which replacing it would leave with the old content");
    EXPECT_EQ(readFile(tempPath("other.xml")), "<old/>");
    EXPECT_EQ(readFile(file), "<old/>");
    EXPECT_EQ(entries(), (Lines{"other.xml", "shared.xml"}));
}

TEST_F(ReplacingWriteTest, LinksOfOtherUsersAreNeverFollowedOwnLinksStay)
{
    const std::string file = writeFile("mine.xml", "<old/>");
    const std::string link = tempPath("planted.xml");
    ASSERT_EQ(::symlink(file.c_str(), link.c_str()), 0);
    simpleDocument("doc", link, "r", {{"x", "1"}});
    if (::geteuid() == 0) {
        // As root the test can give the link to another user.
        ASSERT_EQ(::lchown(link.c_str(), 65534, 65534), 0);
        const std::string refusal = "will not write through the symbolic link " + link +
                                    ", which belongs to another user";
        expectFailed(save("-node doc -file " + quoted(link)), "Cannot export doc to " + link + ": " + refusal);
        expectFailed(save("-alldoc"), "Cannot export doc to " + link + ": " + refusal);
        EXPECT_EQ(readFile(file), "<old/>");
        ASSERT_EQ(::lchown(link.c_str(), 0, 0), 0);
    }
    // The user's own link: its target is replaced in its own folder.
    expectSucceeded(save("-alldoc"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(file), kWritten);
    EXPECT_EQ(entries(), (Lines{"mine.xml", "planted.xml"}));
}

TEST_F(ReplacingWriteTest, PathsFromTheSceneAreWrittenOnlyOntoRegularFiles)
{
    const std::string fifo = tempPath("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    simpleDocument("d1", "/dev/null", "r");
    simpleDocument("d2", fifo, "r");
    takeOutput();
    Outcome outcome = save("-alldoc");  // a FIFO opened for writing would hang here
    EXPECT_EQ(outcome.status, MS::kFailure);
    EXPECT_EQ(outcome.errors,
              (Lines{"Cannot export d1 to /dev/null: will not write /dev/null: it is a character device, "
                     "not a regular file (the path comes from the document's name)",
                     "Cannot export d2 to " + fifo + ": will not write " + fifo +
                         ": it is a FIFO (named pipe), not a regular file (the path comes from the "
                         "document's name)"}));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_fifo(fifo));
    // Named by the user, a device is written; a FIFO nobody reads fails
    // at once rather than hanging.
    expectSucceeded(save("-node d1 -file /dev/null"));
    expectFailed(save("-node d1 -file " + quoted(fifo)),
                 "Cannot export d1 to " + fifo + ": cannot write " + fifo + ": No such device or address");
    // With a reader it is written (the few bytes fit in the pipe).
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    expectSucceeded(save("-node d1 -file " + quoted(fifo)));
    std::string received(64, '\0');
    received.resize(static_cast<std::size_t>(std::max<ssize_t>(0, ::read(reader, &received[0], 64))));
    ::close(reader);
    EXPECT_EQ(received, "\n<r/>");
}

TEST_F(ReplacingWriteTest, AValueThatCannotBeReadFailsTheNodeWithTheCount)
{
    simpleDocument("doc", "doc.xml", "r", {{"x", "1"}, {"y", "2"}});
    MObject leaf = node("doc_x");
    attribute(leaf, "k", "v");
    const std::string file = writeFile("kept.xml", "<old/>");
    // Count the reads of one clean export, then fail each in turn.
    dghost::fault::clear();
    expectSucceeded(save("-node doc -file " + quoted(file)));
    const unsigned reads = dghost::fault::calls("getValue");
    unsigned lost = 0;
    for (unsigned nth = 1; nth <= reads; ++nth) {
        writeFile("kept.xml", "<old/>");
        dghost::fault::clear();
        dghost::fault::failCall("getValue", nth);
        const Outcome outcome = save("-node doc -file " + quoted(file));
        if (outcome.status == MS::kSuccess)
            continue;  // a read the export does not depend on
        EXPECT_EQ(readFile(file), "<old/>") << nth;
        const std::string text = ::testing::PrintToString(outcome.errors);
        lost += contains(text, "1 name or value could not be read from the scene (see the error lines)");
        EXPECT_TRUE(contains(takeOutput(), "(kFailure): ")) << nth;
    }
    // r's value; x's and y's values; the attribute's name and value.
    EXPECT_GE(lost, 5u);
    EXPECT_EQ(entries(), (Lines{"kept.xml"}));
}

TEST_F(ReplacingWriteTest, TextBesideChildElementsIsAnnouncedNotSilentlyDropped)
{
    const std::string source = writeFile("in.xml", "<r><p>Hello <b>world</b>!</p><q>x<i>y</i></q>"
                                                   "<s>\n  <t>z</t>\n</s>tail</r>");
    ASSERT_EQ(run("XmlLoadFile -f " + quoted(source) + " -n doc").text, "Read Succesfull");
    const std::string file = tempPath("out.xml");
    Outcome outcome = save("-node doc -file " + quoted(file));
    expectSucceeded(outcome);
    EXPECT_EQ(outcome.warnings, (Lines{"Exported doc without the text beside child elements: 3 elements "
                                       "lost such text, the first is \"r\" (node r)"}));
    // Indentation alone is no loss.
    outcome = save("-node s -file " + quoted(file));
    expectSucceeded(outcome);
    EXPECT_TRUE(outcome.warnings.empty());
    // The same warning reaches a script's output.
    const std::string mel = writeFile("mixed.mel", "loadPlugin Dendrine;\nXmlLoadFile -f " + quoted(source) +
                                                       " -n doc;\nXmlSaveFile -node doc -file " +
                                                       quoted(file) + ";\n");
    DghostRun script = runDghost({mel}, "", tempPath(""));
    EXPECT_TRUE(contains(script.err, "// Warning: Exported doc without the text beside child elements"))
        << script.err;
}

TEST_F(ReplacingWriteTest, NamesBeyondTheBasicPlaneRoundTrip)
{
    // U+10000 and U+EFFFF start names in XML 1.0 (fifth edition).
    const std::string name = "\xF0\x90\x80\x80" "a\xF3\xAF\xBF\xBF";
    // Characters XML 1.1 would write differently (U+0085, U+2028) stay as
    // they are.
    const std::string text = "v\xC2\x85\xE2\x80\xA8";
    const std::string source =
        writeFile("in.xml", "<r><" + name + " " + name + "=\"" + text + "\">" + text + "</" + name + "></r>");
    ASSERT_EQ(run("XmlLoadFile -f " + quoted(source) + " -n doc").text, "Read Succesfull");
    const std::string file = tempPath("out.xml");
    expectSucceeded(save("-node doc -file " + quoted(file)));
    EXPECT_EQ(readFile(file),
              "\n<r>\n\n  <" + name + " " + name + "=\"" + text + "\">" + text + "</" + name + ">\n\n</r>");
}

}  // namespace

namespace {

// Names by XML 1.0 (fifth edition): what the import's parser accepts.
TEST(XmlNamesTest, FifthEditionRules)
{
    for (const std::u16string name : {u"a", u"_x", u":p", u"ns:a-b.c\u00B7", u"\u00C0\u0300",
                                      u"\U00010000", u"a\U000EFFFF", u"\u3001\u203F"})
        EXPECT_TRUE(isXmlName(name)) << toUtf8(name.c_str());
    for (const std::u16string name : {u"", u"1a", u"-a", u".a", u"a b", u"a|b", u"\u00D7",
                                      u"\U000F0000", u"a\u2000", u"\u0300a"})
        EXPECT_FALSE(isXmlName(name)) << toUtf8(name.c_str());
    const char16_t lone[] = {u'a', 0xD800, 0};
    EXPECT_FALSE(isXmlName(lone));
    unsigned point = 0;
    EXPECT_FALSE(findForbiddenCharacter(u"tab\tnl\n\U0010FFFF", point));
    EXPECT_TRUE(findForbiddenCharacter(lone, point));
    EXPECT_EQ(codePointName(point), "U+D800");
    EXPECT_TRUE(findForbiddenCharacter(u"a\uFFFE", point));
    EXPECT_EQ(codePointName(point), "U+FFFE");
}

}  // namespace
