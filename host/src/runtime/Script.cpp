// The script runner: MEL command lines split into statements, run one by
// one, results and errors printed plain or as JSON lines.

#include "Api.h"
#include "runtime/Files.h"
#include "runtime/ScriptText.h"

#include <dghost/Host.h>
#include <dghost/Script.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ostream>

namespace dghost {
namespace {

// The range the second byte of a sequence may take after lead byte `c`:
// RFC 3629 forbids overlong forms (C0, C1, E0 80..9F, F0 80..8F), UTF-16
// surrogates (ED A0..BF) and code points above U+10FFFF (F4 90.., F5..FF).
bool secondByteRange(unsigned char c, unsigned char& low, unsigned char& high)
{
    low = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
    high = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
    return c >= 0xC2 && c <= 0xF4;
}

// The length of the well-formed UTF-8 sequence at `i`, or 0 when the bytes
// there are not one.
std::size_t sequenceLength(const std::string& text, std::size_t i)
{
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) return 1;
    std::size_t extra = c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    unsigned char low = 0x80, high = 0xBF;
    if (!secondByteRange(c, low, high) || i + extra >= text.size()) return 0;
    for (std::size_t k = 1; k <= extra; ++k) {
        unsigned char next = static_cast<unsigned char>(text[i + k]);
        if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return 0;
    }
    return extra + 1;
}

// Checks that the bytes are well-formed UTF-8 with no NUL.
bool validText(const std::string& text, std::size_t& badOffset)
{
    for (std::size_t i = 0; i < text.size();) {
        // Eight plain ASCII bytes at a time: no high bit and no zero byte.
        if (i + 8 <= text.size()) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + i, sizeof word);
            constexpr std::uint64_t kLow = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
            if (((word | ((word - kLow) & ~word)) & kHigh) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c != 0 && c < 0x80) {   // most bytes: plain ASCII
            ++i;
            continue;
        }
        std::size_t length = c == 0 ? 0 : sequenceLength(text, i);
        if (length == 0) {
            badOffset = i;
            return false;
        }
        i += length;
    }
    return true;
}

// The characters that end an unquoted word (NUL too, as strchr finds it).
bool endsWord(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ';' || c == '"' || c == '\0';
}

// Splits a script into statements and hands each finished one to a sink
// (a callable taking Statement&, false to stop). With `keep` false it only
// looks for the errors, building no statement.
struct Tokenizer {
    const std::string& text;
    std::size_t pos = 0;
    int line = 1;
    std::string error;
    bool keep = true;
    bool stopped = false;   // the sink refused a statement

    bool fail(int where, const std::string& why)
    {
        error = "line " + std::to_string(where) + ": " + why;
        return false;
    }

    bool quoted(std::string& word)
    {
        int start = line;
        ++pos;  // opening quote
        while (pos < text.size()) {
            // Plain characters up to the next quote, line end or escape go in at once.
            std::size_t plain = pos;
            while (plain < text.size() && text[plain] != '"' && text[plain] != '\n' && text[plain] != '\\') ++plain;
            if (keep) word.append(text, pos, plain - pos);
            pos = plain;
            if (pos >= text.size()) break;
            char c = text[pos++];
            if (c == '"') return true;
            if (c == '\n') return fail(start, "unterminated string");
            if (pos >= text.size()) break;
            char e = text[pos++];
            if (!keep) continue;
            switch (e) {
            case 'n': word += '\n'; break;
            case 't': word += '\t'; break;
            case 'r': word += '\r'; break;
            case '"': word += '"'; break;
            case '\\': word += '\\'; break;
            default: word += '\\'; word += e;
            }
        }
        return fail(start, "unterminated string");
    }

    bool comment()
    {
        int start = line;
        std::size_t end = text.find("*/", pos + 2);
        if (end == std::string::npos) return fail(start, "unterminated comment");
        for (std::size_t i = pos; i < end; ++i)
            if (text[i] == '\n') ++line;
        pos = end + 2;
        return true;
    }

