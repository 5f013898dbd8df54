//Maya ASCII scene
createNode XmlElement -n "top";
createNode XmlElement -n "far";
connectAttr "far.2Parent" "top.FromChild[2147483648]";
// End of scene file
