//Maya ASCII scene
requires "/tmp/x.so" "1.0";
// End of scene file
