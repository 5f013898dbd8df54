#include "bench/Documents.h"

#include <cstdio>
#include <memory>
#include <utility>

namespace bench {

namespace {

const unsigned kDeepNesting = 1000;   // levels, the root included
const unsigned kWideAttributes = 8;   // attributes per row of the attribute-heavy shape

const char* const kWords[] = {"render", "queue", "frame", "layer", "light", "shadow",
                              "camera", "texture", "sample", "pass", "node", "scene",
                              "mesh", "curve", "joint", "blend"};

std::string number(unsigned long n)
{
    return std::to_string(n);
}

// About 160 bytes of words picked by a fixed sequence, with one '&'.
std::string paragraph(unsigned long n)
{
    std::string text = "Paragraph " + number(n) + ":";
    unsigned long state = n * 2654435761ul + 1;
    while (text.size() < 150) {
        state = state * 6364136223846793005ul + 1442695040888963407ul;
        text += ' ';
        text += kWords[(state >> 33) % 16];
    }
    return text + " & more.";
}

ModelElement element(long parent, unsigned depth, const char* tag)
{
    ModelElement e;
    e.parent = parent;
    e.depth = depth;
    e.tag = tag;
    return e;
}

void buildFlat(std::vector<ModelElement>& model, unsigned long count)
{
    for (unsigned long i = 1; i < count; ++i) {
        ModelElement e = element(0, 1, "record");
        e.attributes = {{"id", "r" + number(i)}, {"kind", "k" + number(i % 7)},
                        {"state", i % 3 ? "open" : "done"}};
        e.text = "text " + number(i);
        model.push_back(std::move(e));
    }
}

// Chains of nested elements below the root, each reaching the nesting
// depth; the innermost element of a chain carries a short text.
void buildDeep(std::vector<ModelElement>& model, unsigned long count)
{
    long parent = 0;
    for (unsigned long i = 1; i < count; ++i) {
        const unsigned depth = model[static_cast<unsigned long>(parent)].depth + 1;
        ModelElement e = element(parent, depth, "level");
        e.attributes = {{"n", number(i)}};
        model.push_back(std::move(e));
        const bool chainEnds = depth + 1 == kDeepNesting || i + 1 == count;
        if (chainEnds) {
            model.back().text = "leaf " + number(i);
            parent = 0;
        } else {
            parent = static_cast<long>(model.size() - 1);
        }
    }
}

void buildText(std::vector<ModelElement>& model, unsigned long count)
{
    for (unsigned long i = 1; i < count; ++i) {
        ModelElement e = element(0, 1, "para");
        e.attributes = {{"n", number(i)}};
        e.text = paragraph(i);
        model.push_back(std::move(e));
    }
}

void buildAttributes(std::vector<ModelElement>& model, unsigned long count)
{
    for (unsigned long i = 1; i < count; ++i) {
        ModelElement e = element(0, 1, "row");
        for (unsigned a = 0; a < kWideAttributes; ++a)
            e.attributes.push_back({"c" + number(a), "v" + number((i * 7 + a) % 1000)});
        model.push_back(std::move(e));
    }
}

// Appends `e` unless the model is full; returns its index, -1 when full.
long append(std::vector<ModelElement>& model, unsigned long count, ModelElement e)
{
    if (model.size() >= count) return -1;
    model.push_back(std::move(e));
    return static_cast<long>(model.size() - 1);
}

ModelElement leaf(long parent, unsigned depth, const char* tag, std::string text,
                  std::vector<ModelAttribute> attributes = {})
{
    ModelElement e = element(parent, depth, tag);
    e.text = std::move(text);
    e.attributes = std::move(attributes);
    return e;
}

// One software entry as emulator software lists hold them: 12 elements and
// 32 attributes, about 850 bytes indented.
void addSoftware(std::vector<ModelElement>& model, unsigned long count, unsigned long n)
{
    ModelElement software = element(0, 1, "software");
    software.attributes = {{"name", "sw" + number(n)}, {"cloneof", "sw" + number(n - n % 5)},
                           {"supported", n % 4 ? "yes" : "partial"}};
    const long s = append(model, count, std::move(software));
    if (s < 0) return;
    append(model, count, leaf(s, 2, "description", "Software title " + number(n) + " (rev " + number(n % 3) + ")"));
    append(model, count, leaf(s, 2, "year", number(1977 + n % 30)));
    append(model, count, leaf(s, 2, "publisher", std::string(kWords[n % 16]) + " & Co."));
    append(model, count, leaf(s, 2, "info", "", {{"name", "serial"}, {"value", "CX" + number(2600 + n)}}));
    append(model, count, leaf(s, 2, "info", "", {{"name", "release"}, {"value", number(19800101 + n)}}));
    const long part = append(model, count, leaf(s, 2, "part", "", {{"name", "cart"}, {"interface", "a2600_cart"}}));
    if (part < 0) return;
    append(model, count, leaf(part, 3, "feature", "", {{"name", "slot"}, {"value", n % 2 ? "f8" : "4k"}}));
    const long area = append(model, count,
                             leaf(part, 3, "dataarea", "", {{"name", "rom"}, {"size", "12288"}, {"width", "8"}}));
    if (area < 0) return;
    for (unsigned r = 0; r < 3; ++r) {
        const std::string id = number(n * 3 + r);
        append(model, count,
               leaf(area, 4, "rom", "",
                    {{"name", "sw" + id + ".bin"}, {"size", "4096"}, {"crc", "1a2b" + id},
                     {"sha1", "3f6ac4c3f4ad8b2ed1d4b7a5f4ce" + id}, {"offset", number(r * 4096)},
                     {"loadflag", "load16_byte"}}));
    }
}

void buildSoftwareList(std::vector<ModelElement>& model, unsigned long count)
{
    model[0].attributes = {{"name", "a2600"}, {"description", "Atari 2600 cartridges"}};
    for (unsigned long n = 1; model.size() < count; ++n) addSoftware(model, count, n);
}

const char* rootTag(Shape shape)
{
    switch (shape) {
    case Shape::Flat: return "records";
    case Shape::Deep: return "deep";
    case Shape::Text: return "book";
    case Shape::Attributes: return "table";
    case Shape::SoftwareList: return "softwarelist";
    }
    return "root";
}

std::string escaped(const std::string& text, bool inAttribute)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += inAttribute ? "&quot;" : "\""; break;
        default: out += c;
        }
    }
    return out;
}

