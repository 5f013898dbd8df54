#ifndef DENDRINE_IMPORT_IMPORT_ERROR_HANDLER_H
#define DENDRINE_IMPORT_IMPORT_ERROR_HANDLER_H
// The parser's error handler for an import: one three-line report per
// warning, error and fatal error on standard error, and a record of the
// fatal errors, which decide whether the file may be imported at all.

#include <xercesc/dom/DOMErrorHandler.hpp>
#include <string>

// Where and why the parser gave up, as UTF-8 texts.
struct ParserReport
{
    std::string uri;
    std::string message;
    long long line = 0;
    long long column = 0;
};

class ImportErrorHandler : public xercesc::DOMErrorHandler
{
public:
    ImportErrorHandler() = default;
    ~ImportErrorHandler() override = default;

    // Writes the report and asks the parser to go on (after a fatal error
    // the parser decides by itself whether anything more is read).
    bool handleError(const xercesc::DOMError& error) override;

    // Fatal errors seen so far; a file with any is not imported.
    unsigned fatalErrorCount() const { return fFatalErrors; }
    // The first fatal error; meaningful only when fatalErrorCount() > 0.
    const ParserReport& firstFatalError() const { return fFirstFatal; }

private:
    unsigned fFatalErrors = 0;
    ParserReport fFirstFatal;
};

#endif
