// The W3C XML conformance suite against the import: every not-well-formed
// case of the xmltest and sun sets is refused with the scene unchanged,
// every valid standalone case loads. Deviations are listed with their
// reason in w3c_known_exceptions.txt; a new deviation, or a listed case
// that now behaves, fails the test.

#include "tests/import/ImportTest.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct SuiteCase
{
    std::string id;
    std::string type;       // "not-wf" or "valid"
    std::string entities;   // "none", "general", "parameter", "both"
    fs::path file;
};

// The attributes of one <TEST ...> start tag.
std::map<std::string, std::string> attributesOf(const std::string& tag)
{
    std::map<std::string, std::string> attributes;
    size_t at = 0;
    while ((at = tag.find('=', at)) != std::string::npos)
    {
        size_t nameEnd = tag.find_last_not_of(" \t\r\n", at - 1) + 1;
        size_t nameStart = tag.find_last_of(" \t\r\n", nameEnd - 1) + 1;
        const size_t open = tag.find_first_of("\"'", at);
        const size_t close = tag.find(tag[open], open + 1);
        attributes[tag.substr(nameStart, nameEnd - nameStart)] =
            tag.substr(open + 1, close - open - 1);
        at = close + 1;
    }
    return attributes;
}

// The TEST entries of a catalog file; URIs are relative to `base`.
std::vector<SuiteCase> readCatalog(const fs::path& catalog, const fs::path& base)
{
    std::ifstream in(catalog);
    std::stringstream text;
    text << in.rdbuf();
    const std::string content = text.str();
    std::vector<SuiteCase> cases;
    for (size_t at = content.find("<TEST"); at != std::string::npos; at = content.find("<TEST", at + 1))
    {
        if (!std::isspace(static_cast<unsigned char>(content[at + 5])))
            continue;  // <TESTCASES>
        const size_t end = content.find('>', at);
        auto attributes = attributesOf(content.substr(at + 5, end - at - 5));
        const std::string entities = attributes.count("ENTITIES") ? attributes["ENTITIES"] : "none";
        cases.push_back({attributes["ID"], attributes["TYPE"], entities, base / attributes["URI"]});
    }
    return cases;
}

// Case id -> reason, from the exceptions file ('#' starts a comment).
std::map<std::string, std::string> readKnownExceptions(const std::string& path)
{
    std::map<std::string, std::string> known;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
    {
        std::istringstream words(line);
        std::string id;
        if (!(words >> id) || id[0] == '#')
            continue;
        std::string reason;
        std::getline(words, reason);
        known[id] = reason;
    }
    return known;
}

int runProgram(std::vector<std::string> arguments)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Unpacks the archive into the build tree once; false when that failed.
bool unpackSuite(const fs::path& archive, const fs::path& folder)
{
    const fs::path marker = folder / ".unpacked";
    if (fs::exists(marker))
        return true;
    fs::remove_all(folder);
    fs::create_directories(folder);
    if (runProgram({DENDRINE_CMAKE_COMMAND, "-E", "chdir", folder.string(), DENDRINE_CMAKE_COMMAND,
                    "-E", "tar", "xf", archive.string()}) != 0)
        return false;
    if (!fs::exists(folder / "xmlconf" / "xmlconf.xml"))
        return false;
    std::ofstream(marker) << archive.string() << "\n";
    return true;
}

class ImportW3cTest : public ImportTest
{
protected:
    // Whether the case behaved as the suite expects, on an empty scene.
    bool behaves(const SuiteCase& suiteCase)
    {
        dghost::newScene();
        const auto outcome = load(suiteCase.file.string());
        takeOutput();
        takeReports();
        if (suiteCase.type == "not-wf")
            return outcome.status == MS::kFailure && outcome.errors.size() == 1 &&
                   sceneNodes().empty();
        return outcome.status == MS::kSuccess && outcome.text == "Read Succesfull" &&
               run("ls -type XmlDocument").strings.size() == 1;
    }
};

TEST_F(ImportW3cTest, NotWellFormedAreRefusedAndStandaloneValidLoad)
{
    const fs::path archive = DENDRINE_W3C_ARCHIVE;
    if (!fs::exists(archive))
        GTEST_SKIP() << "no conformance suite at " << archive;
    const fs::path root = fs::path(DENDRINE_W3C_DIR);
    ASSERT_TRUE(unpackSuite(archive, root));
    const fs::path suite = root / "xmlconf";

    std::vector<SuiteCase> cases;
    const std::vector<std::pair<std::string, std::string>> catalogs{
        {"xmltest/xmltest.xml", "xmltest"}, {"sun/sun-not-wf.xml", "sun"}, {"sun/sun-valid.xml", "sun"}};
    for (const auto& [catalog, base] : catalogs)
        for (const SuiteCase& suiteCase : readCatalog(suite / catalog, suite / base))
            if (suiteCase.type == "not-wf" ||
                (suiteCase.type == "valid" && suiteCase.entities == "none"))
                cases.push_back(suiteCase);
    ASSERT_GT(cases.size(), 350u);

    const auto known = readKnownExceptions(DENDRINE_W3C_EXCEPTIONS);
    std::map<std::string, std::string> misbehaving;  // id -> file
    for (const SuiteCase& suiteCase : cases)
    {
        if (!behaves(suiteCase))
            misbehaving[suiteCase.id] = suiteCase.file.string();
        else if (known.count(suiteCase.id))
            ADD_FAILURE() << suiteCase.id << " is listed as a known exception ("
                          << known.at(suiteCase.id) << ") but now behaves: remove it";
    }
    for (const auto& [id, file] : misbehaving)
        if (!known.count(id))
            ADD_FAILURE() << "new conformance failure: " << id << " (" << file << ")";
    for (const auto& [id, reason] : known)
        EXPECT_TRUE(std::any_of(cases.begin(), cases.end(),
                                [&](const SuiteCase& c) { return c.id == id; }))
            << "known exception " << id << " is no case of the suite";
}

}  // namespace
