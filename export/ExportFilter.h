#ifndef DENDRINE_EXPORT_EXPORTFILTER_H
#define DENDRINE_EXPORT_EXPORTFILTER_H
// The writer's node filter. It lets every node through: the export writes
// each element of the tree, whatever its name, so a filter that dropped or
// unwrapped elements by name would lose the user's data. It stays installed
// so the writer's set-up is one place to change should filtering ever be
// wanted.

#include <xercesc/dom/DOMLSSerializerFilter.hpp>

class ExportFilter : public xercesc::DOMLSSerializerFilter
{
public:
    // `whatToShow`: the node types the writer hands to acceptNode.
    explicit ExportFilter(ShowType whatToShow);

    FilterAction acceptNode(const xercesc::DOMNode* node) const override;
    ShowType getWhatToShow() const override;

    // Elements, attributes and the document type, as the writer asks for them.
    static const ShowType kExportedNodeTypes;

private:
    ShowType fWhatToShow;
};

#endif
