// Every allocation failure survived: the global operator new of this
// program counts the allocations a command's doIt makes and can throw
// std::bad_alloc at the Nth one (once). Each command runs once cleanly to
// count them and to record what it answers, then once per swept N in a
// fresh scene. After each run the command has returned on its own (nothing
// escaped doIt), either with the clean run's answer and effect or with a
// failure status and one clear error; a failed import leaves no node, a
// failed export leaves the target file as it was, and the XML library is
// shut down again.

#include "tests/reliability/SceneCheck.h"
#include "tests/support/SceneTest.h"

#include "commands/XmlQueryCmd.h"
#include "export/XmlSaveFileCmd.h"
#include "import/XmlLoadFileCmd.h"
#include "xml/XmlSession.h"

// The plug-in linked in defines the version text already.
#define MNoVersionString
#include <maya/MFnPlugin.h>
#include <dghost/Fault.h>
#include <xercesc/util/PlatformUtils.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include <cstring>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// Plain data only: it is used by operator new itself.
struct AllocationCounter {
    bool counting = false;      // inside a swept command's doIt
    unsigned long count = 0;    // allocations counted since the last reset
    unsigned long failAt = 0;   // 0: none fails
    bool escaped = false;       // an exception left doIt
};

AllocationCounter gCounter;

// True when this allocation is the one to fail.
bool countAllocation()
{
    return gCounter.counting && ++gCounter.count == gCounter.failAt;
}

void* allocate(std::size_t size)
{
    if (countAllocation())
        throw std::bad_alloc();
    void* memory = std::malloc(size != 0 ? size : 1);
    if (memory == nullptr)
        throw std::bad_alloc();
    return memory;
}

