#ifndef DENDRINE_TESTS_SCENE_TEST_H
#define DENDRINE_TESTS_SCENE_TEST_H
// Test fixtures: a fresh scene per test with the plug-in loaded in-process,
// the plug-in's standard output captured, a temporary folder, and a way to
// run the dghost program itself.

#include <dghost/Host.h>
#include <gtest/gtest.h>
#include <maya/MObject.h>

#include <sstream>
#include <string>
#include <vector>

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // What the plug-in wrote to std::cout since the last call.
    std::string takeOutput();
    // Runs one command statement (host or plug-in command).
    dghost::CommandOutcome run(const std::string& statement);
    // The node of that name, or a null object.
    MObject node(const std::string& name);
    // A path in a folder made fresh for this test.
    std::string tempPath(const std::string& fileName);
    // Writes a file in the test's folder and returns its path.
    std::string writeFile(const std::string& fileName, const std::string& content);

private:
    std::ostringstream captured_;
    std::streambuf* saved_ = nullptr;
    std::string tempDir_;
};

struct DghostRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs build/bin/dghost with the arguments and standard input, in `workDir`
// when given.
DghostRun runDghost(const std::vector<std::string>& args, const std::string& stdinText = "",
                    const std::string& workDir = "");

// Whether `part` occurs in `text`.
bool contains(const std::string& text, const std::string& part);

// Reads a whole file; empty when it cannot be read.
std::string readFile(const std::string& path);

// Loads the plug-in linked into the test program (once per process).
void loadDendrineInProcess();

#endif
