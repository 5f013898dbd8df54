// Scene files from elsewhere: only regular files are read, plug-ins load by
// name only and never from a file that is cut short, saves are durable and
// keep permissions and hard links, and content that never was a scene is
// not echoed back.

#include "SceneFiles.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

class SceneFileSafety : public SceneFiles {
protected:
    // A saved scene that needs the probe plug-in, which is then unloaded
    // and findable by name along the plug-in path.
    std::string sceneNeedingProbe()
    {
        probe("needsProbe");
        EXPECT_TRUE(run("file -rename \"" + path("s.ma") + "\"; file -save; file -new").status);
        std::string error;
        EXPECT_TRUE(dghost::unloadPlugin("ProbePlugin", &error)) << error;
        const std::string module = PROBE_PLUGIN;
        ::setenv("MAYA_PLUG_IN_PATH", module.substr(0, module.rfind('/')).c_str(), 1);
        return read(path("s.ma"));
    }
    void TearDown() override
    {
        ::unsetenv("MAYA_PLUG_IN_PATH");
        SceneFiles::TearDown();
    }
    std::string openError(const std::string& file)
    {
        auto out = run("file -f -open \"" + file + "\"");
        EXPECT_FALSE(out.status) << file;
        return out.errors.empty() ? "" : out.errors[0];
    }
    std::size_t entries() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }
};

}  // namespace

TEST_F(SceneFileSafety, OnlyRegularFilesAreOpenedAndTheRefusalSaysWhatThePathIs)
{
    probe("keep");
    ASSERT_EQ(::mkfifo(path("pipe.ma").c_str(), 0600), 0);
    fs::create_directory(path("folder.ma"));
    EXPECT_EQ(openError(path("pipe.ma")),
              "Cannot open scene " + path("pipe.ma") + ": it is a FIFO, not a regular file");
    EXPECT_EQ(openError(path("folder.ma")),
              "Cannot open scene " + path("folder.ma") + ": it is a directory, not a regular file");
    EXPECT_EQ(openError("/dev/zero"), "Cannot open scene /dev/zero: it is a character device, not a regular file");
    EXPECT_EQ(run("ls -dep").strings, std::vector<std::string>{"keep"});
}

TEST_F(SceneFileSafety, RequiresNamesAPluginNeverAPath)
{
    std::string saved = sceneNeedingProbe();
    const std::string line = "requires \"ProbePlugin\" \"1.0\";";
    for (const std::string& named : {std::string(PROBE_PLUGIN), std::string("plug-ins/ProbePlugin"),
                                    std::string("../ProbePlugin"), std::string(".."), std::string("a\\b")}) {
        std::string text = saved;
        text.replace(text.find(line), line.size(), "requires \"" + named + "\" \"1.0\";");
        write("path.ma", text);
        EXPECT_NE(openError(path("path.ma")).find(":3: requires names a path, not a plug-in: " + named),
                  std::string::npos)
            << named;
        EXPECT_FALSE(dghost::isPluginLoaded("ProbePlugin")) << named;
    }
    // By its name it loads, from the plug-in path.
    ASSERT_TRUE(run("file -f -open \"" + path("s.ma") + "\"").status);
    EXPECT_TRUE(dghost::isPluginLoaded("ProbePlugin"));
    // loadPlugin typed by the user may still take a path.
    ASSERT_TRUE(run("file -new -f").status);
    ASSERT_TRUE(dghost::unloadPlugin("ProbePlugin"));
    EXPECT_TRUE(run(std::string("loadPlugin \"") + PROBE_PLUGIN + "\"").status);
}

TEST_F(SceneFileSafety, AFileCutShortOrBrokenLoadsNoPlugin)
{
    std::string saved = sceneNeedingProbe();
    write("cut.ma", saved.substr(0, saved.rfind("//")));
    EXPECT_NE(openError(path("cut.ma")).find("(cut short?)"), std::string::npos);
    EXPECT_FALSE(dghost::isPluginLoaded("ProbePlugin"));
    // A statement a scene may not hold, after the requires line.
    write("bad.ma", saved + "print \"x\";\n");
    EXPECT_NE(openError(path("bad.ma")).find("'print' is not allowed in a scene file"), std::string::npos);
    EXPECT_FALSE(dghost::isPluginLoaded("ProbePlugin"));
}

TEST_F(SceneFileSafety, AByteOrderMarkIsSkipped)
{
    probe("marked");
    ASSERT_TRUE(run("file -rename \"" + path("s.ma") + "\"; file -save").status);
    write("bom.ma", "\xEF\xBB\xBF" + read(path("s.ma")));
    ASSERT_TRUE(run("file -f -open \"" + path("bom.ma") + "\"").status);
    EXPECT_EQ(run("ls -dep").strings, std::vector<std::string>{"marked"});
}

