#ifndef DENDRINE_XMLCONNECTIONELEMENT_H
#define DENDRINE_XMLCONNECTIONELEMENT_H
// Value type of the element link plugs ("DocumentElements", "ToParent",
// "FromChildren"). A link carries no value: only the connection matters, so
// nothing is read, written or copied.

#include <maya/MPxData.h>
#include <maya/MArgList.h>
#include <maya/MTypeId.h>
#include <maya/MString.h>
#include <cstdint>
#include <vector>

class XMLConnectionElement : public MPxData
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

private:
    // Kept empty: no operation adds to it or reads it.
    std::vector<int32_t> entries;
};

#endif
