#ifndef DGHOST_GRAPH_GRAPH_H
#define DGHOST_GRAPH_GRAPH_H
// The dependency graph: node types and their attributes, nodes, plugs,
// connections and names. Start here: this file states the graph's rules;
// PlugState.h holds how plugs are stored, NameIndex.h the name table.
//
// The rules:
// - A node has one plug per attribute of its type; an array attribute also
//   has elements, each with a logical index from 0 to kMaxLogicalIndex.
// - A connection runs from a readable source plug to a writable destination
//   plug of the same data type. A destination has at most one source; a
//   source may feed many. An array attribute connects through its elements,
//   never as a whole on the destination side.
// - Making or breaking a connection tells both nodes' plug-in objects
//   (connectionMade / connectionBroken), source first.
// - Deleting a node breaks its connections first, then frees its plugs; a
//   stale MObject to it stays safe (the handle lives on, `alive` is false).
// - Node names hold letters, digits and '_' only, never start with a digit,
//   and are unique; a taken or empty request gets the lowest free number.
//
// May include: <maya/...> (handles, MPxNode callbacks), the standard library
// and graph/ headers. It reaches out of graph/ twice, to calls the SDK-facing
// files define: makePlug, to hand plug-in nodes their plugs, and
// forgetSelected, when a node leaves the scene.

#include "graph/Handle.h"
#include "graph/NameIndex.h"
#include "graph/PlugName.h"
#include "graph/PlugState.h"

#include <maya/MPlug.h>
#include <maya/MPlugin.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dghost {
namespace detail {

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
    MFn::Type apiType() const { return MFn::kTypedAttribute; }
    bool hasFn(MFn::Type type) const
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

class Scene;

// A node of the scene. Its attribute slots and the string values of its
// attribute plugs live in the same allocation, behind the node: a node
// costs one allocation, plus one per connected plug of its own. The two
// small fields come first so that they fill the handle's padding.
struct Node : Handle {
    bool alive = true;
    std::uint16_t slotCount = 0;    // attributes of the type; 0 once the node is gone
    NodeType* type = nullptr;
    Scene* scene = nullptr;
    MPxNode* user = nullptr;
    PlugText name;                  // most names fit in place

    // A new node of `type` with empty plugs.
    static Node* make(NodeType* type);
    ~Node();
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

    MFn::Type apiType() const;
    bool hasFn(MFn::Type type) const;

private:
    Node() : Handle(Kind::Node) {}
    AttributeSlot* slots();
    PlugText* values();
    ArrayState& arrayOf(int attribute);
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
    // Creates a node under `name` as it is: the caller has made sure that
    // it is legal (sanitizeName keeps it) and free. Use create otherwise.
    Node* createNamed(NodeType* type, const std::string& name);
    // The same with the name's hash (nameHash) already known.
    Node* createNamed(NodeType* type, const std::string& name, std::uint64_t hash);
    // Room for `count` more nodes without growing the tables (a scene file
    // knows how many it holds).
    void reserve(std::size_t count);
    void destroy(Node* node);
    Node* find(const std::string& name) const;
    Node* find(std::string_view name, std::uint64_t hash) const
    {
        // A scene being cleared keeps the names of the nodes it deleted to the end.
        Node* node = byName_.find(name, hash);
        return node && node->alive ? node : nullptr;
    }
    // For a caller that knows the names it will look up or create next:
    // starts loading where the name table keeps a name of this hash.
    static std::uint64_t nameHash(std::string_view name) { return NameIndex::hashOf(name.data(), name.size()); }
    void prefetchName(std::uint64_t hash) const { byName_.prefetch(hash); }
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
    Node* nextListed(const std::string& name) const;

    mutable std::vector<Node*> order_;     // creation order, dead entries pruned lazily
    mutable std::size_t deadInOrder_ = 0;
    // Where in order_ a lookup following the last listing (nodes()) is
    // expected next. Only a guess: a node found there is checked by name.
    static constexpr std::size_t kNoListing = ~std::size_t(0);
    mutable std::size_t listedNext_ = kNoListing;
    NameIndex byName_;
    // While clear() runs: the names of the nodes it deletes stay in byName_
    // (find passes over them) until it drops the whole table.
    bool clearing_ = false;
    // Next trailing number to try per name base; amortises unique naming.
    std::unordered_map<std::string, unsigned int> nextSuffix_;
};

// Makes a requested node name legal: letters, digits and '_' only, no
// leading digit.
std::string sanitizeName(const std::string& requested);

// Connects or disconnects two plugs of live nodes (validated).
MStatus connectPlugs(const Endpoint& source, const Endpoint& destination, std::string* why);
MStatus disconnectPlugs(const Endpoint& source, const Endpoint& destination, std::string* why);
// Removes every connection of a node, then the node.
void deleteNode(Node* node);

// The current scene. Never destroyed, so plug-in statics may release
// handles at any point of process exit.
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

// Defined by the SDK-facing files (see the opening comment).
MPlug makePlug(const Endpoint& end);
void forgetSelected(Node* node);

}  // namespace detail
}  // namespace dghost

#endif
