#ifndef DGHOST_RUNTIME_SCENE_SCANNER_H
#define DGHOST_RUNTIME_SCENE_SCANNER_H
// The statements of a scene file as the scene writer writes them, read in
// place: words are views into the text (or into a buffer when a quoted word
// has escapes), so a statement costs no allocation. It splits exactly as
// the script tokenizer does, but only handles the plain forms; anything
// else (a block comment, an unknown escape, an unterminated string, more
// words than a scene statement has) it reports as irregular, and the
// caller reads the file the general way, which gives the exact error.
// Do not use it for scripts: it knows nothing of their other forms.

#include <cstddef>
#include <string>
#include <string_view>

namespace dghost {
namespace detail {

class SceneScanner {
public:
    enum Result { kStatement, kEnd, kIrregular };
    static constexpr std::size_t kMaxWords = 5;   // with the statement's name

    // Scans the whole of `text` (whole lines: no word crosses a line end);
    // `firstLine` numbers its first line.
    explicit SceneScanner(const std::string& text, int firstLine = 1)
        : text_(text), pos_(0), line_(firstLine), statementLine_(firstLine)
    {
    }
    // Reads the next statement into words()/quoted()/count()/line().
    Result next();

    std::size_t count() const { return count_; }
    std::string_view word(std::size_t i) const { return words_[i]; }
    bool quoted(std::size_t i) const { return quoted_[i]; }
    int line() const { return statementLine_; }
    // The line the scan has come to: after the end, the line past the text.
    int nextLine() const { return line_; }

private:
    bool quotedWord(std::size_t slot);

    const std::string& text_;
    std::size_t pos_;
    int line_;
    int statementLine_;
    std::size_t count_ = 0;
    std::string_view words_[kMaxWords];
    bool quoted_[kMaxWords] = {};
    std::string unescaped_[kMaxWords];
};

}  // namespace detail
}  // namespace dghost

#endif
