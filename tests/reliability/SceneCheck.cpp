#include "tests/reliability/SceneCheck.h"

#include <dghost/Host.h>
#include <maya/MString.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace reliability {
namespace {

// The first double-quoted word of `text` from `from`, its end in `from`.
bool quotedWord(const std::string& text, std::size_t& from, std::string& word)
{
    std::size_t open = text.find('"', from);
    std::size_t close = open == std::string::npos ? open : text.find('"', open + 1);
    if (close == std::string::npos) return false;
    word = text.substr(open + 1, close - open - 1);
    from = close + 1;
    return true;
}

struct PlugName {
    std::string node, attribute;
    bool element = false;   // an array element (has [index])
};

bool parsePlug(const std::string& text, PlugName& plug)
{
    std::size_t dot = text.find('.');
    if (dot == std::string::npos || dot == 0) return false;
    plug.node = text.substr(0, dot);
    plug.attribute = text.substr(dot + 1);
    std::size_t bracket = plug.attribute.find('[');
    plug.element = bracket != std::string::npos;
    if (plug.element) plug.attribute.erase(bracket);
    return true;
}

// The three kinds of XML link: source type.plug -> destination type.array.
bool legalLink(const std::string& sourceType, const PlugName& source, const std::string& destinationType,
               const PlugName& destination)
{
    if (source.element || !destination.element) return false;
    if (sourceType == "XmlElement" && source.attribute == "2Parent")
        return (destinationType == "XmlDocument" && destination.attribute == "DocElements") ||
               (destinationType == "XmlElement" && destination.attribute == "FromChild");
    return sourceType == "XmlElementAttribute" && source.attribute == "AttrParent" &&
           destinationType == "XmlElement" && destination.attribute == "XAttr";
}

std::string outcomeError(const dghost::CommandOutcome& outcome)
{
    std::string text = outcome.status.errorString().asChar();
    for (const std::string& e : outcome.errors) text += "; " + e;
    return text;
}

}  // namespace

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::string saveSceneText(const std::string& path, std::string& error)
{
    dghost::CommandOutcome saved =
        dghost::runCommand("file", {"-rename", path, "-save"}, {false, true, false});
    if (!saved.status) {
        error = "file -save: " + outcomeError(saved);
        return std::string();
    }
    return fileText(path);
}

std::vector<std::string> brokenLinks(const std::string& sceneText)
{
    std::map<std::string, std::string> typeOf;
    std::set<std::string> parented;
    std::vector<std::string> problems;
    std::istringstream lines(sceneText);
    std::string line;
    while (std::getline(lines, line)) {
        std::size_t at = 0;
        std::string first, second;
        if (line.compare(0, 11, "createNode ") == 0 && quotedWord(line, at, first)) {
            typeOf[first] = line.substr(11, line.find(' ', 11) - 11);
            continue;
        }
        if (line.compare(0, 11, "connectAttr") != 0) continue;
        PlugName source, destination;
        if (!quotedWord(line, at, first) || !quotedWord(line, at, second) || !parsePlug(first, source) ||
            !parsePlug(second, destination)) {
            problems.push_back("unreadable connection: " + line);
        } else if (!typeOf.count(source.node) || !typeOf.count(destination.node)) {
            problems.push_back("connection to a missing node: " + line);
        } else if (!legalLink(typeOf[source.node], source, typeOf[destination.node], destination)) {
            problems.push_back("not an XML link: " + line);
        } else if (source.attribute == "2Parent" && !parented.insert(source.node).second) {
            problems.push_back("element " + source.node + " has a second parent: " + line);
        }
    }
    return problems;
}

std::string saveAndReopenProblem(const std::string& path)
{
    std::string error;
    std::string before = saveSceneText(path, error);
    if (!error.empty()) return error;
    dghost::CommandOutcome cleared = dghost::runCommand("file", {"-new", "-force"}, {false, false});
    if (!cleared.status) return "file -new: " + outcomeError(cleared);
    dghost::CommandOutcome opened = dghost::runCommand("file", {"-open", path}, {false, true});
    if (!opened.status) return "file -open: " + outcomeError(opened);
    std::string after = saveSceneText(path, error);
    if (!error.empty()) return error;
    return after == before ? std::string() : "the reopened scene saves differently";
}

}  // namespace reliability
