#ifndef DENDRINE_EXPORT_XERCESSESSION_H
#define DENDRINE_EXPORT_XERCESSESSION_H
// The XML library's lifetime for one command: initialised when made,
// terminated when it goes out of scope, so every return path of the command
// terminates it. Every library object of the command must be released
// before this object is destroyed.

#include <string>

namespace xmlexport {

class XercesSession
{
public:
    XercesSession();
    ~XercesSession();
    XercesSession(const XercesSession&) = delete;
    XercesSession& operator=(const XercesSession&) = delete;

    bool started() const { return fStarted; }
    // Why the library could not start; empty when it did.
    const std::string& failure() const { return fFailure; }

private:
    bool fStarted;
    std::string fFailure;
};

}  // namespace xmlexport

#endif
