#ifndef DENDRINE_COMMANDS_XML_ELEMENT_REQUEST_H
#define DENDRINE_COMMANDS_XML_ELEMENT_REQUEST_H
// Everything one XmlElement invocation asks for, read from its flags once,
// before the command looks at the scene. The command then checks the
// request against the scene and acts on it; nothing reads the argument
// database after parsing.

#include <maya/MArgDatabase.h>
#include <maya/MString.h>
#include <maya/MSyntax.h>

// One flag: whether it was given, and its string argument when it takes one
// (`read` is false when the argument could not be read, e.g. in query mode).
struct FlagValue {
    bool set = false;
    bool read = false;
    MString text;
};

struct XmlElementRequest {
    enum class Mode { Create, Edit, Query };

    Mode mode = Mode::Create;
    bool help = false;
    FlagValue nodeName;             // -n
    FlagValue xmlName;              // -xn
    FlagValue xmlValue;             // -xv
    FlagValue child;                // -ch
    FlagValue parent;               // -p
    FlagValue attribute;            // -at
    FlagValue disconnectParent;     // -dp
    FlagValue disconnectChild;      // -dc
    FlagValue removeChild;          // -rc
    FlagValue disconnectAttribute;  // -da
    FlagValue removeAttribute;      // -ra
    bool disconnectAllChildren = false;    // -dac
    bool removeAllChildren = false;        // -rac
    bool disconnectAllAttributes = false;  // -daa
    bool removeAllAttributes = false;      // -raa

    bool isEdit() const { return mode == Mode::Edit; }
    bool isQuery() const { return mode == Mode::Query; }
    bool isCreate() const { return mode == Mode::Create; }
    // Edit and query act on the selected element; so do the unlink and
    // removal flags, in every mode.
    bool needsSelectedElement() const;
};

// The command's syntax: edit and query enabled, then the flags.
MSyntax xmlElementSyntax();

// Reads every flag of `args` into one request.
XmlElementRequest parseXmlElementRequest(const MArgDatabase& args);

#endif
