#ifndef DGHOST_INTERNAL_H
#define DGHOST_INTERNAL_H
// The host's inner model: reference-counted objects behind MObject handles,
// node types and their attributes, nodes with their plug state, and the
// scene. Nothing here is visible to plug-ins.

#include <maya/MFn.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MSelectionList.h>
#include <maya/MPlugin.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN
class MPxCommand;
class MSyntax;
OPENMAYA_NAMESPACE_CLOSE

namespace dghost {
namespace detail {

// Base of everything an MObject can point to. The handle count keeps the
// memory alive after the object left the scene, so a stale handle is safe.
struct Handle {
    int refs = 0;
    virtual ~Handle() = default;
    virtual MFn::Type apiType() const = 0;
    virtual bool hasFn(MFn::Type type) const = 0;
};

void retain(Handle* handle);
void release(Handle* handle);

Handle* handleOf(const MObject& object);
MObject objectOf(Handle* handle);

struct NodeType;
struct Plugin;

// Attribute flags, in the order of MFnAttribute's setters.
enum AttributeFlag {
    kReadable, kWritable, kConnectable, kStorable, kCached, kArray, kIndexMatters, kKeyable,
    kHidden, kFlagCount
};

struct Attribute : Handle {
    std::string longName;
    std::string shortName;
    bool isString = false;      // otherwise a user-defined data attribute
    unsigned int dataId = 0;    // type id of the data, for data attributes
    bool flags[kFlagCount] = {true, true, true, true, true, false, true, false, false};
    NodeType* owner = nullptr;  // set by MPxNode::addAttribute
    int index = -1;             // position in the owner's attribute list

    bool flag(AttributeFlag f) const { return flags[f]; }
    MFn::Type apiType() const override { return MFn::kTypedAttribute; }
    bool hasFn(MFn::Type type) const override
    {
        return type == MFn::kBase || type == MFn::kAttribute || type == MFn::kTypedAttribute;
    }
};

struct NodeType {
    std::string name;
    unsigned int id = 0;
    MCreatorFunction creator = nullptr;
    MInitializeFunction initialize = nullptr;
    Plugin* plugin = nullptr;   // null for the host's own types
    std::vector<MObject> attributeObjects;   // keeps the attributes alive
    std::vector<Attribute*> attributes;
    std::unordered_map<std::string, int> attributeByName;  // long and short names
    std::size_t liveNodes = 0;
    std::string defaultNameBase;  // type name with a lower-case first letter

    int findAttribute(const std::string& name) const;
};

struct Node;

// One end of a connection: a node's attribute, an element of it (index >= 0)
// or the whole attribute (index -1).
struct Endpoint {
    Node* node = nullptr;
    int attribute = -1;
    int index = -1;

    bool operator==(const Endpoint& o) const
    {
        return node == o.node && attribute == o.attribute && index == o.index;
    }
};

struct PlugState {
    std::string value;
    bool hasValue = false;
    bool hasSource = false;
    Endpoint source;
    std::vector<Endpoint> destinations;

    bool connected() const { return hasSource || !destinations.empty(); }
};

// The state of one attribute of one node: the attribute plug itself and,
// for arrays, its elements sorted by logical index.
struct AttributeState {
    PlugState whole;
    std::vector<unsigned int> indices;   // ascending logical indices
    std::vector<PlugState> elements;     // parallel to indices
    std::size_t connectedElements = 0;
    // Positions of connected elements, rebuilt lazily after a change.
    mutable std::vector<unsigned int> connectedPositions;
    mutable bool connectedPositionsValid = true;

    // Position of the logical index, or -1.
    long find(unsigned int logicalIndex) const;
    // Position of the logical index, creating the element when missing.
    std::size_t findOrCreate(unsigned int logicalIndex);
    const std::vector<unsigned int>& connected() const;
};

class Scene;

struct Node : Handle {
    NodeType* type = nullptr;
    Scene* scene = nullptr;
    std::string name;
    bool alive = true;
    std::uint64_t sequence = 0;   // creation order
    MPxNode* user = nullptr;
    std::vector<AttributeState> attributes;

    PlugState* plug(int attribute, int index, bool create);
    MFn::Type apiType() const override;
    bool hasFn(MFn::Type type) const override;
};

// A loaded plug-in and what it registered.
struct Plugin : Handle {
    std::string name;
    std::string path;
    std::string vendor = "Unknown";
    std::string version = "Unknown";
    std::string apiVersion;
    void* module = nullptr;          // dlopen handle; null when linked in
    MStatus (*initialize)(MObject) = nullptr;
    MStatus (*uninitialize)(MObject) = nullptr;

    MFn::Type apiType() const override { return MFn::kBase; }
    bool hasFn(MFn::Type type) const override { return type == MFn::kBase; }
};

// The nodes of one scene, by creation order and by name.
class Scene {
public:
    Scene() = default;
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Creates a node; `requested` is sanitized and made unique.
    Node* create(NodeType* type, const std::string& requested, MStatus* status);
    void destroy(Node* node);
    Node* find(const std::string& name) const;
    std::string rename(Node* node, const std::string& requested);
    // Live nodes in creation order.
    std::vector<Node*> nodes() const;
    std::size_t size() const { return byName_.size(); }
    void clear();

