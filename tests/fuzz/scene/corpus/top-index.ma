//Maya ASCII scene
createNode XmlElement -n "top";
createNode XmlElement -n "far";
connectAttr "far.2Parent" "top.FromChild[2147483647]";
	setAttr "top.XValue" -type "string" "edge";
// End of scene file
