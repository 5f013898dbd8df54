#ifndef DENDRINE_XML_TYPE_IDS_H
#define DENDRINE_XML_TYPE_IDS_H
// Type ids and registered names of the plug-in's node and data types.
// A node's kind is decided by its type id alone.

#include <maya/MTypeId.h>
#include <maya/MString.h>

extern const MTypeId kXmlDocumentId;          // 0x10a520
extern const MTypeId kXmlElementId;           // 0x10a521
extern const MTypeId kXmlElementAttributeId;  // 0x10a522
extern const MTypeId kXmlConnectionAttrElmId; // 0x10a523
extern const MTypeId kXmlConnectionElementId; // 0x10a524

extern const MString kXmlDocumentTypeName;          // "XmlDocument"
extern const MString kXmlElementTypeName;           // "XmlElement"
extern const MString kXmlElementAttributeTypeName;  // "XmlElementAttribute"
extern const MString kXmlConnectionAttrElmTypeName; // "XmlConnectionAttrElm"
extern const MString kXmlConnectionElementTypeName; // "XMLConnectionElement"

#endif
