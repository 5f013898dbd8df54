#ifndef DGHOST_RUNTIME_SCENE_FILE_H
#define DGHOST_RUNTIME_SCENE_FILE_H
// Scene files in the host's ASCII format: a subset of MEL holding only
// requires, createNode, setAttr and connectAttr statements, ended by an
// end mark line.

#include "graph/Graph.h"

#include <string>

namespace dghost {
namespace detail {

// The last line of every saved scene.
extern const char kSceneEndMark[];

// Writes the scene durably over `path` (see replaceFile), so a failed save
// never leaves a half-written scene.
MStatus saveScene(const Scene& scene, const std::string& path, std::string* error);

// Reads `path` into a new scene and makes it current; on any error the
// current scene stays as it was. `error` says file, line and reason.
MStatus openScene(const std::string& path, std::string* error);

}  // namespace detail
}  // namespace dghost

#endif
