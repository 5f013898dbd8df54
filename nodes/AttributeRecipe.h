#ifndef DENDRINE_ATTRIBUTE_RECIPE_H
#define DENDRINE_ATTRIBUTE_RECIPE_H
// How a node class's initialize() builds one typed attribute: creation, the
// flag setters in the order they are called, then addAttribute. Each step
// may carry the message written to standard output when it fails; a step
// without a message is not checked and never reports.

#include "nodes/PlugNames.h"

#include <maya/MFnAttribute.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>
#include <vector>

// One flag setter call, e.g. {&MFnAttribute::setKeyable, false, "..."}.
struct FlagStep {
    MStatus (MFnAttribute::*setter)(bool);
    bool value;
    const char* failureText;  // null: unchecked
};

// How a failed creation is reported.
enum class CreateReport {
    LineWithError,  // an error line (ErrorLine::Standard)
    BareText        // any non-success; the text alone, no line end (ErrorLine::TextOnly)
};

struct AttributeRecipe {
    PlugName names;
    const MTypeId* dataType;  // null: a string attribute
    const char* createFailureText;  // null: unchecked
    CreateReport createReport;
    std::vector<FlagStep> flags;
    const char* addFailureText;  // null: unchecked
};

// A stored string plug that takes no connections, no step checked: the
// document's texts and the attribute node's name and value.
AttributeRecipe storedTextRecipe(const PlugName& names);

// Creates the attribute, sets its flags in order and adds it to the node
// type being registered. Never stops at a failed step. Only valid inside a
// node class's initialize(), while the host registers that type.
MObject buildAttribute(const AttributeRecipe& recipe);

#endif
