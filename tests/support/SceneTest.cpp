#include "tests/support/SceneTest.h"

#include <dghost/Fault.h>
#include <maya/MSelectionList.h>
#include <maya/MGlobal.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

MStatus initializePlugin(MObject obj);
MStatus uninitializePlugin(MObject obj);

namespace fs = std::filesystem;

void loadDendrineInProcess()
{
    if (dghost::isPluginLoaded("Dendrine")) return;
    std::string error;
    MStatus status = dghost::loadLinkedPlugin("Dendrine", initializePlugin, uninitializePlugin, &error);
    ASSERT_TRUE(status) << error;
}

void SceneTest::SetUp()
{
    dghost::fault::clear();
    dghost::newScene();
    loadDendrineInProcess();
    saved_ = std::cout.rdbuf(captured_.rdbuf());
}

void SceneTest::TearDown()
{
    std::cout.rdbuf(saved_);
    dghost::fault::clear();
    dghost::newScene();
    if (!tempDir_.empty()) {
        std::error_code ignored;
        fs::remove_all(tempDir_, ignored);
    }
}

std::string SceneTest::takeOutput()
{
    std::string text = captured_.str();
    captured_.str("");
    return text;
}

dghost::CommandOutcome SceneTest::run(const std::string& statement) { return dghost::runCommand(statement); }

MObject SceneTest::node(const std::string& name)
{
    MSelectionList list;
    MObject found;
    if (list.add(MString(name.c_str())) && list.length() == 1) list.getDependNode(0, found);
    return found;
}

std::string SceneTest::tempPath(const std::string& fileName)
{
    if (tempDir_.empty()) {
        const char* base = std::getenv("DENDRINE_TEST_TMP");
        fs::path root = base ? fs::path(base) : fs::temp_directory_path() / "dendrine-tests";
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        fs::path dir = root / (std::string(info->test_suite_name()) + "." + info->name() + "." +
                               std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        tempDir_ = dir.string();
    }
    return tempDir_ + "/" + fileName;
}

std::string SceneTest::writeFile(const std::string& fileName, const std::string& content)
{
    std::string path = tempPath(fileName);
    std::ofstream out(path, std::ios::binary);
    out << content;
    return path;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

namespace {

std::string slurp(int fd)
{
    std::string text;
    char buffer[65536];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

}  // namespace

DghostRun runDghost(const std::vector<std::string>& args, const std::string& stdinText, const std::string& workDir)
{
    // Standard input, output and error go through files, which avoids pipe
    // deadlocks on large outputs.
    char inName[] = "/tmp/dghost-in-XXXXXX", outName[] = "/tmp/dghost-out-XXXXXX",
         errName[] = "/tmp/dghost-err-XXXXXX";
    int inFd = mkstemp(inName), outFd = mkstemp(outName), errFd = mkstemp(errName);
    DghostRun result;
    if (inFd < 0 || outFd < 0 || errFd < 0) return result;
    if (::write(inFd, stdinText.data(), stdinText.size()) < 0) return result;
    ::lseek(inFd, 0, SEEK_SET);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(inFd, 0);
        dup2(outFd, 1);
        dup2(errFd, 2);
        if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(127);
        std::vector<char*> argv;
        std::string exe = DGHOST_EXE;
        argv.push_back(exe.data());
        std::vector<std::string> copies(args);
        for (std::string& a : copies) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    ::lseek(outFd, 0, SEEK_SET);
    ::lseek(errFd, 0, SEEK_SET);
    result.out = slurp(outFd);
    result.err = slurp(errFd);
    for (int fd : {inFd, outFd, errFd}) ::close(fd);
    for (const char* name : {inName, outName, errName}) ::unlink(name);
    return result;
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}
