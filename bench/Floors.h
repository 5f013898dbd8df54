#ifndef DENDRINE_BENCH_FLOORS_H
#define DENDRINE_BENCH_FLOORS_H
// The floor under the plug-in: what the XML libraries alone take for the
// same files and the same tree.

#include "bench/Documents.h"

#include <string>

namespace bench {

// Reads the file and parses it into a DOM with the import's parser and
// settings, inside a library session of its own; true for a clean parse.
bool xercesParse(const std::string& path);

// Builds the model's tree as a plain DOM (tags, attributes, leaf texts
// transcoded from UTF-8) and writes it pretty-printed as UTF-8.
bool xercesBuildAndWrite(const std::vector<ModelElement>& model, const std::string& path);

// Whether the pugixml floor was built in.
bool havePugixml();
// Parses the file with pugixml's default settings; false when it is
// missing or the parse fails.
bool pugixmlParse(const std::string& path);

// The pugixml document of a file, parsed outside any measured step, and
// the time of one XPath selection over it: the library's own cost for the
// paths XmlQuery runs, beside which XmlQuery's copy and mapping are read.
class PugixmlDocument
{
public:
    explicit PugixmlDocument(const std::string& path);
    ~PugixmlDocument();
    // Selects `path` from the document's root; false when the file did not
    // parse or the path is malformed.
    bool select(const std::string& path) const;

private:
    struct Parsed;
    Parsed* parsed_;
};

}  // namespace bench

#endif
