#ifndef DENDRINE_IMPORT_IMPORT_PARSER_H
#define DENDRINE_IMPORT_IMPORT_PARSER_H
// The DOM parser set up for reading files nobody vouches for: no external
// resource is read, entity expansion is bounded by count and by what it
// produces, and a document is validated only against a grammar that was
// read in full. Needs a live XmlSession (with the network off).

#include <xercesc/dom/DOMLSParserFilter.hpp>
#include <xercesc/dom/DOMLSResourceResolver.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XercesDefs.hpp>
#include <memory>
#include <string>

XERCES_CPP_NAMESPACE_BEGIN
class DOMDocument;
class DOMErrorHandler;
class DOMLSParser;
XERCES_CPP_NAMESPACE_END

// Entity expansions allowed in one document; more are a fatal error.
const XMLSize_t kEntityExpansionLimit = 50000;

// What a parse may produce against the size of its input: text characters
// plus kNodeCost per element and per attribute may not exceed
// kAmplificationFactor times the input's bytes plus kAmplificationFloor. A
// file without entities stays far below (every element takes bytes of its
// own); only entity expansion can reach it.
const unsigned long long kAmplificationFactor = 100;
const unsigned long long kAmplificationFloor = 1ull << 20;
const unsigned long long kNodeCost = 16;

// Answers every request for an external DTD, entity or parameter entity
// with an empty document, so nothing outside the file itself is read. When
// the request is for a DTD, the grammar will be incomplete: validation is
// switched off on `parser` before a single element is checked, so that no
// element or attribute is reported as undeclared against declarations that
// were never read.
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
    // Whether a DTD part was left unread (and validation switched off).
    bool grammarSkipped() const { return fGrammarSkipped; }
    void setParser(xercesc::DOMLSParser* parser) { fParser = parser; }

private:
    unsigned fRequests = 0;
    bool fGrammarSkipped = false;
    xercesc::DOMLSParser* fParser = nullptr;
};

// Counts what the parse produces and interrupts it once it exceeds the
// budget (see kAmplificationFactor). Accepts every node.
class AmplificationGuard : public xercesc::DOMLSParserFilter
{
public:
    explicit AmplificationGuard(unsigned long long inputBytes);

    FilterAction acceptNode(xercesc::DOMNode* node) override;
    FilterAction startElement(xercesc::DOMElement* element) override;
    xercesc::DOMNodeFilter::ShowType getWhatToShow() const override;

    // Whether the parse was interrupted for producing too much.
    bool exceeded() const { return fExceeded; }
    // What the parse produced: elements, their attributes, text and CDATA
    // nodes (inside entity references too).
    std::size_t elements() const { return fElements; }
    std::size_t attributes() const { return fAttributes; }
    std::size_t texts() const { return fTexts; }

private:
    FilterAction spend(unsigned long long amount);

    unsigned long long fBudget;
    unsigned long long fSpent = 0;
    std::size_t fElements = 0;
    std::size_t fAttributes = 0;
    std::size_t fTexts = 0;
    bool fExceeded = false;
};

// A DOM parser with the import's settings: namespaces, schema and full
// schema checking off, validation when a grammar is present (and read),
// datatype normalisation on; the given error handler; the blocking resolver,
// the library's security manager and the amplification guard. The documents
// it returns belong to it and go with it.
class ImportParser
{
public:
    explicit ImportParser(xercesc::DOMErrorHandler& handler);
    ~ImportParser();
    ImportParser(const ImportParser&) = delete;
    ImportParser& operator=(const ImportParser&) = delete;

    // Parses a whole file held in memory; `systemId` names it in reports.
    // Returns null or a partial document after a fatal error or when the
    // guard stopped it: ask the error handler and amplified(), never the
    // result, whether the parse was clean. Null too when the library
    // offered no parser. May throw the library's exceptions.
    xercesc::DOMDocument* parse(const std::string& bytes, const std::u16string& systemId);
    unsigned resolverRequests() const { return fResolver.requests(); }
    bool grammarSkipped() const { return fResolver.grammarSkipped(); }
    // Whether the last parse produced more than its input allows.
    bool amplified() const { return fGuard && fGuard->exceeded(); }
    // What the last parse produced (see AmplificationGuard); null before.
    const AmplificationGuard* produced() const { return fGuard.get(); }

private:
    BlockingResourceResolver fResolver;
    xercesc::SecurityManager fSecurity;
    xercesc::DOMLSParser* fParser;
    std::unique_ptr<AmplificationGuard> fGuard;
};

#endif
