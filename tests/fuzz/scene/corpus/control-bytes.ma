//Maya ASCII scene
createNode XmlElement -n "esc";
	setAttr ".XValue" -type "string" "[2J bell  cr";
// End of scene file
