#ifndef DGHOST_RUNTIME_SCENE_QUICK_H
#define DGHOST_RUNTIME_SCENE_QUICK_H
// Opening a scene file as the scene writer writes it, without the general
// statement reader: two passes over the file with words read in place (see
// SceneScanner.h), the second one calling the graph directly. Either pass
// returns false at anything it does not handle or any statement that would
// fail; the caller then reads the file the general way from the start,
// which refuses it with the exact message. So a file either opens the same
// both ways or is left to the general reader. Do not use these for scripts.

#include "graph/Graph.h"
#include "runtime/Files.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace dghost {
namespace detail {

// The checks the bytes and every statement must pass before anything runs;
// fills the plug-ins the file requires with their lines, and the name hash
// of every node the file makes, in order (Scene::nameHash). The file is
// read a piece of whole lines at a time, never whole; a large file's two
// halves are checked at once, the second on a thread of its own. `start`
// is where the statements begin (after a byte order mark).
bool quickCheckScene(const RegularFile& file, std::uint64_t start,
                     std::vector<std::pair<std::string, int>>& required,
                     std::vector<std::uint64_t>& nodeNameHashes);
// Builds the checked file's nodes, values and connections into `scene`,
// reading it again a piece at a time; `nodeNameHashes` as the check left
// them. False, too, when the file changed since the check so that it no
// longer reads.
bool quickBuildScene(const RegularFile& file, std::uint64_t start, Scene& scene,
                     const std::vector<std::uint64_t>& nodeNameHashes);

// A node of a scene file: made under its own name, which the caller has
// checked is legal and free (an empty one gets a number), with its plug-in
// object.
Node* makeSceneNode(Scene& scene, NodeType* type, const std::string& name);
// The same for a legal name whose hash (Scene::nameHash) is known.
Node* makeSceneNode(Scene& scene, NodeType* type, const std::string& name, std::uint64_t hash);

}  // namespace detail
}  // namespace dghost

#endif
