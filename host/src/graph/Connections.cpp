// Connections: the checks a connection must pass, making and breaking
// them with the nodes' callbacks, and deleting a node with its links.

#include "graph/Graph.h"

#include <utility>

namespace dghost {
namespace detail {

namespace {

bool compatible(const Attribute& a, const Attribute& b)
{
    return a.isString == b.isString && (a.isString || a.dataId == b.dataId);
}

const Attribute* attributeAt(const Endpoint& end)
{
    if (!end.node || !end.node->alive) return nullptr;
    const auto& attributes = end.node->type->attributes;
    if (end.attribute < 0 || end.attribute >= static_cast<int>(attributes.size())) return nullptr;
    return attributes[end.attribute];
}

void notify(MPxNode* user, const MPlug& self, const MPlug& other, bool asSrc, bool made)
{
    if (!user) return;
    if (made) user->connectionMade(self, other, asSrc);
    else user->connectionBroken(self, other, asSrc);
}

// Tells the source's node, then the destination's, of a connection made or
// broken; the two plugs are made once for both.
void notifyBoth(const Endpoint& source, const Endpoint& destination, bool made)
{
    if (!source.node->user && !destination.node->user) return;
    const MPlug sourcePlug = makePlug(source);
    const MPlug destinationPlug = makePlug(destination);
    notify(source.node->user, sourcePlug, destinationPlug, true, made);
    // Read after the source's callback, which may have changed the graph.
    notify(destination.node->user, destinationPlug, sourcePlug, false, made);
}

// Keeps an array's count of connected elements right across a change of
// one element's connections.
void recount(const Endpoint& end, bool wasConnected)
{
    if (end.index < 0) return;
    ArrayState* array = end.node->slot(end.attribute).array();
    if (!array) return;
    array->connectionsChanged(wasConnected, end.node->read(end.attribute, end.index).connected());
}

bool connectedNow(const Endpoint& end)
{
    return end.node->read(end.attribute, end.index).connected();
}

}  // namespace

MStatus connectPlugs(const Endpoint& source, const Endpoint& destination, std::string* why)
{
    const Attribute* from = attributeAt(source);
    const Attribute* to = attributeAt(destination);
    auto refuse = [why](const char* text) {
        if (why) *why = text;
        return MStatus(MS::kFailure);
    };
    if (!from || !to) return refuse("a plug of the connection does not exist");
    if (source == destination) return refuse("a plug cannot be connected to itself");
    if (!from->flag(kReadable)) return refuse("the source attribute is not readable");
    if (!to->flag(kWritable)) return refuse("the destination attribute is not writable");
    if (!compatible(*from, *to)) return refuse("the two attributes hold different data types");
    if (destination.index < 0 && to->flag(kArray))
        return refuse("the destination must be an element of the array");
    // The destination element exists from here on, even when refused.
    if (destination.index >= 0) destination.node->touchElement(destination.attribute, destination.index);
    if (destination.node->read(destination.attribute, destination.index).hasSource())
        return refuse("the destination already has an incoming connection");
    if (source.index >= 0) source.node->touchElement(source.attribute, source.index);
    bool srcWas = connectedNow(source), dstWas = connectedNow(destination);
    source.node->destinationSlot(source.attribute, source.index).push_back(destination);
    destination.node->sourceSlot(destination.attribute, destination.index) = source;
    recount(source, srcWas);
    recount(destination, dstWas);
    source.node->scene->modified = true;
    notifyBoth(source, destination, true);
    return MS::kSuccess;
}

MStatus disconnectPlugs(const Endpoint& source, const Endpoint& destination, std::string* why)
{
    if (!attributeAt(source) || !attributeAt(destination)) {
        if (why) *why = "a plug of the connection does not exist";
        return MS::kFailure;
    }
    PlugRead dst = destination.node->read(destination.attribute, destination.index);
    if (!dst.hasSource() || !(*dst.source == source)) {
        if (why) *why = "the plugs are not connected";
        return MS::kFailure;
    }
    bool srcWas = connectedNow(source), dstWas = dst.connected();
    source.node->destinationSlot(source.attribute, source.index).erase(destination);
    destination.node->sourceSlot(destination.attribute, destination.index) = Endpoint();
    recount(source, srcWas);
    recount(destination, dstWas);
    source.node->scene->modified = true;
    notifyBoth(source, destination, false);
    return MS::kSuccess;
}

namespace {

// Every connection that touches `node`, as (source, destination) pairs:
// attribute by attribute, the plug itself before its elements, each
// incoming before outgoing.
std::vector<std::pair<Endpoint, Endpoint>> connectionsOf(Node* node)
{
    std::vector<std::pair<Endpoint, Endpoint>> found;
    auto collect = [&](const Endpoint& source, const DestinationList* destinations, const Endpoint& self) {
        if (source.node) found.emplace_back(source, self);
        if (destinations)
            for (const Endpoint& d : *destinations) found.emplace_back(self, d);
    };
    for (int a = 0; a < node->slotCount; ++a) {
        const AttributeSlot& slot = node->slot(a);
        if (const Links* links = slot.links()) collect(links->source, &links->destinations, Endpoint{node, a, -1});
        const ArrayState* array = slot.array();
        if (!array) continue;
        for (const ElementState& e : array->ordered())
            collect(e.source, array->extra(e) ? &array->extra(e)->destinations : nullptr,
                    Endpoint{node, a, static_cast<int>(e.index)});
    }
    return found;
}

}  // namespace

void deleteNode(Node* node)
{
    if (!node || !node->alive) return;
    for (const auto& connection : connectionsOf(node))
        disconnectPlugs(connection.first, connection.second, nullptr);
    node->scene->destroy(node);
}

}  // namespace detail
}  // namespace dghost
