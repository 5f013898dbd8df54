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
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN
class MPxCommand;
class MSyntax;
OPENMAYA_NAMESPACE_CLOSE

namespace dghost {
struct Statement;
}

namespace dghost {
namespace detail {

// Base of everything an MObject can point to. The handle count keeps the
// memory alive after the object left the scene, so a stale handle is safe.
// The kind tells an MObject's target without a dynamic_cast, which the
// host would otherwise pay on nearly every API call.
struct Handle {
    enum class Kind : unsigned char { Node, Attribute, Plugin };

    explicit Handle(Kind k) : kind(k) {}
    virtual ~Handle() = default;
    virtual MFn::Type apiType() const = 0;
    virtual bool hasFn(MFn::Type type) const = 0;

    int refs = 0;
    const Kind kind;
};

inline void retain(Handle* handle)
{
    if (handle) ++handle->refs;
}

inline void release(Handle* handle)
{
    if (handle && --handle->refs == 0) delete handle;
}

}  // namespace detail
}  // namespace dghost

OPENMAYA_MAJOR_NAMESPACE_OPEN
// The host's way into an MObject's handle.
struct MObjectAccess {
    static dghost::detail::Handle* get(const MObject& o) { return static_cast<dghost::detail::Handle*>(o.fPtr); }
    static MObject make(dghost::detail::Handle* h)
    {
        MObject o;
        o.fPtr = h;
        dghost::detail::retain(h);
        return o;
    }
    // Points `o` at `h` without a temporary handle.
    static void assign(MObject& o, dghost::detail::Handle* h)
    {
        dghost::detail::retain(h);
        dghost::detail::release(get(o));
        o.fPtr = h;
    }
};
OPENMAYA_NAMESPACE_CLOSE

namespace dghost {
namespace detail {

inline Handle* handleOf(const MObject& object) { return OPENMAYA_MAJOR_NAMESPACE_SCHEMA::MObjectAccess::get(object); }
inline MObject objectOf(Handle* handle) { return OPENMAYA_MAJOR_NAMESPACE_SCHEMA::MObjectAccess::make(handle); }

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

    Attribute() : Handle(Kind::Attribute) {}
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
    // Per attribute: its place among the node's string values, or -1.
    // Made with the first node (attributes are fixed by then).
    std::vector<int> valueSlots;
    int valueCount = 0;

    int findAttribute(const std::string& name) const;
    int findAttribute(const char* name, std::size_t length) const;
    // Brings valueSlots up to date with the attributes.
    void prepareLayout();
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

// The string value of a plug in 16 bytes: up to 15 bytes in place (most
// values are short: tags, numbers, names), longer ones on the heap. In
// place, the last byte holds 15 minus the size, which is the terminating
// NUL when all 15 are used.
class PlugText {
public:
    PlugText() { setInline(0); }
    ~PlugText() { freeHeap(); }
    PlugText(const PlugText&) = delete;
    PlugText& operator=(const PlugText&) = delete;

    const char* c_str() const { return onHeap() ? heapData() : storage_; }
    std::size_t size() const;
    bool empty() const { return size() == 0; }
    void assign(const char* text, std::size_t length);
    PlugText& operator=(const std::string& text)
    {
        assign(text.data(), text.size());
        return *this;
    }
    std::string str() const { return std::string(c_str(), size()); }

private:
    static constexpr char kHeapTag = static_cast<char>(0x80);
    bool onHeap() const { return storage_[15] == kHeapTag; }
    char* heapData() const;
    void setInline(std::size_t length);
    void freeHeap();

    // In place: the bytes. On the heap: pointer, 32-bit size, tag last.
    char storage_[16];
};

// The outgoing connections of one plug, in the order they were made. One
// is held in place: most plugs that feed anything feed a single plug.
class DestinationList {
public:
    DestinationList() : one_() {}
    ~DestinationList();
    DestinationList(const DestinationList&) = delete;
    DestinationList& operator=(const DestinationList&) = delete;

    const Endpoint* begin() const { return capacity_ > 1 ? many_ : &one_; }
    const Endpoint* end() const { return begin() + size_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void push_back(const Endpoint& end);
    // Removes the first equal endpoint; false when there is none.
    bool erase(const Endpoint& end);

private:
    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = 1;
    union {
        Endpoint one_;
        Endpoint* many_;
    };
};

// The connections of a plug that is no array element: made on its first
// connection and kept while the node lives.
struct Links {
    Endpoint source;   // node null: no incoming connection
    DestinationList destinations;

    bool connected() const { return source.node || !destinations.empty(); }
};

// The value and outgoing connections of an array element, made when
// first needed (most elements only receive one connection).
struct ElementExtra {
    PlugText value;
    DestinationList destinations;
};

// One element of an array plug.
struct ElementState {
    unsigned int index = 0;   // logical index
    Endpoint source;          // node null: no incoming connection
    std::unique_ptr<ElementExtra> extra;

    bool connected() const { return source.node || (extra && !extra->destinations.empty()); }
};

// The elements of one array plug of one node, sorted by logical index,
// made on the first element.
struct ArrayState {
    std::vector<ElementState> elements;
    std::uint32_t connectedElements = 0;
    mutable bool connectedPositionsValid = false;
    // Positions of the connected elements, rebuilt lazily after a change;
    // not made while every element is connected (position = physical index).
    mutable std::unique_ptr<std::vector<unsigned int>> connectedPositions;

