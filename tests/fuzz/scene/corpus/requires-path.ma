//Maya ASCII scene
requires "../plug-ins/Dendrine" "1.0";
createNode XmlDocument -n "doc";
// End of scene file
