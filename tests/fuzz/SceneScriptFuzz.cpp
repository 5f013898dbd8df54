// Fuzz target: arbitrary bytes as a dghost script and as a scene file.
// The script parser must either split the text into statements whose lines
// lie inside the text, or refuse it with "line N: reason". `file -open` must
// either refuse the file, naming file, line and reason, and leave the
// current scene exactly as it was, or open it; an opened scene saves to a
// file that opens again into the same scene.

#include "tests/fuzz/FuzzHost.h"

#include <dghost/Fault.h>
#include <dghost/Script.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

int lineCount(const std::string& text) { return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// "PREFIX<digits>: <reason>" with the number inside 1..lines; the number's value.
bool hasLineAndReason(const std::string& message, const std::string& prefix, int lines)
{
    if (message.compare(0, prefix.size(), prefix) != 0) return false;
    std::size_t digits = prefix.size(), end = digits;
    while (end < message.size() && std::isdigit(static_cast<unsigned char>(message[end]))) ++end;
    if (end == digits || end - digits > 9 || message.compare(end, 2, ": ") != 0 || end + 2 >= message.size())
        return false;
    int line = std::stoi(message.substr(digits, end - digits));
    return line >= 1 && line <= lines;
}

// Well-formed UTF-8 after RFC 3629 (no overlong forms, no surrogates,
// nothing above U+10FFFF), with no NUL: what the script reader must accept.
bool wellFormedText(const std::string& text)
{
    std::size_t i = 0, n = text.size();
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    auto inRange = [&](std::size_t k, unsigned lo, unsigned hi) { return k < n && at(k) >= lo && at(k) <= hi; };
    while (i < n) {
        unsigned c = at(i);
        if (c == 0) return false;
        if (c < 0x80) { ++i; continue; }
        unsigned lo = 0x80, hi = 0xBF;
        std::size_t length;
        if (c >= 0xC2 && c <= 0xDF) length = 2;
        else if (c >= 0xE0 && c <= 0xEF) length = 3, lo = c == 0xE0 ? 0xA0 : 0x80, hi = c == 0xED ? 0x9F : 0xBF;
        else if (c >= 0xF0 && c <= 0xF4) length = 4, lo = c == 0xF0 ? 0x90 : 0x80, hi = c == 0xF4 ? 0x8F : 0xBF;
        else return false;
        if (!inRange(i + 1, lo, hi)) return false;
        for (std::size_t k = 2; k < length; ++k)
            if (!inRange(i + k, 0x80, 0xBF)) return false;
        i += length;
    }
    return true;
}

void checkParser(const std::string& text)
{
    std::vector<dghost::Statement> statements;
    std::string error;
    int lines = lineCount(text);
    bool parsed = dghost::parseScript(text, statements, &error);
    if (parsed && !wellFormedText(text)) fuzzhost::fail("a script that is not well-formed UTF-8 was accepted");
    if (!parsed) {
        if (!statements.empty()) fuzzhost::fail("a refused script kept statements");
        if (!hasLineAndReason(error, "line ", lines)) fuzzhost::fail("parser error without line and reason: " + error);
        return;
    }
    for (const dghost::Statement& s : statements) {
        if (s.line < 1 || s.line > lines) fuzzhost::fail("statement line " + std::to_string(s.line) + " is outside");
        if (s.words.size() != s.quoted.size()) fuzzhost::fail("words and quote marks differ in number");
    }
}

// The scene as its saved text (node names, values, connections).
std::string savedScene(const std::string& fileName)
{
    std::string path = fuzzhost::workPath(fileName);
    dghost::CommandOutcome saved = fuzzhost::run("file", {"-rename", path, "-save"});
    if (!saved.status) fuzzhost::fail("the scene cannot be saved: " + (saved.errors.empty() ? "" : saved.errors[0]));
    return fuzzhost::readBytes(path);
}

// A small tree that a refused file must leave alone.
void makeKnownScene()
{
    dghost::newScene();
    fuzzhost::run("createNode", {"XmlElement", "-n", "keepParent"});
    fuzzhost::run("createNode", {"XmlElement", "-n", "keepChild"});
    fuzzhost::run("setAttr", {"keepParent.XName", "-type", "string", "parent"});
    fuzzhost::run("connectAttr", {"keepChild.2Parent", "keepParent.FromChild[0]"});
}

void checkSceneFile(const std::uint8_t* data, std::size_t size, const std::string& text)
{
    makeKnownScene();
    const std::string before = savedScene("before.ma");
    const std::string input = fuzzhost::workPath("input.ma");
    fuzzhost::writeBytes(input, data, size);
    dghost::CommandOutcome opened = fuzzhost::run("file", {"-open", "-force", input});
    if (!opened.status) {
        // The refusal is the last message (loading a required plug-in may
        // report its own failure first).
        std::string error = opened.errors.empty() ? "" : opened.errors.back();
        if (!hasLineAndReason(error, input + ":", lineCount(text)))
            fuzzhost::fail("refusal without file, line and reason: " + error);
        if (savedScene("after.ma") != before) fuzzhost::fail("a refused scene file changed the scene");
        return;
    }
    const std::string first = savedScene("first.ma");
    dghost::CommandOutcome again = fuzzhost::run("file", {"-open", "-force", fuzzhost::workPath("first.ma")});
    if (!again.status) fuzzhost::fail("a saved scene does not open: " + (again.errors.empty() ? "" : again.errors[0]));
    if (savedScene("second.ma") != first) fuzzhost::fail("a saved and reopened scene saves differently");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzhost::start();
    dghost::fault::clear();
    const std::string text(reinterpret_cast<const char*>(data), size);
    checkParser(text);
    checkSceneFile(data, size, text);
    dghost::newScene();
    return 0;
}
