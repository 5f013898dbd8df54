#ifndef DENDRINE_XML_XMLSESSION_H
#define DENDRINE_XML_XMLSESSION_H
// The XML library's lifetime for one command: initialised when made,
// terminated when it goes out of scope, so every return path of the command
// terminates it. Every library object of the command (parsers, documents,
// serializers, transcoded strings) must be released before it ends.
//
// Do not keep a session across commands or make one at plug-in load: the
// library is brought up and taken down around each import and export.

#include <xercesc/util/XercesDefs.hpp>
#include <string>

XERCES_CPP_NAMESPACE_BEGIN
class XMLNetAccessor;
XERCES_CPP_NAMESPACE_END

class XmlSession
{
public:
    // Whether the library may fetch http/ftp resources while the session
    // lives. Off is for reading files nobody vouches for: no resource can
    // be fetched, even by a path a resource resolver does not see.
    enum class Network { Allowed, Off };

    // Never throws: a library that cannot start is reported by started().
    // Once a start or a shut-down failed half-way (out of memory), no later
    // session starts: the library is left half made.
    explicit XmlSession(Network network = Network::Allowed);
    // Never throws.
    ~XmlSession();
    XmlSession(const XmlSession&) = delete;
    XmlSession& operator=(const XmlSession&) = delete;

    bool started() const { return fStarted; }
    // Why the library could not start; empty when it did.
    const std::string& failure() const { return fFailure; }

    // False once a start or a shut-down failed half-way in this process.
    static bool usable();

private:
    bool fStarted = false;
    bool fNetworkOff = false;
    std::string fFailure;
    xercesc::XMLNetAccessor* fSavedNetAccessor = nullptr;
};

#endif
