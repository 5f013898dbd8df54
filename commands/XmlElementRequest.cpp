#include "commands/XmlElementRequest.h"

namespace {

// Each flag's short and long name, defined once for the syntax and the
// parser alike.
struct FlagName {
    const char* shortName;
    const char* longName;
};

const FlagName kHelp{"-h", "-help"};
const FlagName kName{"-n", "-name"};
const FlagName kXmlName{"-xn", "-xname"};
const FlagName kXmlValue{"-xv", "-xvalue"};
const FlagName kChild{"-ch", "-child"};
const FlagName kDisconnectChild{"-dc", "-disconnectchild"};
const FlagName kDisconnectAllChild{"-dac", "-disconnectallchild"};
const FlagName kRemoveChild{"-rc", "-removechild"};
const FlagName kRemoveAllChild{"-rac", "-removeallchild"};
const FlagName kParent{"-p", "-parent"};
const FlagName kDisconnectParent{"-dp", "-disconnectparent"};
const FlagName kAttribute{"-at", "-attribute"};
const FlagName kDisconnectAttribute{"-da", "-disconnectattribute"};
const FlagName kDisconnectAllAttribute{"-daa", "-disconnectallattribute"};
const FlagName kRemoveAttribute{"-ra", "-removeattribute"};
const FlagName kRemoveAllAttribute{"-raa", "-removeallattribute"};

FlagValue stringFlag(const MArgDatabase& args, const FlagName& flag)
{
    FlagValue value;
    value.set = args.isFlagSet(flag.shortName);
    if (value.set)
        value.read = args.getFlagArgument(flag.shortName, 0, value.text) == MS::kSuccess;
    return value;
}

}  // namespace

bool XmlElementRequest::needsSelectedElement() const
{
    return isEdit() || isQuery() || disconnectParent.set || disconnectChild.set
           || disconnectAllChildren || disconnectAttribute.set || disconnectAllAttributes
           || removeChild.set || removeAllChildren || removeAttribute.set || removeAllAttributes;
}

MSyntax xmlElementSyntax()
{
    MSyntax syntax;
    syntax.enableEdit(true);
    syntax.enableQuery(true);
    syntax.addFlag(kHelp.shortName, kHelp.longName);
    for (const FlagName* flag : {&kName, &kXmlName, &kXmlValue, &kChild, &kDisconnectChild})
        syntax.addFlag(flag->shortName, flag->longName, MSyntax::kString);
    syntax.addFlag(kDisconnectAllChild.shortName, kDisconnectAllChild.longName);
    syntax.addFlag(kRemoveChild.shortName, kRemoveChild.longName, MSyntax::kString);
    syntax.addFlag(kRemoveAllChild.shortName, kRemoveAllChild.longName);
    for (const FlagName* flag : {&kParent, &kDisconnectParent, &kAttribute, &kDisconnectAttribute})
        syntax.addFlag(flag->shortName, flag->longName, MSyntax::kString);
    syntax.addFlag(kDisconnectAllAttribute.shortName, kDisconnectAllAttribute.longName);
    syntax.addFlag(kRemoveAttribute.shortName, kRemoveAttribute.longName, MSyntax::kString);
    syntax.addFlag(kRemoveAllAttribute.shortName, kRemoveAllAttribute.longName);
    return syntax;
}

XmlElementRequest parseXmlElementRequest(const MArgDatabase& args)
{
    XmlElementRequest request;
    if (args.isEdit())
        request.mode = XmlElementRequest::Mode::Edit;
    else if (args.isQuery())
        request.mode = XmlElementRequest::Mode::Query;
    request.help = args.isFlagSet(kHelp.shortName);
    request.nodeName = stringFlag(args, kName);
    request.xmlName = stringFlag(args, kXmlName);
    request.xmlValue = stringFlag(args, kXmlValue);
    request.child = stringFlag(args, kChild);
    request.parent = stringFlag(args, kParent);
    request.attribute = stringFlag(args, kAttribute);
    request.disconnectParent = stringFlag(args, kDisconnectParent);
    request.disconnectChild = stringFlag(args, kDisconnectChild);
    request.removeChild = stringFlag(args, kRemoveChild);
    request.disconnectAttribute = stringFlag(args, kDisconnectAttribute);
    request.removeAttribute = stringFlag(args, kRemoveAttribute);
    request.disconnectAllChildren = args.isFlagSet(kDisconnectAllChild.shortName);
    request.removeAllChildren = args.isFlagSet(kRemoveAllChild.shortName);
    request.disconnectAllAttributes = args.isFlagSet(kDisconnectAllAttribute.shortName);
    request.removeAllAttributes = args.isFlagSet(kRemoveAllAttribute.shortName);
    return request;
}
