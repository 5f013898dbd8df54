#ifndef DENDRINE_XML_FILEKIND_H
#define DENDRINE_XML_FILEKIND_H
// Naming the kind of a path that is not a regular file, for the messages of
// the import and the export, which read and write regular files only
// (unless the user names a device for the export).

// What kind of file `mode` (st_mode) describes: "a folder", "a FIFO (named
// pipe)", "a character device", ...
const char* fileKindName(unsigned mode);

#endif