void* allocateAligned(std::size_t size, std::align_val_t alignment)
{
    if (countAllocation())
        throw std::bad_alloc();
    void* memory = nullptr;
    const std::size_t align = std::max(static_cast<std::size_t>(alignment), sizeof(void*));
    if (::posix_memalign(&memory, align, size != 0 ? size : 1) != 0)
        throw std::bad_alloc();
    return memory;
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, std::align_val_t a) { return allocateAligned(size, a); }
void* operator new[](std::size_t size, std::align_val_t a) { return allocateAligned(size, a); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

// A plug-in command whose doIt alone is counted: the host's parsing of the
// statement and its creation of the command are not.
template <typename Command>
class Swept : public Command {
public:
    static void* creator() { return new Swept; }

    MStatus doIt(const MArgList& args) override
    {
        gCounter.counting = true;
        try {
            const MStatus status = Command::doIt(args);
            gCounter.counting = false;
            return status;
        } catch (...) {
            gCounter.counting = false;
            gCounter.escaped = true;
            throw;
        }
    }
};

MStatus initializeSwept(MObject plugin)
{
    MFnPlugin fn(plugin, "tests", "1.0");
    MStatus status = fn.registerCommand("SweptXmlLoadFile", Swept<XmlLoadFileCmd>::creator,
                                        XmlLoadFileCmd::newSyntax);
    if (status)
        status = fn.registerCommand("SweptXmlSaveFile", Swept<XmlSaveFileCmd>::creator,
                                    XmlSaveFileCmd::newSyntax);
    if (status)
        status = fn.registerCommand("SweptXmlQuery", Swept<XmlQueryCmd>::creator, XmlQueryCmd::newSyntax);
    return status;
}

MStatus uninitializeSwept(MObject plugin)
{
    MFnPlugin fn(plugin);
    fn.deregisterCommand("SweptXmlLoadFile");
    fn.deregisterCommand("SweptXmlSaveFile");
    fn.deregisterCommand("SweptXmlQuery");
    return MS::kSuccess;
}

const char kDocument[] =
    "<farm version=\"2\"><server host=\"h\" port=\"1\"><timeout>30</timeout></server>"
    "<queue name=\"q\"><priority>5</priority></queue></farm>";
const char kPreviousExport[] = "<previous/>\n";
const char kUnusableLibrary[] = "and cannot be used again until the application is restarted";

// Above this many allocations, this many are failed: every one of the last
// kTail (where the plug-in builds the tree or writes the file, after the
// XML library's start and parse), and the rest evenly spread over the
// others, the first always among them.
const unsigned long kMaxSwept = 1000;
const unsigned long kTail = 200;

std::vector<unsigned long> allocationsToFail(unsigned long count, unsigned long most)
{
    std::vector<unsigned long> chosen;
    if (count <= most) {
        for (unsigned long n = 1; n <= count; ++n) chosen.push_back(n);
        return chosen;
    }
    const unsigned long tail = std::min(kTail, most / 2);
    const unsigned long head = count - tail, spread = most - tail;
    for (unsigned long i = 0; i < spread; ++i) chosen.push_back(1 + (head - 1) * i / (spread - 1));
    for (unsigned long n = head + 1; n <= count; ++n) chosen.push_back(n);
    return chosen;
}

struct Totals {
    unsigned long commands = 0, allocations = 0, failed = 0, refused = 0;
};

Totals& totals()
{
    static Totals t;
    return t;
}

class SweepReport : public ::testing::Environment {
public:
    void TearDown() override
    {
        std::printf("allocation-failure sweep: %lu commands, %lu allocations counted, %lu swept, "
                    "%lu of them refused the command\n",
                    totals().commands, totals().allocations, totals().failed, totals().refused);
    }
};
const auto* const kReport = ::testing::AddGlobalTestEnvironment(new SweepReport);

// What one run left behind.
struct SweptRun {
    dghost::CommandOutcome outcome;
    bool escaped = false;
    unsigned long allocations = 0;
};

// Judges one run: the problems found, one per line; "" when none.
using Judge = std::function<std::string(const SweptRun&)>;

class AllocationFailureSweep : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        if (!dghost::isPluginLoaded("SweptCommands")) {
            std::string error;
            ASSERT_TRUE(dghost::loadLinkedPlugin("SweptCommands", initializeSwept, uninitializeSwept, &error))
                << error;
        }
        input_ = writeFile("farm.xml", kDocument);
        output_ = tempPath("out.xml");
    }

    // A fresh scene, with the document imported when `imported`, and the
    // export target holding its previous content. False when the import
    // failed.
    bool prepare(bool imported)
    {
        dghost::newScene();
        const bool ready = !imported || run("XmlLoadFile -f \"" + input_ + "\" -n \"doc\"").status;
        writeFile("out.xml", kPreviousExport);
        takeOutput();
        return ready;
    }

    // Runs `statement` with the `failAt`th allocation of its doIt failing
    // (0: none).
    SweptRun sweptRun(const std::string& statement, unsigned long failAt)
    {
        gCounter = AllocationCounter();
        gCounter.failAt = failAt;
        SweptRun result;
        result.outcome = run(statement);
        result.escaped = gCounter.escaped;
        result.allocations = gCounter.count;
        gCounter = AllocationCounter();
        // A failed allocation inside the log's stream marks it bad.
        std::cout.clear();
        takeOutput();
        return result;
    }

    // The errors of the swept command itself. A host command it runs
    // (ls) that runs out of memory is reported by the host under that
    // command's name; those reports are the host's, not the plug-in's.
    static std::vector<std::string> commandErrors(const SweptRun& result)
    {
        std::vector<std::string> errors;
        for (const std::string& error : result.outcome.errors) {
            if (error.rfind("Swept", 0) == 0 || !contains(error, ": the command ended with an unexpected exception"))
                errors.push_back(error);
        }
        return errors;
    }

    // What every run must satisfy, whatever it answered: it returned on
    // its own, and a refusal is one clear error.
    static std::string returnProblems(const SweptRun& result)
    {
        std::string problems;
        if (result.escaped)
            problems += "an exception left doIt\n";
        const std::vector<std::string> errors = commandErrors(result);
        for (const std::string& error : errors) {
            if (contains(error, "unexpected exception"))
                problems += "the host caught: " + error + "\n";
        }
        if (result.outcome.status != MS::kSuccess && (errors.size() != 1 || errors[0].empty())) {
            problems += "refused with " + std::to_string(errors.size()) + " errors:";
            for (const std::string& error : errors) problems += " [" + error + "]";
            problems += "\n";
        }
        // The library is shut down on every path, unless it broke.
        if (xercesc::XMLPlatformUtils::fgTransService != nullptr && XmlSession::usable())
            problems += "the XML library was left initialised\n";
        return problems;
    }

    std::string sceneText()
    {
        std::string error;
        std::string text = reliability::saveSceneText(tempPath("scene.ma"), error);
        return error.empty() ? text : "cannot save the scene: " + error;
    }

    // The child's part of sweepOne: the first line says how the failed run
    // ended ("done", "refused: ERROR"), the problems follow.
    std::string runTwice(const std::string& statement, bool imported, unsigned long n, const Judge& judge)
    {
        if (!prepare(imported))
            return "done\nthe setup failed\n";
        const SweptRun failed = sweptRun(statement, n);
        const std::vector<std::string> errors = commandErrors(failed);
        std::string report = failed.outcome.status == MS::kSuccess ? "done\n"
                             : "refused: " + (errors.empty() ? std::string() : errors[0]) + "\n";
        report += returnProblems(failed) + judge(failed);
        // The next run works, or, when the library broke, says so.
        const bool broke = !XmlSession::usable();
        if (!prepare(imported))
            return report + (broke ? "" : "then without failure: the setup failed\n");
        const SweptRun again = sweptRun(statement, 0);
        std::string problems = returnProblems(again) + judge(again);
        if (broke && (again.outcome.errors.empty() || !contains(again.outcome.errors[0], kUnusableLibrary)))
            problems += "not refused as a library that cannot start again\n";
        if (!broke && again.outcome.status != MS::kSuccess)
            problems += "failed\n";
        return problems.empty() ? report : report + "then without failure: " + problems;
    }

    // Runs `statement` with allocation `n` failing in a child process (a
    // crash or a library left broken stays there), judges it, then runs
    // it again without failure and judges that too: the process stays
    // usable or says why. The problems found, each led by where.
    std::string sweepOne(const std::string& statement, bool imported, unsigned long n, const Judge& judge)
    {
        int channel[2];
        if (::pipe(channel) != 0)
            return "cannot make a pipe\n";
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(channel[0]);
            const std::string report = runTwice(statement, imported, n, judge);
            const bool sent = ::write(channel[1], report.data(), report.size()) ==
                              static_cast<ssize_t>(report.size());
            std::_Exit(sent ? 0 : 1);
        }
        ::close(channel[1]);
        std::string report;
        char buffer[4096];
        for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
            report.append(buffer, static_cast<std::size_t>(got));
        ::close(channel[0]);
        int wait = 0;
        ::waitpid(child, &wait, 0);
        if (!WIFEXITED(wait) || WEXITSTATUS(wait) != 0)
            return "allocation " + std::to_string(n) + ": the process ended (wait status " +
                   std::to_string(wait) + ") after: " + report + "\n";
        const std::size_t firstLineEnd = report.find('\n');
        const std::string verdict = report.substr(0, firstLineEnd);
        if (verdict.rfind("refused: ", 0) == 0) {
            errors_.push_back(verdict.substr(9));
            ++totals().refused;
        }
        std::string problems = firstLineEnd == std::string::npos ? report : report.substr(firstLineEnd + 1);
        return problems.empty() ? problems : "allocation " + std::to_string(n) + ": " + problems;
    }

    // Counts the allocations of a clean run, then sweeps them (at most
    // `most` of them).
    void sweep(const std::string& statement, bool imported, const SweptRun& clean, const Judge& judge,
               unsigned long most = kMaxSwept)
    {
        ASSERT_GT(clean.allocations, 0u);
        totals().commands++;
        totals().allocations += clean.allocations;
        for (unsigned long n : allocationsToFail(clean.allocations, most)) {
            ++totals().failed;
            const std::string problems = sweepOne(statement, imported, n, judge);
            ASSERT_EQ(problems, "");
        }
    }

    // Whether any refused run's error contains `part`.
    bool anyErrorContains(const std::string& part) const
    {
        for (const std::string& error : errors_) {
            if (contains(error, part))
                return true;
        }
        return false;
    }

    // Files in the test's folder other than the input, output and scene.
    std::string strayFiles()
    {
        std::string stray;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(output_).parent_path())) {
            const std::string name = entry.path().filename().string();
            if (name != "farm.xml" && name != "out.xml" && name != "scene.ma")
                stray += " " + name;
        }
        return stray;
    }

    // Sweeps an import into an empty scene, or beside an earlier import:
    // a failed one leaves the scene as it was, a successful one as a clean
    // run does.
    void sweepImport(bool beside, unsigned long most)
    {
        const std::string statement = "SweptXmlLoadFile -f \"" + input_ + "\" -n \"doc\"";
        ASSERT_TRUE(prepare(beside));
        const std::string before = sceneText();
        const SweptRun clean = sweptRun(statement, 0);
        ASSERT_EQ(clean.outcome.text, "Read Succesfull");
        const std::string imported = sceneText();
        const Judge judge = [&](const SweptRun& result) -> std::string {
            if (result.outcome.status != MS::kSuccess)
                return sceneText() == before ? "" : "the failed import changed the scene\n";
            if (result.outcome.text != "Read Succesfull")
                return "succeeded with \"" + result.outcome.text + "\"\n";
            return sceneText() == imported ? "" : "the scene differs from a clean import's\n";
        };
        sweep(statement, beside, clean, judge, most);
    }

    std::string input_, output_;
    std::vector<std::string> errors_;
};

