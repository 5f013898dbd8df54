#ifndef DENDRINE_TESTS_RELIABILITY_SCENE_CHECK_H
#define DENDRINE_TESTS_RELIABILITY_SCENE_CHECK_H
// Checks of a whole scene that every reliability test makes after a failure:
// every link is whole and of a legal kind, and the scene survives a save and
// an open unchanged.

#include <string>
#include <vector>

namespace reliability {

// The scene as the host saves it, written to `path` (the scene takes that
// file name). Empty with `error` set when the save fails.
std::string saveSceneText(const std::string& path, std::string& error);

// What is wrong with the links of a saved scene: a connection whose ends are
// not nodes of the scene, one that is not an XML link (element under
// document, element under element, attribute node under element), or an
// element linked under two parents. Empty when all is well.
std::vector<std::string> brokenLinks(const std::string& sceneText);

// file -rename PATH; file -save; file -new; file -open PATH. Empty when the
// scene saved, opened and then saved into the same text; otherwise the
// problem.
std::string saveAndReopenProblem(const std::string& path);

// The contents of a file ("" when missing).
std::string fileText(const std::string& path);

}  // namespace reliability

#endif
