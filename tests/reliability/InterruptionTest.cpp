// Nothing lost under interruption: a scene save or an XML export that fails
// while writing, fails to put the new file in place, or is killed half way
// leaves the previous file as it was, and no stray file takes its name.

#include "tests/reliability/SceneCheck.h"
#include "tests/support/SceneTest.h"

#include <dghost/Fault.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
bool gFailRename = false;
}

// Interposes the C library's rename for this program (the export's
// std::filesystem::rename and the host's std::rename both end here), so a
// test can make the last step of a file replacement fail.
extern "C" int rename(const char* from, const char* to) noexcept
{
    if (gFailRename) {
        errno = EIO;
        return -1;
    }
    using RenameFunction = int (*)(const char*, const char*);
    static auto real = reinterpret_cast<RenameFunction>(dlsym(RTLD_NEXT, "rename"));
    return real(from, to);
}

namespace {

// `count` leaf elements of `valueSize` bytes each below one root.
std::string bigDocument(int count, std::size_t valueSize)
{
    std::string text = "<big>";
    const std::string value(valueSize, 'v');
    for (int i = 0; i < count; ++i) text += "<item n=\"" + std::to_string(i) + "\">" + value + "</item>";
    return text + "</big>";
}

class Interruption : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        ASSERT_TRUE(run("XmlLoadFile -f \"" + writeFile("in.xml", "<doc><old>1</old></doc>") + "\" -n \"doc\"").status);
        scene_ = tempPath("scene.ma");
        exported_ = tempPath("out.xml");
        ASSERT_TRUE(run("file -rename \"" + scene_ + "\"; file -save").status);
        ASSERT_TRUE(run(exportCommand()).status);
        oldScene_ = reliability::fileText(scene_);
        oldExport_ = reliability::fileText(exported_);
        ASSERT_FALSE(oldExport_.empty());
    }

    void TearDown() override
    {
        gFailRename = false;
        SceneTest::TearDown();
    }

    std::string exportCommand() { return "XmlSaveFile -n \"doc\" -f \"" + exported_ + "\""; }

    // Makes the scene and its export differ from what the files hold.
    void change(std::size_t valueSize = 64)
    {
        ASSERT_TRUE(run("select -r old; XmlElement -e -xv \"" + std::string(valueSize, 'n') + "\"").status);
    }

    // The test folder holds only the files the test wrote: no leftover
    // temporary file beside the targets.
    void expectOnlyOwnFiles()
    {
        for (const auto& entry : fs::directory_iterator(tempPath("")))
            EXPECT_TRUE(entry.path() == scene_ || entry.path() == exported_ || entry.path().filename() == "in.xml")
                << "left behind: " << entry.path();
    }

    void expectFilesAsBefore()
    {
        EXPECT_EQ(reliability::fileText(scene_), oldScene_);
        EXPECT_EQ(reliability::fileText(exported_), oldExport_);
    }

    std::string scene_, exported_, oldScene_, oldExport_;
};

TEST_F(Interruption, AFailedSceneWriteOrRenameKeepsThePreviousScene)
{
    change();
    for (const char* op : {"writeScene", "renameScene"}) {
        dghost::fault::failCall(op, 1);
        EXPECT_FALSE(run("file -save").status) << op;
        expectFilesAsBefore();
    }
    gFailRename = true;
    EXPECT_FALSE(run("file -save").status);
    gFailRename = false;
    expectFilesAsBefore();
    expectOnlyOwnFiles();
    // The kept file still opens into the scene it was saved from.
    ASSERT_TRUE(run("file -new -force; file -open \"" + scene_ + "\"").status);
    EXPECT_EQ(run("getAttr old.XValue").text, "1");
}

TEST_F(Interruption, AnExportThatCannotWriteKeepsThePreviousFile)
{
    change(256 * 1024);
    // The file size limit makes the export's writes fail part way, as a
    // full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    dghost::CommandOutcome failed = run(exportCommand());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(failed.status);
    ASSERT_FALSE(failed.errors.empty());
    EXPECT_NE(failed.errors[0].find(exported_), std::string::npos) << failed.errors[0];
    expectFilesAsBefore();
    expectOnlyOwnFiles();
}

TEST_F(Interruption, AnExportThatCannotReplaceTheFileKeepsIt)
{
    change();
    gFailRename = true;
    dghost::CommandOutcome failed = run(exportCommand());
    gFailRename = false;
    EXPECT_FALSE(failed.status);
    expectFilesAsBefore();
    expectOnlyOwnFiles();
    // Once the rename works again the export goes through.
    EXPECT_TRUE(run(exportCommand()).status);
    EXPECT_NE(reliability::fileText(exported_), oldExport_);
}

// A child process runs `statement`; with a positive `killAfter` it is
// killed after that long. Returns false when it could not be started.
bool runInChild(const std::string& statement, std::chrono::microseconds killAfter)
{
    std::fflush(nullptr);
    pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        dghost::runCommand(statement);
        _exit(0);
    }
    if (killAfter.count() > 0) {
        ::usleep(static_cast<useconds_t>(killAfter.count()));
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return true;
}

// Kills the save or export at spread-out moments of its run: the file is
// always either the previous one or the complete new one.
TEST_F(Interruption, KilledHalfWayTheFileIsTheOldOrTheNewOne)
{
    ASSERT_TRUE(run("XmlLoadFile -f \"" + writeFile("big.xml", bigDocument(2000, 512)) + "\" -n \"big\"").status);
    change();
    const std::string exportText = "XmlSaveFile -n \"big\" -f \"" + exported_ + "\"";
    for (const std::string& statement : {std::string("file -save"), exportText}) {
        const std::string& target = statement == exportText ? exported_ : scene_;
        const std::string old = reliability::fileText(target);
        // A clean run in a child gives the new file and the time it takes.
        auto started = std::chrono::steady_clock::now();
        ASSERT_TRUE(runInChild(statement, std::chrono::microseconds(0)));
        auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
        const std::string complete = reliability::fileText(target);
        ASSERT_NE(complete, old) << statement;
        std::ofstream(target, std::ios::binary | std::ios::trunc) << old;
        int killedBeforeTheEnd = 0;
        for (int step = 1; step <= 8; ++step) {
            ASSERT_TRUE(runInChild(statement, took * step / 9));
            std::string now = reliability::fileText(target);
            killedBeforeTheEnd += now == old;
            EXPECT_TRUE(now == old || now == complete) << statement << ": killed at step " << step
                                                       << " left a file of " << now.size() << " bytes";
            std::ofstream(target, std::ios::binary | std::ios::trunc) << old;
        }
        EXPECT_GT(killedBeforeTheEnd, 0) << statement << ": no kill came before the end";
    }
}

}  // namespace
