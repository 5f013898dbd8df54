//Maya ASCII scene
createNode XmlDocument -n "doc";
	setAttr ".DocName" -type "string" "a \"quoted\" name\n";
createNode XmlElement -n "top";
createNode XmlElementAttribute -n "attr";
connectAttr "top.2Parent" "doc.DocElements[0]";
connectAttr "attr.AttrParent" "top.XAttr[3]";
// End of scene file