    std::string fileName;
    bool modified = false;

private:
    std::string uniqueName(const std::string& sanitized);
    std::string numberedName(const std::string& base);
    void releaseName(const std::string& name);
    void compact() const;

    mutable std::vector<Node*> order_;     // creation order, dead entries pruned lazily
    mutable std::size_t deadInOrder_ = 0;
    std::unordered_map<std::string, Node*> byName_;
    // Next trailing number to try per name base; amortises unique naming.
    std::unordered_map<std::string, unsigned int> nextSuffix_;
    std::uint64_t sequence_ = 0;
};

// Makes a requested node name legal: letters, digits and '_' only, no
// leading digit.
std::string sanitizeName(const std::string& requested);

// Plugs and the endpoints they stand for.
MPlug makePlug(const Endpoint& end);
// False for a null plug or one whose node is gone.
bool endpointOf(const MPlug& plug, Endpoint& end);

// Connects or disconnects two plugs of live nodes (validated).
MStatus connectPlugs(const Endpoint& source, const Endpoint& destination, std::string* why);
MStatus disconnectPlugs(const Endpoint& source, const Endpoint& destination, std::string* why);
// Removes every connection of a node, then the node.
void deleteNode(Node* node);

// Host-wide registries and the current scene. Never destroyed, so plug-in
// statics may release handles at any point of process exit.
struct CommandEntry {
    std::string name;
    MCreatorFunction creator = nullptr;
    MCreateSyntaxFunction syntax = nullptr;
    Plugin* plugin = nullptr;   // null for the host's own commands
};

struct Registry {
    std::vector<std::unique_ptr<NodeType>> nodeTypes;
    std::unordered_map<std::string, CommandEntry> commands;
    struct DataType {
        std::string name;
        unsigned int id;
        MCreatorFunction creator;
        Plugin* plugin;
    };
    std::vector<DataType> dataTypes;
    std::vector<MObject> plugins;      // loaded plug-ins, in load order
    NodeType* initializing = nullptr;  // the type whose initialize() runs
    Plugin* registering = nullptr;     // the plug-in whose entry point runs

    NodeType* findType(const std::string& name) const;
    NodeType* findType(unsigned int id) const;
    Plugin* findPlugin(const std::string& name) const;
};

Registry& registry();
// Adds the host's own commands and node types to a new registry.
void registerBuiltins(Registry& registry);
Scene& scene();
// Replaces the current scene (used by file -open once a file was read).
void replaceScene(std::unique_ptr<Scene> next);

// Resolves an MObject to a live node, or null.
Node* liveNode(const MObject& object);
Attribute* attributeOf(const MObject& object);

// Links a plug-in node object to the host node it belongs to.
void setNodeInstance(MPxNode* user, Node* node);

// Appends to an API array without going through fault injection: the
// host's own bookkeeping is not a call a plug-in made.
template <typename Array, typename Value>
void put(Array& array, const Value& value)
{
    unsigned int n = array.length();
    array.setLength(n + 1);
    array[n] = value;
}

// Status texts.
const char* statusCodeName(MStatus::MStatusCode code);
MStatus failure(MStatus::MStatusCode code, const std::string& text);

// Fault injection check: true when this call must fail; `status` gets the
// status to return.
enum class Op {
    createAttribute, setReadable, setWritable, setConnectable, setStorable, setCached, setArray,
    setIndexMatters, setKeyable, setHidden, addAttribute, attributeAffects, registerData,
    registerNode, registerCommand, deregisterCommand, deregisterNode, deregisterData, createNode,
    attachFunctionSet, findPlug, getValue, setValue, numElements, elementByLogicalIndex,
    connectionByPhysicalIndex, getExistingArrayAttributeIndices, connectedTo, connect,
    disconnect, deleteNode, doIt, executeCommand, selectByName, getActiveSelectionList,
    setActiveSelectionList, clearSelectionList, getDependNode, arrayAppend, getFlagArgument,
    typeId, name, writeScene, renameScene, count
};
bool faultHit(Op op, MStatus& status);

// Name patterns with * and ?, and the active selection.
bool isPattern(const std::string& text);
bool matchPattern(const std::string& pattern, const std::string& text);
std::vector<Node*> matchNodes(const std::string& pattern);
MSelectionList& activeSelection();
// Drops a node that leaves the scene from the active selection.
void forgetSelected(Node* node);

// Gives a command object its syntax and name before doIt.
void setCommandContext(MPxCommand& command, const MSyntax& syntax, const std::string& name);

// Messages of the running command (or of the host when none runs).
void reportMessage(const char* kind, const std::string& text);

}  // namespace detail
}  // namespace dghost

#endif
