#ifndef _MPxData
#define _MPxData
// Base of user-defined data types, the value type of typed attributes.

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>
#include <maya/MString.h>
#include <maya/MIOStream.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MArgList;

class OPENMAYA_EXPORT MPxData
{
public:
    enum Type
    {
        kData = 0,
        kGeometryData,
        kLast
    };

    MPxData();
    virtual ~MPxData();
    virtual MStatus readASCII(const MArgList& argList, unsigned int& endOfTheLastParsedElement);
    virtual MStatus readBinary(std::istream& in, unsigned int length);
    virtual MStatus writeASCII(std::ostream& out);
    virtual MStatus writeBinary(std::ostream& out);
    virtual void copy(const MPxData& src) = 0;
    virtual MTypeId typeId() const = 0;
    virtual MString name() const = 0;

private:
    MPxData(const MPxData&);
    MPxData& operator=(const MPxData&);
};

OPENMAYA_NAMESPACE_CLOSE

#endif