TEST_F(AllocationFailureSweep, ImportBuildsAllOrNothing)
{
    sweepImport(false, kMaxSwept);
    EXPECT_TRUE(anyErrorContains("Cannot import XML file \"" + input_ + "\": out of memory"));
    EXPECT_TRUE(anyErrorContains("Cannot import the XML file: out of memory"));  // before -f is read
    EXPECT_TRUE(anyErrorContains("the XML library could not be initialised (the XML library failed: out of memory)"));
    // Where the library would end the process, the import fails instead.
    EXPECT_TRUE(anyErrorContains("the XML library could not be initialised (the XML library failed: it gave up: "));
}

// Taking a failed import away leaves an earlier one alone (a lighter
// sample: the same code runs as above).
TEST_F(AllocationFailureSweep, ImportBesideAnotherLeavesItAlone)
{
    sweepImport(true, 250);
}

// When the host will not delete them, the nodes stay and the error says so.
TEST_F(AllocationFailureSweep, ImportThatCannotRemoveItsNodesSaysSo)
{
    const std::string statement = "SweptXmlLoadFile -f \"" + input_ + "\" -n \"doc\"";
    ASSERT_TRUE(prepare(false));
    const std::string empty = sceneText();
    const SweptRun clean = sweptRun(statement, 0);
    bool said = false;
    // The tree is built by the last allocations, after the library is gone.
    for (unsigned long n = clean.allocations; n > clean.allocations - 60 && !said; --n) {
        ASSERT_TRUE(prepare(false));
        dghost::fault::failCall("deleteNode", 1, MS::kFailure, 1000);
        const SweptRun result = sweptRun(statement, n);
        dghost::fault::clear();
        ASSERT_EQ(returnProblems(result), "") << n;
        said = result.outcome.status != MS::kSuccess &&
               contains(result.outcome.errors[0], ": out of memory (some of the nodes it made could not be removed)");
        if (said) {
            EXPECT_NE(sceneText(), empty);
        }
    }
    EXPECT_TRUE(said);
}

