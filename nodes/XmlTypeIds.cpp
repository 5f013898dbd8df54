#include "nodes/XmlTypeIds.h"

const MTypeId kXmlDocumentId(0x10a520);
const MTypeId kXmlElementId(0x10a521);
const MTypeId kXmlElementAttributeId(0x10a522);
const MTypeId kXmlConnectionAttrElmId(0x10a523);
const MTypeId kXmlConnectionElementId(0x10a524);

const MString kXmlDocumentTypeName("XmlDocument");
const MString kXmlElementTypeName("XmlElement");
const MString kXmlElementAttributeTypeName("XmlElementAttribute");
const MString kXmlConnectionAttrElmTypeName("XmlConnectionAttrElm");
const MString kXmlConnectionElementTypeName("XMLConnectionElement");
