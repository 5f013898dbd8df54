#ifndef DENDRINE_EXPORT_EXPORTERRORHANDLER_H
#define DENDRINE_EXPORT_EXPORTERRORHANDLER_H
// Receives the XML writer's reports and writes each on standard error, the
// only export output that goes there. Always lets the writer go on; whether
// the export failed is decided by the writer's result and exceptions.

#include <xercesc/dom/DOMErrorHandler.hpp>

class ExportErrorHandler : public xercesc::DOMErrorHandler
{
public:
    bool handleError(const xercesc::DOMError& error) override;
};

#endif
