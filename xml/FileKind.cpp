#include "xml/FileKind.h"

#include <sys/stat.h>

const char* fileKindName(unsigned mode)
{
    switch (mode & S_IFMT)
    {
    case S_IFREG:
        return "a file";
    case S_IFDIR:
        return "a folder";
    case S_IFIFO:
        return "a FIFO (named pipe)";
    case S_IFCHR:
        return "a character device";
    case S_IFBLK:
        return "a block device";
    case S_IFSOCK:
        return "a socket";
    default:
        return "not a regular file";
    }
}
