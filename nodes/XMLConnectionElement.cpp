#include "nodes/XMLConnectionElement.h"

#include "nodes/XmlTypeIds.h"

void* XMLConnectionElement::creator()
{
    return new XMLConnectionElement;
}

MStatus XMLConnectionElement::readASCII(const MArgList&, unsigned int&)
{
    return MS::kSuccess;
}

MStatus XMLConnectionElement::readBinary(std::istream&, unsigned int)
{
    return MS::kSuccess;
}

MStatus XMLConnectionElement::writeASCII(std::ostream&)
{
    return MS::kSuccess;
}

MStatus XMLConnectionElement::writeBinary(std::ostream&)
{
    return MS::kSuccess;
}

void XMLConnectionElement::copy(const MPxData&)
{
}

MTypeId XMLConnectionElement::typeId() const
{
    return kXmlConnectionElementId;
}

MString XMLConnectionElement::name() const
{
    return kXmlConnectionElementTypeName;
}
