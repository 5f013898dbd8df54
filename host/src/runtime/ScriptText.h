#ifndef DGHOST_RUNTIME_SCRIPT_TEXT_H
#define DGHOST_RUNTIME_SCRIPT_TEXT_H
// Script text as the scene reader needs it: checked whole, then handed
// over a statement at a time.

#include <dghost/Script.h>

#include <functional>
#include <string>

namespace dghost {
namespace detail {

// A script read without keeping all of its statements (a scene file may
// hold millions). checkScript refuses exactly what parseScript refuses,
// with the same message; forEachStatement hands the statements of a
// checked script to `run` one by one, in order, until it returns false
// (the result then is false).
bool checkScript(const std::string& text, std::string* error);
// Where the statements start: after a UTF-8 byte order mark, which some
// editors put at the start of a file; 0 without one.
std::size_t afterByteOrderMark(const std::string& text);
// Whether the bytes are ones checkScript accepts (well-formed UTF-8, no NUL).
bool validScriptText(const std::string& text);
bool forEachStatement(const std::string& text, const std::function<bool(const Statement&)>& run);

// `text` for plain output: C0 control characters other than tab and line
// feed shown as \xHH, so that no message or value can drive the terminal.
std::string plainText(const std::string& text);

}  // namespace detail
}  // namespace dghost

#endif
