// The host's own commands (createNode, connectAttr, ls, select, file...)
// and its built-in node type, "network".

#include "Api.h"
#include "runtime/Builtin.h"

#include <dghost/Host.h>

#include <maya/MArgDatabase.h>
#include <maya/MDGModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MPxCommand.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <iostream>

using namespace dghost::detail;

namespace {

// "node.attr" or "node.attr[3]" to a plug, or an error text.
bool parsePlug(const std::string& text, MPlug& plug, std::string& error)
{
    PlugName name;
    PlugNameError malformed = splitPlugName(text, name);
    if (malformed == PlugNameError::kNotAPlug) return error = "not a plug name: " + text, false;
    if (malformed == PlugNameError::kBadIndex) return error = "bad index in " + text, false;
    Node* node = scene().find(name.node);
    if (!node) return error = "no node named " + name.node, false;
    int a = node->type->findAttribute(name.attribute);
    if (a < 0) return error = "no attribute " + name.attribute + " on " + node->name.str(), false;
    plug = makePlug(Endpoint{node, a, -1});
    if (name.index >= 0) {
        if (!node->type->attributes[a]->flag(kArray)) return error = name.attribute + " is not an array", false;
        plug = plug.elementByLogicalIndex(static_cast<unsigned int>(name.index));
    }
    return true;
}

// --------------------------------------------------------------- commands

class LoadPluginCmd : public Builtin {
public:
    MStatus run(const MArgDatabase& args) override
    {
        std::vector<std::string> loaded;
        for (const std::string& name : objectsOf(args)) {
            std::string error;
            if (!dghost::loadPlugin(name, &error)) return MS::kFailure;
            std::size_t slash = name.rfind('/');
            std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
            loaded.push_back(base.substr(0, base.find('.')));
        }
        setStrings(loaded);
        return MS::kSuccess;
    }
};

class UnloadPluginCmd : public Builtin {
public:
    MStatus run(const MArgDatabase& args) override
    {
        for (const std::string& name : objectsOf(args))
            if (!dghost::unloadPlugin(name, nullptr)) return MS::kFailure;
        return MS::kSuccess;
    }
};

class CreateNodeCmd : public Builtin {
public:
    static MSyntax newSyntax()
    {
        MSyntax syntax = objectsSyntax(1, 1);
        syntax.addFlag("-n", "-name", MSyntax::kString);
        return syntax;
    }
    MStatus run(const MArgDatabase& args) override
    {
        std::string typeName = objectsOf(args)[0];
        if (!registry().findType(typeName)) return fail("Unknown object type: " + typeName);
        MStatus status;
        MFnDependencyNode fn;
        fn.create(MString(typeName.c_str()), MString(flagText(args, "-n").c_str()), &status);
        if (!status) return fail("Could not create a node of type " + typeName, status);
        setResult(fn.name());
        return MS::kSuccess;
    }
};

// Nodes named by the arguments (patterns allowed), or the selection.
bool namedNodes(const MArgDatabase& args, std::vector<Node*>& nodes, bool selectionByDefault)
{
    std::vector<std::string> names = objectsOf(args);
    if (names.empty() && selectionByDefault) {
        MSelectionList& active = activeSelection();
        MObject item;
        for (unsigned int i = 0; i < active.length(); ++i)
            if (active.getDependNode(i, item) == MS::kSuccess) nodes.push_back(liveNode(item));
        return true;
    }
    for (const std::string& name : names) {
        std::vector<Node*> found = matchNodes(name);
        if (found.empty()) return fail("No object matches name: " + name), false;
        nodes.insert(nodes.end(), found.begin(), found.end());
    }
    return true;
}

class DeleteCmd : public Builtin {
public:
    MStatus run(const MArgDatabase& args) override
    {
        std::vector<Node*> nodes;
        if (!namedNodes(args, nodes, true)) return MS::kFailure;
        for (Node* node : nodes) deleteNode(node);
        return MS::kSuccess;
    }
};

class RenameCmd : public Builtin {
public:
    MStatus run(const MArgDatabase& args) override
    {
        std::vector<std::string> names = objectsOf(args);
        Node* node = scene().find(names[0]);
        if (!node) return fail("No object matches name: " + names[0]);
        if (sanitizeName(names[1]).empty()) return fail("New name is not valid: " + names[1]);
        setResult(MString(scene().rename(node, names[1]).c_str()));
        return MS::kSuccess;
    }
};

class SelectCmd : public Builtin {
public:
    static MSyntax newSyntax()
    {
        MSyntax syntax = objectsSyntax(0);
        syntax.addFlag("-r", "-replace");
        syntax.addFlag("-add", "-add");
        syntax.addFlag("-d", "-deselect");
        syntax.addFlag("-cl", "-clear");
        return syntax;
    }
    MStatus run(const MArgDatabase& args) override
    {
        if (args.isFlagSet("-cl")) return MGlobal::clearSelectionList();
        MSelectionList picked;
        for (const std::string& name : objectsOf(args))
            if (!picked.add(MString(name.c_str()))) return fail("No object matches name: " + name);
        MGlobal::ListAdjustment how = args.isFlagSet("-add") ? MGlobal::kAddToList
                                      : args.isFlagSet("-d") ? MGlobal::kRemoveFromList
                                                             : MGlobal::kReplaceList;
        return MGlobal::setActiveSelectionList(picked, how);
    }
};

class LsCmd : public Builtin {
public:
    static MSyntax newSyntax()
    {
        MSyntax syntax = objectsSyntax(0);
        syntax.addFlag("-dep", "-dependencyNodes");
        syntax.addFlag("-sl", "-selection");
        syntax.addFlag("-typ", "-type", MSyntax::kString);
        return syntax;
    }
    MStatus run(const MArgDatabase& args) override
    {
        std::vector<Node*> nodes;
        if (args.isFlagSet("-sl")) {
            namedNodes(args, nodes, true);
        } else if (objectsOf(args).empty()) {
            nodes = scene().nodes();
        } else {
            for (const std::string& name : objectsOf(args)) {
                std::vector<Node*> found = matchNodes(name);
                nodes.insert(nodes.end(), found.begin(), found.end());
            }
        }
        std::string type = flagText(args, "-typ");
        std::vector<std::string> names;
        names.reserve(nodes.size());
        for (Node* node : nodes)
            if (node && (type.empty() || node->type->name == type)) names.push_back(node->name.str());
        setStrings(names);
        return MS::kSuccess;
    }
};

class NodeTypeCmd : public Builtin {
public:
    MStatus run(const MArgDatabase& args) override
    {
        Node* node = scene().find(objectsOf(args)[0]);
        if (!node) return fail("No object matches name: " + objectsOf(args)[0]);
        setResult(MString(node->type->name.c_str()));
        return MS::kSuccess;
    }
};

class ObjExistsCmd : public Builtin {
public:
    MStatus run(const MArgDatabase& args) override
    {
        std::string name = objectsOf(args)[0];
        MPlug plug;
        std::string error;
        bool exists = name.find('.') == std::string::npos ? scene().find(name) != nullptr
                                                          : parsePlug(name, plug, error);
        setResult(exists);
        return MS::kSuccess;
    }
};

class GetAttrCmd : public Builtin {
public:
    static MSyntax newSyntax()
    {
        MSyntax syntax = objectsSyntax(1, 1);
        syntax.addFlag("-s", "-size");
        return syntax;
    }
    MStatus run(const MArgDatabase& args) override
    {
        MPlug plug;
        std::string error;
        if (!parsePlug(objectsOf(args)[0], plug, error)) return fail(error);
        if (args.isFlagSet("-s")) {
            MStatus status;
            unsigned int count = plug.numElements(&status);
            if (!status) return fail(objectsOf(args)[0] + " is not an array", status);
            setResult(static_cast<int>(count));
            return MS::kSuccess;
        }
        MString value;
        MStatus status = plug.getValue(value);
        if (!status) return fail("Cannot read " + objectsOf(args)[0] + ": it holds no string", status);
        setResult(value);
        return MS::kSuccess;
    }
};

class SetAttrCmd : public Builtin {
public:
    static MSyntax newSyntax()
    {
        MSyntax syntax = objectsSyntax(2, 2);
        syntax.addFlag("-typ", "-type", MSyntax::kString);
        return syntax;
    }
    MStatus run(const MArgDatabase& args) override
    {
        std::vector<std::string> words = objectsOf(args);
        if (args.isFlagSet("-typ") && flagText(args, "-typ") != "string")
            return fail("Unsupported value type: " + flagText(args, "-typ"));
        MPlug plug;
        std::string error;
        if (!parsePlug(words[0], plug, error)) return fail(error);
        MStatus status = plug.setValue(MString(words[1].c_str()));
        if (!status) return fail("Cannot set " + words[0] + ": " + status.errorString().asChar(), status);
        return MS::kSuccess;
    }
};

// connectAttr and disconnectAttr.
template <bool connect>
class LinkCmd : public Builtin {
public:
    MStatus run(const MArgDatabase& args) override
    {
        std::vector<std::string> words = objectsOf(args);
        MPlug source, destination;
        std::string error;
        if (!parsePlug(words[0], source, error) || !parsePlug(words[1], destination, error)) return fail(error);
        MDGModifier modifier;
        MStatus status = connect ? modifier.connect(source, destination) : modifier.disconnect(source, destination);
        if (status) status = modifier.doIt();
        if (!status)
            return fail(std::string(connect ? "Cannot connect " : "Cannot disconnect ") + words[0] + " and " +
                            words[1] + ": " + status.errorString().asChar(),
                        status);
        return MS::kSuccess;
    }
};

class ListConnectionsCmd : public Builtin {
public:
    static MSyntax newSyntax()
    {
        MSyntax syntax = objectsSyntax(1, 1);
        syntax.addFlag("-s", "-source", MSyntax::kBoolean);
        syntax.addFlag("-d", "-destination", MSyntax::kBoolean);
        syntax.addFlag("-p", "-plugs", MSyntax::kBoolean);
        return syntax;
    }
    MStatus run(const MArgDatabase& args) override
    {
        std::string target = objectsOf(args)[0];
        MPlugArray plugs;
        if (target.find('.') == std::string::npos) {
            Node* node = scene().find(target);
            if (!node) return fail("No object matches name: " + target);
            MFnDependencyNode(objectOf(node)).getConnections(plugs);
        } else {
            MPlug plug;
            std::string error;
            if (!parsePlug(target, plug, error)) return fail(error);
            put(plugs, plug);
            // An array plug answers for its elements too.
            for (unsigned int i = 0; plug.isArray() && i < plug.numConnectedElements(); ++i)
                put(plugs, plug.connectionByPhysicalIndex(i));
        }
        bool sources = flagBool(args, "-s", true), destinations = flagBool(args, "-d", true);
        bool asPlugs = flagBool(args, "-p", false);
        std::vector<std::string> found;
        for (unsigned int i = 0; i < plugs.length(); ++i) {
            MPlugArray other;
            plugs[i].connectedTo(other, sources, destinations);
            for (unsigned int j = 0; j < other.length(); ++j)
                found.push_back(asPlugs ? other[j].partialName(true, true, false, false, false, true).asChar()
                                        : MFnDependencyNode(other[j].node()).name().asChar());
        }
        setStrings(found);
        return MS::kSuccess;
    }
};

class PrintCmd : public Builtin {
public:
    MStatus run(const MArgDatabase& args) override
    {
        for (const std::string& text : objectsOf(args)) std::cout << text;
        std::cout.flush();
        return MS::kSuccess;
    }
};

MSyntax oneObject() { return objectsSyntax(1, 1); }
MSyntax twoObjects() { return objectsSyntax(2, 2); }
MSyntax someObjects() { return objectsSyntax(1); }
MSyntax anyObjects() { return objectsSyntax(0); }

}  // namespace

