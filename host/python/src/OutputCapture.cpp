// A stream buffer that cuts std::cout's output into lines for Python.
// Commands run with the interpreter lock held, so appending to the list
// from inside a command is safe.

#include "OutputCapture.h"

#include <iostream>
#include <memory>
#include <streambuf>
#include <string>
#include <vector>

namespace py = pybind11;

namespace dghost {
namespace python {
namespace {

class LineBuffer : public std::streambuf {
public:
    LineBuffer(py::list lines, std::streambuf* previous) : lines_(std::move(lines)), previous_(previous) {}

    std::streambuf* previous() const { return previous_; }

    void finish()
    {
        if (!pending_.empty()) append();
    }

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        if (traits_type::to_char_type(c) == '\n') {
            append();
        } else {
            pending_.push_back(traits_type::to_char_type(c));
        }
        return c;
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        for (std::streamsize i = 0; i < count; ++i) overflow(traits_type::to_int_type(text[i]));
        return count;
    }

private:
    // Text that is not valid UTF-8 still arrives, with its bad bytes
    // replaced. Nothing may throw here: the caller is plug-in code writing
    // to a stream, and a line Python cannot take (out of memory) is dropped.
    void append()
    {
        PyObject* line = PyUnicode_DecodeUTF8(pending_.data(), static_cast<Py_ssize_t>(pending_.size()), "replace");
        pending_.clear();
        if (!line || PyList_Append(lines_.ptr(), line) != 0) PyErr_Clear();
        Py_XDECREF(line);
    }

    py::list lines_;
    std::streambuf* previous_;
    std::string pending_;
};

std::vector<std::unique_ptr<LineBuffer>>& captures()
{
    static auto* stack = new std::vector<std::unique_ptr<LineBuffer>>();
    return *stack;
}

}  // namespace

void beginCapture(py::list lines)
{
    std::cout.flush();
    captures().push_back(std::make_unique<LineBuffer>(std::move(lines), std::cout.rdbuf()));
    std::cout.rdbuf(captures().back().get());
}

bool endCapture()
{
    if (captures().empty()) return false;
    std::cout.flush();
    LineBuffer& last = *captures().back();
    last.finish();
    std::cout.rdbuf(last.previous());
    captures().pop_back();
    return true;
}

}  // namespace python
}  // namespace dghost
