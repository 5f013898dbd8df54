// Reading a scene file's plain statements in place.

#include "runtime/SceneScanner.h"

#include <cstring>

namespace dghost {
namespace detail {

namespace {

// Byte classes, looked up once per byte: what ends an unquoted word (as
// the script tokenizer has them) and what stops a run of plain bytes in a
// quoted word. NUL is in both, so a scan also stops at the string's end.
enum : unsigned char { kEndsWord = 1, kStopsQuoted = 2 };

struct ByteClasses {
    unsigned char of[256] = {};
    constexpr ByteClasses()
    {
        for (unsigned char c : {' ', '\t', '\r', '\n', ';', '"', '\0'}) of[c] |= kEndsWord;
        for (unsigned char c : {'"', '\\', '\n', '\0'}) of[c] |= kStopsQuoted;
    }
};
constexpr ByteClasses kClasses;

bool endsWord(char c) { return kClasses.of[static_cast<unsigned char>(c)] & kEndsWord; }
bool stopsQuoted(char c) { return kClasses.of[static_cast<unsigned char>(c)] & kStopsQuoted; }

// The end of the run of plain quoted bytes from `i`; the string's own
// terminating NUL stops it at the end.
std::size_t plainRun(const char* data, std::size_t i)
{
    while (!stopsQuoted(data[i])) ++i;
    return i;
}

}  // namespace

bool SceneScanner::quotedWord(std::size_t slot)
{
    const std::size_t size = text_.size();
    const char* data = text_.data();
    std::size_t start = ++pos_;   // past the opening quote
    std::size_t end = plainRun(data, start);
    if (end >= size || data[end] == '\n' || data[end] == '\0') return false;   // unterminated
    if (data[end] == '"') {
        words_[slot] = std::string_view(data + start, end - start);
        pos_ = end + 1;
        return true;
    }
    std::string& buffer = unescaped_[slot];
    buffer.assign(data + start, end - start);
    pos_ = end;
    while (pos_ < size) {
        const std::size_t plain = plainRun(data, pos_);
        buffer.append(data + pos_, plain - pos_);
        pos_ = plain;
        if (pos_ >= size) return false;
        const char c = data[pos_++];
        if (c == '"') {
            words_[slot] = buffer;
            return true;
        }
        if (c != '\\' || pos_ >= size) return false;   // a line end, a NUL byte or the end
        switch (data[pos_++]) {
        case 'n': buffer += '\n'; break;
        case 't': buffer += '\t'; break;
        case 'r': buffer += '\r'; break;
        case '"': buffer += '"'; break;
        case '\\': buffer += '\\'; break;
        default: return false;   // kept as written by the general reader
        }
    }
    return false;
}

SceneScanner::Result SceneScanner::next()
{
    count_ = 0;
    const std::size_t size = text_.size();
    const char* data = text_.data();
    std::size_t pos = pos_;   // kept local: the member is written back before each return
    auto leave = [this, &pos](Result result) {
        pos_ = pos;
        return result;
    };
    while (pos < size) {
        const char c = data[pos];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++pos;
            continue;
        }
        if (c == '\n' || c == ';') {
            ++pos;
            if (c == '\n') ++line_;
            if (count_ > 0) return leave(kStatement);
            continue;
        }
        if (c == '/' && data[pos + 1] == '/') {
            const void* end = std::memchr(data + pos, '\n', size - pos);
            pos = end ? static_cast<std::size_t>(static_cast<const char*>(end) - data) : size;
            continue;
        }
        if (c == '/' && data[pos + 1] == '*') return leave(kIrregular);
        if (count_ == kMaxWords) return leave(kIrregular);
        if (count_ == 0) statementLine_ = line_;
        const std::size_t slot = count_++;
        quoted_[slot] = c == '"';
        if (quoted_[slot]) {
            pos_ = pos;
            if (!quotedWord(slot)) return kIrregular;
            pos = pos_;
        } else {
            const std::size_t start = pos;
            while (!endsWord(data[pos])) ++pos;   // the string's NUL ends the last word
            if (pos == start) return leave(kIrregular);   // a NUL byte
            words_[slot] = std::string_view(data + start, pos - start);
        }
        // A statement named by an empty quoted word is one the general
        // reader skips; leave it to that reader.
        if (slot == 0 && words_[0].empty()) return leave(kIrregular);
    }
    return leave(count_ > 0 ? kStatement : kEnd);
}

}  // namespace detail
}  // namespace dghost
