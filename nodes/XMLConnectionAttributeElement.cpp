#include "nodes/XMLConnectionAttributeElement.h"

#include "nodes/XmlTypeIds.h"

void* XMLConnectionAttributeElement::creator()
{
    return new XMLConnectionAttributeElement;
}

MStatus XMLConnectionAttributeElement::readASCII(const MArgList&, unsigned int&)
{
    return MS::kSuccess;
}

MStatus XMLConnectionAttributeElement::readBinary(std::istream&, unsigned int)
{
    return MS::kSuccess;
}

MStatus XMLConnectionAttributeElement::writeASCII(std::ostream&)
{
    return MS::kSuccess;
}

MStatus XMLConnectionAttributeElement::writeBinary(std::ostream&)
{
    return MS::kSuccess;
}

void XMLConnectionAttributeElement::copy(const MPxData&)
{
}

MTypeId XMLConnectionAttributeElement::typeId() const
{
    return kXmlConnectionAttrElmId;
}

MString XMLConnectionAttributeElement::name() const
{
    return kXmlConnectionAttrElmTypeName;
}