    // Hands over the statement being built, if it has any words.
    template <typename Sink>
    void finish(Statement& current, std::size_t begin, std::size_t end, Sink& sink)
    {
        if (current.name.empty() && current.words.empty()) return;
        while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r')) --end;
        current.text.assign(text, begin, end - begin);
        if (!sink(current)) stopped = true;
        current = Statement();
    }

    // False at a syntax error (see `error`); true otherwise, also when the
    // sink stopped the run (see `stopped`).
    template <typename Sink>
    bool run(Sink& sink)
    {
        Statement current;
        std::size_t begin = 0;
        bool inStatement = false;
        while (pos < text.size()) {
            char c = text[pos];
            if (c == ' ' || c == '\t' || c == '\r') { ++pos; continue; }
            if (c == '\n' || c == ';') {
                if (inStatement) finish(current, begin, pos, sink);
                if (stopped) return true;
                inStatement = false;
                if (c == '\n') ++line;
                ++pos;
                continue;
            }
            const bool slashNext = c == '/' && pos + 1 < text.size();
            if (slashNext && text[pos + 1] == '/') {
                std::size_t end = text.find('\n', pos);
                pos = end == std::string::npos ? text.size() : end;
                continue;
            }
            if (slashNext && text[pos + 1] == '*') {
                if (!comment()) return false;
                continue;
            }
            if (!inStatement) {
                inStatement = true;
                begin = pos;
                current.line = line;
                current.words.reserve(4);
                current.quoted.reserve(4);
            }
            std::string word;
            bool isQuoted = c == '"';
            if (isQuoted) {
                if (!quoted(word)) return false;
            } else {
                const std::size_t start = pos;
                while (pos < text.size() && !endsWord(text[pos])) ++pos;
                if (keep) word.assign(text, start, pos - start);
            }
            if (!keep) continue;
            if (current.name.empty() && current.words.empty()) {
                current.name = std::move(word);
            } else {
                current.words.push_back(std::move(word));
                current.quoted.push_back(isQuoted);
            }
        }
        if (inStatement) finish(current, begin, pos, sink);
        return true;
    }
};

// The error parseScript reports for text that is not valid UTF-8, or "".
std::string textError(const std::string& text)
{
    std::size_t bad = 0;
    if (validText(text, bad)) return std::string();
    int line = 1;
    for (std::size_t i = 0; i < bad; ++i)
        if (text[i] == '\n') ++line;
    return "line " + std::to_string(line) +
           (text[bad] == '\0' ? ": NUL byte in the text" : ": the text is not valid UTF-8");
}

// ----------------------------------------------------------------- output

// A JSON string of `text`: quotes, backslashes and control characters
// escaped, and every byte that is not part of well-formed UTF-8 (a folder
// name, a loader message) replaced by U+FFFD, so each line stays valid JSON.
std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t length = sequenceLength(text, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        if (length > 1) {
            out.append(text, i, length);
            i += length;
            continue;
        }
        ++i;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default:
            if (c < 0x20 || c == 0x7f) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string jsonList(const std::vector<std::string>& items)
{
    std::string out;
    for (const std::string& item : items) out += (out.empty() ? "" : ", ") + jsonString(item);
    return "[" + out + "]";
}

std::string jsonResult(const CommandOutcome& o)
{
    using Kind = CommandOutcome::Kind;
    std::string out;
    switch (o.kind) {
    case Kind::None: return "null";
    case Kind::Bool: return o.boolValue ? "true" : "false";
    case Kind::Int: return std::to_string(o.intValue);
    case Kind::Double: return std::isfinite(o.doubleValue) ? std::to_string(o.doubleValue) : "null";
    case Kind::String: return jsonString(o.text);
    case Kind::StringArray: return jsonList(o.strings);
    case Kind::IntArray:
        for (long long v : o.ints) out += (out.empty() ? "" : ", ") + std::to_string(v);
        return "[" + out + "]";
    }
    return "null";
}

std::string plainResult(const CommandOutcome& o)
{
    using Kind = CommandOutcome::Kind;
    std::string out;
    switch (o.kind) {
    case Kind::Bool: return o.boolValue ? "1" : "0";
    case Kind::String: return o.text;
    case Kind::StringArray:
        for (const std::string& s : o.strings) out += (out.empty() ? "" : " ") + s;
        return out;
    case Kind::IntArray:
        for (long long v : o.ints) out += (out.empty() ? "" : " ") + std::to_string(v);
        return out;
    default: return jsonResult(o);
    }
}

void printJson(const CommandOutcome& o, std::ostream& out)
{
    out << "{\"command\": " << jsonString(o.command) << ", \"status\": \""
        << detail::statusCodeName(o.status.statusCode()) << "\", \"result\": " << jsonResult(o)
        << ", \"errors\": " << jsonList(o.errors) << ", \"warnings\": " << jsonList(o.warnings) << "}" << std::endl;
}

void printPlain(const CommandOutcome& o, const std::string& name, std::ostream& out, std::ostream& err)
{
    for (const std::string& w : o.warnings) err << "// Warning: " << detail::plainText(w) << " //\n";
    for (const std::string& e : o.errors) err << "// Error: " << detail::plainText(e) << " //\n";
    if (o.kind != CommandOutcome::Kind::None)
        out << "// Result: " << detail::plainText(plainResult(o)) << " //" << std::endl;
    if (!o.status) err << "// Error: " << detail::plainText(name) << ": " << o.status.errorString().asChar() << " //\n";
    err.flush();
}

}  // namespace

