// The script runner: MEL command lines split into statements, run one by
// one, results and errors printed plain or as JSON lines.

#include "Internal.h"

#include <dghost/Host.h>
#include <dghost/Script.h>

#include <cstdio>
#include <cstring>
#include <ostream>

namespace dghost {
namespace {

// Checks that the bytes are well-formed UTF-8 with no NUL.
bool validText(const std::string& text, std::size_t& badOffset)
{
    std::size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 9;
        if (c == 0 || extra == 9 || i + extra >= text.size() + (extra ? 0 : 1)) {
            badOffset = i;
            return false;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                badOffset = i;
                return false;
            }
        }
        i += extra + 1;
    }
    return true;
}

struct Tokenizer {
    const std::string& text;
    std::size_t pos = 0;
    int line = 1;
    std::string error;

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
            char c = text[pos++];
            if (c == '"') return true;
            if (c == '\n') return fail(start, "unterminated string");
            if (c != '\\') {
                word += c;
                continue;
            }
            if (pos >= text.size()) break;
            char e = text[pos++];
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

    // Appends the statement being built, if it has any words.
    static void finish(Statement& current, std::size_t begin, std::size_t end, const std::string& text,
                       std::vector<Statement>& out)
    {
        if (current.name.empty() && current.words.empty()) return;
        std::string written = text.substr(begin, end - begin);
        while (!written.empty() && (written.back() == ' ' || written.back() == '\t' || written.back() == '\r'))
            written.pop_back();
        current.text = written;
        out.push_back(current);
        current = Statement();
    }

    bool run(std::vector<Statement>& out)
    {
        Statement current;
        std::size_t begin = 0;
        bool inStatement = false;
        while (pos < text.size()) {
            char c = text[pos];
            if (c == ' ' || c == '\t' || c == '\r') { ++pos; continue; }
            if (c == '\n' || c == ';') {
                if (inStatement) finish(current, begin, pos, text, out);
                inStatement = false;
                if (c == '\n') ++line;
                ++pos;
                continue;
            }
            if (text.compare(pos, 2, "//") == 0) {
                std::size_t end = text.find('\n', pos);
                pos = end == std::string::npos ? text.size() : end;
                continue;
            }
            if (text.compare(pos, 2, "/*") == 0) {
                if (!comment()) return false;
                continue;
            }
            if (!inStatement) {
                inStatement = true;
                begin = pos;
                current.line = line;
            }
            std::string word;
            bool isQuoted = c == '"';
            if (isQuoted) {
                if (!quoted(word)) return false;
            } else {
                while (pos < text.size() && !std::strchr(" \t\r\n;\"", text[pos])) word += text[pos++];
            }
            if (current.name.empty() && current.words.empty()) {
                current.name = word;
            } else {
                current.words.push_back(word);
                current.quoted.push_back(isQuoted);
            }
        }
        if (inStatement) finish(current, begin, pos, text, out);
        return true;
    }
};

// ----------------------------------------------------------------- output

std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default:
            if (c < 0x20) {
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

std::string jsonResult(const CommandOutcome& o)
{
    using Kind = CommandOutcome::Kind;
    std::string out;
    switch (o.kind) {
    case Kind::None: return "null";
    case Kind::Bool: return o.boolValue ? "true" : "false";
    case Kind::Int: return std::to_string(o.intValue);
    case Kind::Double: return std::to_string(o.doubleValue);
    case Kind::String: return jsonString(o.text);
    case Kind::StringArray:
        for (const std::string& s : o.strings) out += (out.empty() ? "" : ", ") + jsonString(s);
        return "[" + out + "]";
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
    std::string errors;
    for (const std::string& e : o.errors) errors += (errors.empty() ? "" : ", ") + jsonString(e);
    out << "{\"command\": " << jsonString(o.command) << ", \"status\": \""
        << detail::statusCodeName(o.status.statusCode()) << "\", \"result\": " << jsonResult(o)
        << ", \"errors\": [" << errors << "]}" << std::endl;
}

void printPlain(const CommandOutcome& o, const std::string& name, std::ostream& out, std::ostream& err)
{
    for (const std::string& w : o.warnings) err << "// Warning: " << w << " //\n";
    for (const std::string& e : o.errors) err << "// Error: " << e << " //\n";
    if (o.kind != CommandOutcome::Kind::None) out << "// Result: " << plainResult(o) << " //" << std::endl;
    if (!o.status) err << "// Error: " << name << ": " << o.status.errorString().asChar() << " //\n";
    err.flush();
}

}  // namespace

bool parseScript(const std::string& text, std::vector<Statement>& statements, std::string* error)
{
    statements.clear();
    std::size_t bad = 0;
    if (!validText(text, bad)) {
        int line = 1;
        for (std::size_t i = 0; i < bad; ++i)
            if (text[i] == '\n') ++line;
        if (error)
            *error = "line " + std::to_string(line) +
                     (text[bad] == '\0' ? ": NUL byte in the text" : ": the text is not valid UTF-8");
        return false;
    }
    Tokenizer tokenizer{text, 0, 1, std::string()};
    if (tokenizer.run(statements)) return true;
    if (error) *error = tokenizer.error;
    statements.clear();
    return false;
}

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