    // Position of the logical index, or -1.
    long find(unsigned int logicalIndex) const;
    // Position of the logical index, creating the element when missing.
    std::size_t findOrCreate(unsigned int logicalIndex);
    // Physical position of the n-th connected element; false past the last.
    bool connectedPosition(std::size_t n, std::size_t& position) const;
    std::size_t numConnected() const { return connectedElements; }
};

// The state of one attribute of one node besides its string value.
struct AttributeSlot {
    std::unique_ptr<Links> links;       // of the attribute plug itself
    std::unique_ptr<ArrayState> array;  // its elements, for array attributes
};

// A plug's state wherever it is stored, for reading: null parts are empty.
struct PlugRead {
    const PlugText* value = nullptr;
    const Endpoint* source = nullptr;      // null or a node-null endpoint: none
    const DestinationList* destinations = nullptr;

    bool hasSource() const { return source && source->node; }
    bool connected() const { return hasSource() || (destinations && !destinations->empty()); }
};

class Scene;

// A node of the scene. Its attribute slots and the string values of its
// attribute plugs live in the same allocation, behind the node: a node
// costs one allocation, plus one per connected plug of its own.
struct Node : Handle {
    NodeType* type = nullptr;
    Scene* scene = nullptr;
    MPxNode* user = nullptr;
    std::string name;
    bool alive = true;
    std::uint16_t slotCount = 0;    // attributes of the type; 0 once the node is gone
    std::uint16_t valueCount = 0;   // string attributes of the type

    // A new node of `type` with empty plugs.
    static Node* make(NodeType* type);
    ~Node() override;
    static void operator delete(void* memory) { ::operator delete(memory); }

    AttributeSlot& slot(int attribute) { return slots()[attribute]; }
    const AttributeSlot& slot(int attribute) const { return const_cast<Node*>(this)->slots()[attribute]; }
    bool hasAttribute(int attribute) const { return attribute >= 0 && attribute < slotCount; }
    // The string value of an attribute plug; null for other attributes.
    PlugText* wholeValue(int attribute);

    // The plug's state for reading, or all-null when the plug has none.
    PlugRead read(int attribute, int index) const;
    // The value of a string plug, made when missing (elements included).
    PlugText* writableValue(int attribute, int index);
    // Where the plug keeps its incoming connection and its outgoing ones,
    // made when missing.
    Endpoint& sourceSlot(int attribute, int index);
    DestinationList& destinationSlot(int attribute, int index);
    // Makes the array element if it does not exist.
    void touchElement(int attribute, unsigned int logicalIndex);
    // Frees every plug state (the node left the scene).
    void dropState();

    MFn::Type apiType() const override;
    bool hasFn(MFn::Type type) const override;

private:
    Node() : Handle(Kind::Node) {}
    AttributeSlot* slots();
    PlugText* values();
    ArrayState& arrayOf(int attribute);
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

    Plugin() : Handle(Kind::Plugin) {}
    MFn::Type apiType() const override { return MFn::kBase; }
    bool hasFn(MFn::Type type) const override { return type == MFn::kBase; }
};

// Nodes by name, holding no copy of the names: an open-addressing table
// of node pointers hashed by each node's own name (linear probing,
// deletion by shifting back, so no tombstones). Each slot keeps its
// name's hash, so a probe reads a node only when the hashes agree.
class NameIndex {
public:
    Node* find(const std::string& name) const;
    // The node's name must not be in the index yet.
    void insert(Node* node);
    void erase(const std::string& name);
    std::size_t size() const { return size_; }
    void clear();

private:
    static std::uint32_t hashOf(const std::string& name);
    void place(Node* node, std::uint32_t hash);
    void grow();

    std::vector<Node*> slots_;            // null: free; size is a power of two
    std::vector<std::uint32_t> hashes_;   // parallel to slots_
    std::size_t size_ = 0;
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
    NameIndex byName_;
    // Next trailing number to try per name base; amortises unique naming.
    std::unordered_map<std::string, unsigned int> nextSuffix_;
};

// Makes a requested node name legal: letters, digits and '_' only, no
// leading digit.
std::string sanitizeName(const std::string& requested);

// Plugs and the endpoints they stand for.
MPlug makePlug(const Endpoint& end);
// False for a null plug or one whose node is gone.
bool endpointOf(const MPlug& plug, Endpoint& end);

// A plug written as NODE.ATTR or NODE.ATTR[INDEX]; NODE may be empty (a
// scene file's ".ATTR" names the node created last). index is -1 without one.
struct PlugName {
    std::string node;
    std::string attribute;
    int index = -1;
};
enum class PlugNameError { kNone, kNotAPlug, kBadIndex };
PlugNameError splitPlugName(const std::string& text, PlugName& name);

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
inline Node* liveNode(const MObject& object)
{
    Handle* handle = handleOf(object);
    if (!handle || handle->kind != Handle::Kind::Node) return nullptr;
    Node* node = static_cast<Node*>(handle);
    return node->alive ? node : nullptr;
}

inline Attribute* attributeOf(const MObject& object)
{
    Handle* handle = handleOf(object);
    return handle && handle->kind == Handle::Kind::Attribute ? static_cast<Attribute*>(handle) : nullptr;
}

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

// A script read without keeping all of its statements (a scene file may
// hold millions). checkScript refuses exactly what parseScript refuses,
// with the same message; forEachStatement hands the statements of a
// checked script to `run` one by one, in order, until it returns false
// (the result then is false).
bool checkScript(const std::string& text, std::string* error);
bool forEachStatement(const std::string& text, const std::function<bool(const Statement&)>& run);

}  // namespace detail
}  // namespace dghost

#endif