bool parseScript(const std::string& text, std::vector<Statement>& statements, std::string* error)
{
    statements.clear();
    const std::string invalid = textError(text);
    if (!invalid.empty()) {
        if (error) *error = invalid;
        return false;
    }
    Tokenizer tokenizer{text, detail::afterByteOrderMark(text), 1, std::string(), true, false};
    auto keepAll = [&statements](Statement& s) {
        statements.push_back(std::move(s));
        return true;
    };
    if (tokenizer.run(keepAll)) return true;
    if (error) *error = tokenizer.error;
    statements.clear();
    return false;
}

bool readScriptFile(const std::string& path, std::string& text, std::string* error)
{
    std::string why;
    if (detail::readRegularFile(path, text, why)) return true;
    if (error) *error = why;
    return false;
}

namespace detail {

std::size_t afterByteOrderMark(const std::string& text)
{
    return text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
}

// Plain output with the C0 control characters other than tab and line feed
// shown as \xHH, so a value holding an escape sequence cannot drive the
// terminal.
std::string plainText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c < 0x20 && c != '\t' && c != '\n') {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02x", c);
            out += buffer;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool validScriptText(const std::string& text)
{
    std::size_t bad = 0;
    return validText(text, bad);
}

bool checkScript(const std::string& text, std::string* error)
{
    std::string invalid = textError(text);
    if (invalid.empty()) {
        Tokenizer tokenizer{text, afterByteOrderMark(text), 1, std::string(), true, false};
        tokenizer.keep = false;
        auto ignore = [](Statement&) { return true; };
        if (tokenizer.run(ignore)) return true;
        invalid = tokenizer.error;
    }
    if (error) *error = invalid;
    return false;
}

bool forEachStatement(const std::string& text, const std::function<bool(const Statement&)>& run)
{
    Tokenizer tokenizer{text, afterByteOrderMark(text), 1, std::string(), true, false};
    auto each = [&run](Statement& s) { return run(s); };
    return tokenizer.run(each) && !tokenizer.stopped;
}

}  // namespace detail

bool runStatements(const std::vector<Statement>& statements, const ScriptOptions& options, std::ostream& out,
                   std::ostream& err)
{
    bool allOk = true;
    for (const Statement& s : statements) {
        CommandOutcome outcome = runCommand(s.name, s.words, s.quoted);
        outcome.command = s.text;
        if (options.json) printJson(outcome, out);
        else printPlain(outcome, s.name, out, err);
        if (!outcome.status) {
            allOk = false;
            if (!options.keepGoing) return false;
        }
    }
    return allOk;
}

}  // namespace dghost
