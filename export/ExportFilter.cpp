#include "export/ExportFilter.h"

XERCES_CPP_NAMESPACE_USE

const ExportFilter::ShowType ExportFilter::kExportedNodeTypes =
    DOMNodeFilter::SHOW_ELEMENT | DOMNodeFilter::SHOW_ATTRIBUTE | DOMNodeFilter::SHOW_DOCUMENT_TYPE;

ExportFilter::ExportFilter(ShowType whatToShow) : fWhatToShow(whatToShow)
{
}

DOMNodeFilter::FilterAction ExportFilter::acceptNode(const DOMNode*) const
{
    return DOMNodeFilter::FILTER_ACCEPT;
}

DOMNodeFilter::ShowType ExportFilter::getWhatToShow() const
{
    return fWhatToShow;
}
