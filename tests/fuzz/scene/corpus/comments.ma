createNode network -n "n1";
/* a block
 comment */ createNode network -n "n2"; // trailing
connectAttr "n1.missing" "n2.x";