namespace dghost {
namespace detail {

void registerBuiltins(Registry& reg)
{
    auto add = [&reg](const char* name, MCreatorFunction creator, MCreateSyntaxFunction syntax) {
        reg.commands[name] = CommandEntry{name, creator, syntax, nullptr};
    };
    add("loadPlugin", create<LoadPluginCmd>, someObjects);
    add("unloadPlugin", create<UnloadPluginCmd>, someObjects);
    add("createNode", create<CreateNodeCmd>, CreateNodeCmd::newSyntax);
    add("delete", create<DeleteCmd>, anyObjects);
    add("rename", create<RenameCmd>, twoObjects);
    add("select", create<SelectCmd>, SelectCmd::newSyntax);
    add("ls", create<LsCmd>, LsCmd::newSyntax);
    add("nodeType", create<NodeTypeCmd>, oneObject);
    add("objExists", create<ObjExistsCmd>, oneObject);
    add("getAttr", create<GetAttrCmd>, GetAttrCmd::newSyntax);
    add("setAttr", create<SetAttrCmd>, SetAttrCmd::newSyntax);
    add("connectAttr", create<LinkCmd<true>>, twoObjects);
    add("disconnectAttr", create<LinkCmd<false>>, twoObjects);
    add("listConnections", create<ListConnectionsCmd>, ListConnectionsCmd::newSyntax);
    add("print", create<PrintCmd>, anyObjects);
    registerFileCommands(reg);

    auto network = std::make_unique<NodeType>();
    network->name = "network";
    network->id = 0x4e455457;  // 'NETW'
    network->defaultNameBase = "network";
    reg.nodeTypes.push_back(std::move(network));
}

}  // namespace detail
}  // namespace dghost
