// Names, values and texts arrive in the scene as the same UTF-8 bytes,
// whatever encoding the file declares.

#include "tests/import/ImportTest.h"

namespace {

// UTF-16LE with a byte order mark.
std::string utf16le(const std::u16string& text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text)
    {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

class ImportEncodingTest : public ImportTest
{
protected:
    // XmlName, XmlValue, then Name and Value of each attribute node, of the
    // root element and its children, as UTF-8 bytes.
    Names strings(const std::string& fileName, const std::string& content)
    {
        dghost::newScene();
        const auto outcome = load(writeFile(fileName, content), "-n doc");
        EXPECT_EQ(outcome.text, "Read Succesfull") << fileName;
        Names out;
        MObjectArray elements;
        getDocumentElements(node("doc"), elements);
        for (unsigned i = 0; i < elements.length(); ++i)
        {
            add(elements[i], out);
            MObjectArray children;
            getChildNodes(elements[i], children);
            for (unsigned c = 0; c < children.length(); ++c)
                add(children[c], out);
        }
        takeOutput();
        return out;
    }

private:
    static void add(const MObject& element, Names& out)
    {
        MString name;
        MString value;
        getElementName(element, name);
        getElementValue(element, value);
        out.push_back(utf8(name));
        out.push_back(utf8(value));
        MObjectArray attributes;
        getAttributeNodes(element, attributes);
        for (unsigned i = 0; i < attributes.length(); ++i)
        {
            getAttributeName(attributes[i], name);
            getAttributeValue(attributes[i], value);
            out.push_back(utf8(name));
            out.push_back(utf8(value));
        }
    }
};

TEST_F(ImportEncodingTest, LatinTextIsTheSameFromUtf8Latin1AndUtf16)
{
    const Names expected{"\xC3\xA9t\xC3\xA9", "\xC3\xBF\xC3\xA9", "\xC3\xBC", "\xC3\x9F\xC3\x85",
                         "k\xC3\xA9", ""};
    EXPECT_EQ(strings("utf8.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                  "<\xC3\xA9t\xC3\xA9 \xC3\xBC=\"\xC3\x9F\xC3\x85\">\xC3\xBF\xC3\xA9"
                                  "<k\xC3\xA9/></\xC3\xA9t\xC3\xA9>"),
              expected);
    EXPECT_EQ(strings("latin1.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                                    "<\xE9t\xE9 \xFC=\"\xDF\xC5\">\xFF\xE9<k\xE9/></\xE9t\xE9>"),
              expected);
    EXPECT_EQ(strings("utf16.xml", utf16le(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
                                           u"<\u00E9t\u00E9 \u00FC=\"\u00DF\u00C5\">\u00FF\u00E9"
                                           u"<k\u00E9/></\u00E9t\u00E9>")),
              expected);
}

TEST_F(ImportEncodingTest, JapaneseAndAstralTextSurvive)
{
    const Names expected{"\xE6\x97\xA5", "\xE6\x97\xA5\xE6\x9C\xAC", "a", "\xE6\x9C\xAC"};
    EXPECT_EQ(strings("sjis.xml", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>"
                                  "<\x93\xFA a=\"\x96\x7B\">\x93\xFA\x96\x7B</\x93\xFA>"),
              expected);
    EXPECT_EQ(strings("utf8.xml", "<\xE6\x97\xA5 a=\"\xE6\x9C\xAC\">\xE6\x97\xA5\xE6\x9C\xAC"
                                  "</\xE6\x97\xA5>"),
              expected);
    EXPECT_EQ(strings("emoji.xml", utf16le(u"<r v=\"\U0001F600\">\U0001F600</r>")),
              (Names{"r", "\xF0\x9F\x98\x80", "v", "\xF0\x9F\x98\x80"}));
}

}  // namespace
