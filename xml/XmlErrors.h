#ifndef DENDRINE_XML_XMLERRORS_H
#define DENDRINE_XML_XMLERRORS_H
// The one place where the XML library's exceptions are named. The library
// reports refused names, characters it cannot write, unwritable files,
// malformed strings and exhausted memory by throwing; none of these may
// cross into the host, so every call into the library runs inside
// runCatchingXmlErrors (or a catch block that calls
// describeCurrentException).

#include <stdexcept>
#include <string>

// Thrown by the panic handler of every session: the library met a failure
// it cannot go on from (such as running out of memory while it starts),
// where its own handler would end the process.
class XmlLibraryPanic : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Call only inside a catch block: rethrows the exception in flight, catches
// it by each type the XML library throws (out of memory, load/save, DOM,
// XML, SAX) or the standard library's, and returns a UTF-8 description
// such as "DOM error 5: ..." or "out of memory". Never throws. Call it
// while the library is still initialised: its messages need it.
std::string describeCurrentException();

// As describeCurrentException, led by "the XML library failed: ". Never
// throws.
std::string describeXmlFailure();

// Runs `work`. Returns true when it ran to the end; false, with `reason`
// ("the XML library failed: " and the description), when it threw.
template <typename Work>
bool runCatchingXmlErrors(Work&& work, std::string& reason)
{
    try
    {
        work();
        return true;
    }
    catch (...)
    {
        reason = describeXmlFailure();
    }
    return false;
}

#endif
