#ifndef DENDRINE_NODES_PLUG_NAMES_H
#define DENDRINE_NODES_PLUG_NAMES_H
// The names of every plug of the plug-in's node types: one constant per
// plug, holding its long and its short name. The node types register their
// attributes with these, and whatever names a plug (a command, a message, a
// lookup by name) takes the name from here, so a rename changes every side
// at once. The node-tree library looks plugs up by the node classes'
// attribute objects instead (XMLElementNode::xmlName...): the same plugs,
// without building and comparing a name on every read.
//
// Lookups by name use the short name, except on attribute nodes, whose long
// names ("Name", "Value", "Parent") are the shorter ones.
// Do not spell a plug name as a string literal outside nodes/.

struct PlugName {
    const char* longName;
    const char* shortName;
};

// XmlDocument
inline constexpr PlugName kDocumentNamePlug{"DocumentName", "DocName"};
inline constexpr PlugName kDocumentTypePlug{"DocumenType", "DocType"};  // (sic), stored in scenes
inline constexpr PlugName kDocumentInfoPlug{"DocumentInfo", "DocInfo"};
inline constexpr PlugName kDocumentElementsPlug{"DocumentElements", "DocElements"};

// XmlElement
inline constexpr PlugName kXmlNamePlug{"XmlName", "XName"};
inline constexpr PlugName kXmlValuePlug{"XmlValue", "XValue"};
inline constexpr PlugName kXmlAttributesPlug{"XmlAttributes", "XAttr"};
inline constexpr PlugName kToParentPlug{"ToParent", "2Parent"};
inline constexpr PlugName kFromChildrenPlug{"FromChildren", "FromChild"};

// XmlElementAttribute
inline constexpr PlugName kAttributeNamePlug{"Name", "AttrName"};
inline constexpr PlugName kAttributeValuePlug{"Value", "AttrValue"};
inline constexpr PlugName kAttributeParentPlug{"Parent", "AttrParent"};

#endif
