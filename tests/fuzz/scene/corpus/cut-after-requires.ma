//Maya ASCII scene
requires "Dendrine" "1.0";
createNode XmlDocument -n "doc";
createNode XmlElement -n "top";
