// dghost: runs MEL scripts against the headless host.
//   dghost [--json] [--log FILE] [-k] [-c TEXT]... [FILE.mel]...
// Exit status: 0 all commands succeeded, 1 a command failed, 2 bad usage or
// an unreadable script.

#include <dghost/Host.h>
#include <dghost/LogSink.h>
#include <dghost/Script.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char kUsage[] =
    "usage: dghost [--json] [--log FILE] [-k] [-c TEXT]... [FILE.mel]...\n"
    "  --json      one JSON object per command on standard output\n"
    "  --log FILE  the plug-in's own output lines go to FILE\n"
    "  -k          keep going after a failed command\n"
    "  -c TEXT     run TEXT as a script (may be repeated)\n"
    "With neither -c nor files, the script is read from standard input.\n";

struct Source {
    std::string label;   // "-c" text or file path, for messages
    std::string text;
    std::string path;    // the file read, if any
};

struct Options {
    dghost::ScriptOptions script;
    std::string logFile;
    std::vector<Source> sources;
};

int usage(const std::string& problem)
{
    std::cerr << "dghost: " << problem << "\n" << kUsage;
    return 2;
}

// Returns 0 when the options are good, else the exit status.
int parseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--json") {
            options.script.json = true;
        } else if (arg == "-k") {
            options.script.keepGoing = true;
        } else if (arg == "--log" || arg == "-c") {
            if (i + 1 >= argc) return usage(arg + " needs an argument");
            if (arg == "--log") options.logFile = argv[++i];
            else options.sources.push_back({"-c", argv[++i], std::string()});
        } else if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return -1;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return usage("unknown option " + arg);
        } else {
            Source source{arg, std::string(), arg};
            std::string why;
            if (!dghost::readScriptFile(arg, source.text, &why)) {
                std::cerr << "dghost: cannot read script " << arg << ": " << why << "\n";
                return 2;
            }
            options.sources.push_back(source);
        }
    }
    return 0;
}

// True when the log would overwrite one of the scripts (the same file under
// any name).
bool logIsAnInput(const Options& options)
{
    struct stat log;
    if (::stat(options.logFile.c_str(), &log) != 0) return false;
    for (const Source& source : options.sources) {
        struct stat input;
        if (!source.path.empty() && ::stat(source.path.c_str(), &input) == 0 && input.st_dev == log.st_dev &&
            input.st_ino == log.st_ino)
            return true;
    }
    return false;
}

bool parseAll(const std::vector<Source>& sources, std::vector<std::vector<dghost::Statement>>& parsed)
{
    for (const Source& source : sources) {
        std::vector<dghost::Statement> statements;
        std::string error;
        if (!dghost::parseScript(source.text, statements, &error)) {
            std::cerr << "dghost: " << source.label << ": " << error << "\n";
            return false;
        }
        parsed.push_back(statements);
    }
    return true;
}

// Reads commands line by line at a prompt; errors do not end the session.
int interactive(const dghost::ScriptOptions& options, std::ostream& out)
{
    bool allOk = true;
    std::string line;
    while (std::cerr << "dghost> " << std::flush, std::getline(std::cin, line)) {
        std::vector<dghost::Statement> statements;
        std::string error;
        if (!dghost::parseScript(line, statements, &error)) {
            std::cerr << "dghost: " << error << "\n";
            continue;
        }
        dghost::ScriptOptions keepGoing = options;
        keepGoing.keepGoing = true;
        allOk = dghost::runStatements(statements, keepGoing, out, std::cerr) && allOk;
    }
    std::cerr << "\n";
    return allOk ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    int bad = parseOptions(argc, argv, options);
    if (bad) return bad < 0 ? 0 : bad;
    bool fromStdin = options.sources.empty();
    if (fromStdin && !isatty(0)) {
        std::ostringstream buffer;
        buffer << std::cin.rdbuf();
        options.sources.push_back({"<stdin>", buffer.str(), std::string()});
        fromStdin = false;
    }

    // Every script is parsed before anything runs or the log is opened.
    std::vector<std::vector<dghost::Statement>> parsed;
    if (!fromStdin && !parseAll(options.sources, parsed)) return 2;
    if (!options.logFile.empty() && logIsAnInput(options))
        return usage("the log file " + options.logFile + " is one of the scripts");

    // Results keep standard output; the plug-in's own lines go to the log,
    // or to standard error in JSON mode so that standard output stays JSON.
    // A log sink makes the plug-in's flush per line cheap; on standard output
    // the results share it, so that both keep their order in the file.
    std::streambuf* const standardOutput = std::cout.rdbuf();
    std::ostream results(standardOutput);
    std::unique_ptr<dghost::LogSink> log;
    if (!options.logFile.empty()) {
        std::string error;
        log = dghost::LogSink::open(options.logFile, &error);
        if (!log) return usage("cannot write log file " + options.logFile + ": " + error);
        std::cout.rdbuf(log.get());
    } else if (options.script.json) {
        std::cout.rdbuf(std::cerr.rdbuf());
    } else if ((log = dghost::LogSink::forStandardOutput())) {
        std::cout.flush();
        std::cout.rdbuf(log.get());
        results.rdbuf(log.get());
    }

    int status = 0;
    if (fromStdin) {
        status = interactive(options.script, results);
    } else {
        for (const auto& statements : parsed) {
            if (!dghost::runStatements(statements, options.script, results, std::cerr)) {
                status = 1;
                if (!options.script.keepGoing) break;
            }
        }
    }
    std::cout.flush();
    std::cout.rdbuf(standardOutput);
    std::string logError;
    if (log && !log->close(&logError)) {
        std::cerr << "dghost: " << logError << "\n";
        if (status == 0) status = 1;
    }
    return status;
}
