#ifndef DENDRINE_XMLCONNECTIONATTRIBUTEELEMENT_H
#define DENDRINE_XMLCONNECTIONATTRIBUTEELEMENT_H
// Value type of the attribute link plugs ("XmlAttributes", "Parent"). A link
// carries no value: only the connection matters, so nothing is read, written
// or copied.

#include <maya/MPxData.h>
#include <maya/MArgList.h>
#include <maya/MTypeId.h>
#include <maya/MString.h>

class XMLConnectionAttributeElement : public MPxData
{
public:
    static void* creator();

    MStatus readASCII(const MArgList& argList, unsigned int& endOfTheLastParsedElement) override;
    MStatus readBinary(std::istream& in, unsigned int length) override;
    MStatus writeASCII(std::ostream& out) override;
    MStatus writeBinary(std::ostream& out) override;
    void copy(const MPxData& source) override;
    MTypeId typeId() const override;
    MString name() const override;
};

#endif