TEST_F(SceneFileSafety, AFileThatIsNoSceneIsNotQuoted)
{
    write("shadow", "root:$6$secretsalt$hash:19000:0:99999:7:::\ndaemon:*:19000:0:99999:7:::\n");
    std::string error = openError(path("shadow"));
    EXPECT_EQ(error, path("shadow") + ":1: not a scene file");
    write("words", "hunter2 is the password\n");
    EXPECT_EQ(openError(path("words")), path("words") + ":1: not a scene file");
}

TEST_F(SceneFileSafety, NewSceneNeedsForceAfterChanges)
{
    probe("unsaved");
    auto refused = run("file -new");
    EXPECT_FALSE(refused.status);
    ASSERT_EQ(refused.errors.size(), 1u);
    EXPECT_NE(refused.errors[0].find("unsaved changes"), std::string::npos);
    EXPECT_EQ(run("ls -dep").strings, std::vector<std::string>{"unsaved"});
    EXPECT_TRUE(run("file -new -force").status);
    EXPECT_TRUE(run("ls -dep").strings.empty());
    EXPECT_TRUE(run("file -new").status);  // nothing to lose now
}

TEST_F(SceneFileSafety, SaveSyncsFileAndFolderAndLeavesNoTemporaryFile)
{
    probe("a");
    ASSERT_TRUE(run("file -rename \"" + path("s.ma") + "\"; file -save").status);
    EXPECT_EQ(dghost::fault::calls("syncScene"), 2u);  // the file, then its folder
    const std::string before = read(path("s.ma"));
    probe("b");
    // A failed file sync keeps the old file.
    dghost::fault::failCall("syncScene", 1);
    EXPECT_FALSE(run("file -save").status);
    EXPECT_EQ(read(path("s.ma")), before);
    EXPECT_EQ(entries(), 1u);
    // A failed folder sync comes after the rename, and says so.
    dghost::fault::failCall("syncScene", 2);
    auto out = run("file -save");
    EXPECT_FALSE(out.status);
    ASSERT_EQ(out.errors.size(), 1u);
    EXPECT_NE(out.errors[0].find("its folder could not be synced"), std::string::npos);
    EXPECT_NE(read(path("s.ma")).find("\"b\""), std::string::npos);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(SceneFileSafety, SavedFilesGetTheUmaskOrKeepTheTargetsPermissions)
{
    probe("a");
    const mode_t old = ::umask(022);
    ASSERT_TRUE(run("file -rename \"" + path("new.ma") + "\"; file -save").status);
    struct stat info;
    ASSERT_EQ(::stat(path("new.ma").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
    ASSERT_EQ(::chmod(path("new.ma").c_str(), 0640), 0);
    ASSERT_TRUE(run("file -save").status);
    ASSERT_EQ(::stat(path("new.ma").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    ::umask(old);
}

TEST_F(SceneFileSafety, HardLinksAndOwnSymlinksKeepSeeingTheSavedScene)
{
    probe("first");
    ASSERT_TRUE(run("file -rename \"" + path("s.ma") + "\"; file -save").status);
    fs::create_hard_link(path("s.ma"), path("other-name.ma"));
    fs::create_symlink(path("s.ma"), path("link.ma"));
    probe("second");
    ASSERT_TRUE(run("file -save").status);
    EXPECT_EQ(read(path("other-name.ma")), read(path("s.ma")));
    EXPECT_NE(read(path("s.ma")).find("second"), std::string::npos);
    probe("third");
    ASSERT_TRUE(run("file -rename \"" + path("link.ma") + "\"; file -save").status);
    EXPECT_TRUE(fs::is_symlink(path("link.ma")));
    EXPECT_NE(read(path("other-name.ma")).find("third"), std::string::npos);
    EXPECT_EQ(entries(), 3u);
    // A link to a file not made yet makes that file and stays a link.
    fs::create_symlink("made-later.ma", path("ahead.ma"));
    ASSERT_TRUE(run("file -rename \"" + path("ahead.ma") + "\"; file -save").status);
    EXPECT_TRUE(fs::is_symlink(path("ahead.ma")));
    EXPECT_NE(read(path("made-later.ma")).find("third"), std::string::npos);
}

TEST_F(SceneFileSafety, LongNamesSaveAndOddTargetsAreRefused)
{
    probe("a");
    const std::string longName(250, 'n');
    ASSERT_TRUE(run("file -rename \"" + path(longName) + "\"; file -save").status);
    EXPECT_NE(read(path(longName)).find("createNode probe"), std::string::npos);
    EXPECT_EQ(entries(), 1u);
    fs::create_directory(path("folder.ma"));
    auto out = run("file -rename \"" + path("folder.ma") + "\"; file -save");
    EXPECT_FALSE(out.status);
    if (::geteuid() == 0) {
        // A link planted by another user is not followed.
        fs::create_symlink(path(longName), path("planted.ma"));
        ASSERT_EQ(::lchown(path("planted.ma").c_str(), 65534, 65534), 0);
        auto planted = run("file -rename \"" + path("planted.ma") + "\"; file -save");
        EXPECT_FALSE(planted.status);
        ASSERT_FALSE(planted.errors.empty());
        EXPECT_NE(planted.errors[0].find("symbolic link owned by another user"), std::string::npos);
    }
}
