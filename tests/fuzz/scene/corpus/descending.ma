//Maya ASCII scene
createNode XmlElement -n "top";
createNode XmlElement -n "c9";
createNode XmlElement -n "c8";
createNode XmlElement -n "c7";
createNode XmlElement -n "c6";
createNode XmlElement -n "c5";
createNode XmlElement -n "c4";
createNode XmlElement -n "c3";
createNode XmlElement -n "c2";
createNode XmlElement -n "c1";
createNode XmlElement -n "c0";
connectAttr "c9.2Parent" "top.FromChild[9]";
connectAttr "c8.2Parent" "top.FromChild[8]";
connectAttr "c7.2Parent" "top.FromChild[7]";
connectAttr "c6.2Parent" "top.FromChild[6]";
connectAttr "c5.2Parent" "top.FromChild[5]";
connectAttr "c4.2Parent" "top.FromChild[4]";
connectAttr "c3.2Parent" "top.FromChild[3]";
connectAttr "c2.2Parent" "top.FromChild[2]";
connectAttr "c1.2Parent" "top.FromChild[1]";
connectAttr "c0.2Parent" "top.FromChild[0]";
// End of scene file
