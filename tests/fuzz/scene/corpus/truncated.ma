createNode XmlElement -n "a";
	setAttr ".XName" -type "string" "unterminated
