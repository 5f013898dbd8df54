//Maya ASCII scene
createNode XmlDocument -n "doc";
	setAttr ".DocName" -type "string" "bom";
// End of scene file
