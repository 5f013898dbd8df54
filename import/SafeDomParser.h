#ifndef DENDRINE_IMPORT_SAFE_DOM_PARSER_H
#define DENDRINE_IMPORT_SAFE_DOM_PARSER_H
// The XML library set up for reading files nobody vouches for: initialised
// only around one import, no network, no external resources, bounded
// entity expansion.

#include <xercesc/dom/DOMLSResourceResolver.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XercesDefs.hpp>
#include <string>

XERCES_CPP_NAMESPACE_BEGIN
class DOMDocument;
class DOMErrorHandler;
class DOMLSParser;
class XMLNetAccessor;
XERCES_CPP_NAMESPACE_END

// Entity expansions allowed in one document; more are a fatal error.
const XMLSize_t kEntityExpansionLimit = 50000;

// Keeps the library initialised while it lives and its network accessor
// switched off, so no http/ftp resource can be fetched even by a path the
// resolver does not see. The constructor may throw the library's
// exceptions. Release every parser and document before it ends.
class XercesSession
{
public:
    XercesSession();
    ~XercesSession();
    XercesSession(const XercesSession&) = delete;
    XercesSession& operator=(const XercesSession&) = delete;

private:
    xercesc::XMLNetAccessor* fSavedNetAccessor;
};

// Answers every request for an external DTD, entity or parameter entity
// with an empty document, so nothing outside the file itself is read.
class BlockingResourceResolver : public xercesc::DOMLSResourceResolver
{
public:
    xercesc::DOMLSInput* resolveResource(const XMLCh* const resourceType,
                                         const XMLCh* const namespaceUri,
                                         const XMLCh* const publicId,
                                         const XMLCh* const systemId,
                                         const XMLCh* const baseURI) override;
    // How many resources were asked for (each answered empty).
    unsigned requests() const { return fRequests; }

private:
    unsigned fRequests = 0;
};

// A DOM parser with the import's settings: namespaces, schema and full
// schema checking off, validation when a grammar is present, datatype
// normalisation on; the given error handler; the blocking resolver and the
// library's security manager. Needs a live XercesSession. The documents it
// returns belong to it and go with it.
class ImportParser
{
public:
    explicit ImportParser(xercesc::DOMErrorHandler& handler);
    ~ImportParser();
    ImportParser(const ImportParser&) = delete;
    ImportParser& operator=(const ImportParser&) = delete;

    // Parses a whole file held in memory; `systemId` names it in reports.
    // Returns null or a partial document after a fatal error: ask the error
    // handler, never the result, whether the parse was clean. Null too when
    // the library offered no parser.
    xercesc::DOMDocument* parse(const std::string& bytes, const std::u16string& systemId);
    unsigned resolverRequests() const { return fResolver.requests(); }

private:
    BlockingResourceResolver fResolver;
    xercesc::SecurityManager fSecurity;
    xercesc::DOMLSParser* fParser;
};

// Reads a whole local file (the path as raw bytes, never a URI). On
// failure returns false with the system's reason.
bool readFileBytes(const std::string& path, std::string& bytes, std::string& reason);

#endif