TEST_F(AllocationFailureSweep, ExportWritesAllOrNothing)
{
    const std::string statement = "SweptXmlSaveFile -n \"doc\" -f \"" + output_ + "\"";
    ASSERT_TRUE(prepare(true));
    const SweptRun clean = sweptRun(statement, 0);
    ASSERT_EQ(clean.outcome.text, "Export Succesfull");
    const std::string exported = readFile(output_);
    ASSERT_NE(exported, kPreviousExport);
    sweep(statement, true, clean, [&](const SweptRun& result) -> std::string {
        std::string problems;
        const std::string stray = strayFiles();
        if (!stray.empty())
            problems += "files left beside the target:" + stray + "\n";
        if (result.outcome.status != MS::kSuccess)
            return problems + (readFile(output_) == kPreviousExport ? "" : "the failed export changed the file\n");
        if (result.outcome.text != "Export Succesfull")
            problems += "succeeded with \"" + result.outcome.text + "\"\n";
        return problems + (readFile(output_) == exported ? "" : "the file differs from a clean export's\n");
    });
    // Failures outside the library's own calls are named as the command's.
    EXPECT_TRUE(anyErrorContains("XmlSaveFile stopped: "));
    EXPECT_TRUE(anyErrorContains("Cannot start the XML library: the XML library failed: out of memory"));
}

TEST_F(AllocationFailureSweep, QueryAnswersWholeOrFails)
{
    const std::string statement = "SweptXmlQuery -p \"//queue[priority > 1]/@name | //timeout\"";
    ASSERT_TRUE(prepare(true));
    const std::string before = sceneText();
    const SweptRun clean = sweptRun(statement, 0);
    ASSERT_EQ(clean.outcome.status, MS::kSuccess);
    ASSERT_FALSE(clean.outcome.strings.empty());
    sweep(statement, true, clean, [&](const SweptRun& result) -> std::string {
        std::string problems = sceneText() == before ? "" : "the query changed the scene\n";
        if (result.outcome.status == MS::kSuccess && result.outcome.strings != clean.outcome.strings)
            problems += "answered differently from a clean run\n";
        return problems;
    });
    EXPECT_TRUE(anyErrorContains("Not enough memory to answer the path"));
}

}  // namespace