// Writes the file from the pre-order list, closing elements as the walk
// climbs back up.
class XmlWriter {
public:
    XmlWriter(std::FILE* file, bool indent, std::string doctype)
        : file_(file), indent_(indent), doctype_(std::move(doctype)) {}

    // Returns the number of bytes written.
    unsigned long long write(const std::vector<ModelElement>& model)
    {
        put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + doctype_);
        for (std::size_t i = 0; i < model.size(); ++i) {
            while (!open_.empty() && open_.back()->depth >= model[i].depth) closeLast();
            const bool hasChildren = i + 1 < model.size() && model[i + 1].parent == static_cast<long>(i);
            openElement(model[i], hasChildren);
        }
        while (!open_.empty()) closeLast();
        put("\n");
        return written_;
    }

private:
    void openElement(const ModelElement& e, bool hasChildren)
    {
        newLine(e.depth);
        put("<" + e.tag);
        for (const ModelAttribute& a : e.attributes) put(" " + a.name + "=\"" + escaped(a.value, true) + "\"");
        if (hasChildren) {
            put(">");
            open_.push_back(&e);
        } else if (e.text.empty()) {
            put("/>");
        } else {
            put(">" + escaped(e.text, false) + "</" + e.tag + ">");
        }
    }

    void closeLast()
    {
        const ModelElement* e = open_.back();
        open_.pop_back();
        newLine(e->depth);
        put("</" + e->tag + ">");
    }

    void newLine(unsigned depth)
    {
        if (indent_ && depth < 3) put("\n" + std::string(2 * depth, ' '));
    }

    void put(const std::string& text)
    {
        written_ += std::fwrite(text.data(), 1, text.size(), file_);
    }

    std::FILE* file_;
    bool indent_;
    std::string doctype_;
    std::vector<const ModelElement*> open_;
    unsigned long long written_ = 0;
};

}  // namespace

const std::vector<ShapeInfo>& allShapes()
{
    static const std::vector<ShapeInfo> shapes = {
        {Shape::Flat, "flat", "one root, records of 3 attributes and a short text"},
        {Shape::Deep, "deep", "chains nested 1,000 levels, 1 attribute each, text at the leaves"},
        {Shape::Text, "text", "one root, paragraphs of ~160 bytes of text and 1 attribute"},
        {Shape::Attributes, "attr", "one root, rows of 8 attributes and no text"},
        {Shape::SoftwareList, "swlist",
         "an emulator software list: external DTD, 12 elements and 32 attributes per entry"},
    };
    return shapes;
}

const ShapeInfo* findShape(const std::string& name)
{
    for (const ShapeInfo& info : allShapes())
        if (name == info.name) return &info;
    return nullptr;
}

std::vector<ModelElement> buildModel(Shape shape, unsigned long count)
{
    std::vector<ModelElement> model;
    model.reserve(count);
    model.push_back(element(-1, 0, rootTag(shape)));
    switch (shape) {
    case Shape::Flat: buildFlat(model, count); break;
    case Shape::Deep: buildDeep(model, count); break;
    case Shape::Text: buildText(model, count); break;
    case Shape::Attributes: buildAttributes(model, count); break;
    case Shape::SoftwareList: buildSoftwareList(model, count); break;
    }
    return model;
}

SearchTerms searchTermsOf(Shape shape, unsigned long count)
{
    const unsigned long middle = count / 2;
    switch (shape) {
    case Shape::Flat: return {"record", "text " + number(middle)};
    case Shape::Deep: return {"level", "leaf " + number(count > 999 ? 999 : count - 1)};
    case Shape::Text: return {"para", paragraph(middle)};
    case Shape::Attributes: return {"row", "no such text"};
    case Shape::SoftwareList: return {"rom", "Software title " + number(count / 24) + " (rev 0)"};
    }
    return {};
}

std::string tagPath(const SearchTerms& terms)
{
    return "//" + terms.tag;
}

std::string valuePath(const SearchTerms& terms)
{
    const char quote = terms.value.find('\'') == std::string::npos ? '\'' : '"';
    return "//*[. = " + std::string(1, quote) + terms.value + quote + "]";
}

unsigned long attributeCount(const std::vector<ModelElement>& model)
{
    unsigned long n = 0;
    for (const ModelElement& e : model) n += e.attributes.size();
    return n;
}

unsigned long long writeXmlFile(const std::vector<ModelElement>& model, Shape shape,
                                const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) return 0;
    const std::string doctype =
        shape == Shape::SoftwareList ? "<!DOCTYPE softwarelist SYSTEM \"softwarelist.dtd\">\n" : "";
    XmlWriter writer(file.get(), shape != Shape::Deep, doctype);
    const unsigned long long written = writer.write(model);
    return std::fflush(file.get()) == 0 ? written : 0;
}

}  // namespace bench
