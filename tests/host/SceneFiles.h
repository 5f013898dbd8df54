#ifndef DENDRINE_TESTS_HOST_SCENE_FILES_H
#define DENDRINE_TESTS_HOST_SCENE_FILES_H
// Fixture of the scene-file tests: the host fixture plus a fresh folder.

#include "HostTest.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

class SceneFiles : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        const char* base = std::getenv("DENDRINE_TEST_TMP");
        dir_ = fs::path(base ? base : "/tmp") / ("scene-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        fs::remove_all(dir_);
        HostTest::TearDown();
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static dghost::CommandOutcome run(const std::string& statement) { return dghost::runCommand(statement); }
    static std::string read(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void write(const std::string& file, const std::string& text) const
    {
        std::ofstream(path(file), std::ios::binary) << text;
    }
    fs::path dir_;
};

#endif
