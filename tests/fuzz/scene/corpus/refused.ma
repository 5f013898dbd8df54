createNode XmlElement -n "a"; createNode XmlElement -n "a";
setAttr "a.FromChild[99999]" -type "string" "x";
connectAttr "a.2Parent" "a.FromChild[0]";
