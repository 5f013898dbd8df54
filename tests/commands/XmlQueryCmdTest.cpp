// XmlQuery's answers compared with those of lxml (libxml2's XPath engine,
// through /usr/bin/python3 and xpath_answers.py) on documents made here.
// Elements and attributes are compared by their place in the tree, so
// neither side's naming of nodes matters.

#include "XmlQueryTest.h"

#include <cmath>
#include <cstdio>
#include <fstream>

using dghost::CommandOutcome;

namespace {

std::string hex(const std::string& bytes)
{
    static const char* const digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string canonicalNumber(double value)
{
    if (std::isnan(value))
        return "nan";
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// lxml prints floats in Python's form; both sides are compared as doubles.
std::string canonicalLine(const std::string& line)
{
    const std::string prefix = "number\t";
    if (line.compare(0, prefix.size(), prefix) != 0)
        return line;
    return prefix + canonicalNumber(std::stod(line.substr(prefix.size())));
}

class XmlQueryLxmlTest : public XmlQueryTest
{
protected:
    // lxml's answer lines for `expressions` over `xmlFile`.
    Strings lxml(const std::string& xmlFile, const Strings& expressions, const std::string& options = "")
    {
        const std::string list = tempPath("expressions.txt");
        std::ofstream(list) << join(expressions, "\n") << "\n";
        const std::string command = std::string("/usr/bin/python3 ") + XPATH_ANSWERS_PY + " " +
                                    quoted(xmlFile) + " " + quoted(list) + " " + options + " 2>&1";
        std::FILE* pipe = ::popen(command.c_str(), "r");
        std::string output;
        char buffer[4096];
        for (size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, n);
        EXPECT_EQ(pipe ? ::pclose(pipe) : -1, 0) << output;
        Strings lines;
        for (std::size_t start = 0, end; (end = output.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(canonicalLine(output.substr(start, end - start)));
        return lines;
    }

    // XmlQuery's answer in the same line form, with the nodes' places
    // taken from `places`.
    std::string ours(const std::string& expression, const Places& places, const std::string& selection)
    {
        const std::string flags = selection.empty() ? "" : "-s ";
        CommandOutcome out = runOn(selection, "XmlQuery " + flags + "-p " + quoted(expression));
        switch (out.kind) {
        case CommandOutcome::Kind::StringArray: {
            std::string line = "nodes\t";
            for (const std::string& name : out.strings) {
                auto place = places.find(name);
                line += (place == places.end() ? "?" + name : place->second) + "\t";
            }
            return line.substr(0, line.size() - 1);
        }
        case CommandOutcome::Kind::Double:
            return "number\t" + canonicalNumber(out.doubleValue);
        case CommandOutcome::Kind::Bool:
            return std::string("boolean\t") + (out.boolValue ? "true" : "false");
        case CommandOutcome::Kind::String:
            return "string\t" + hex(out.text);
        default:
            return "failed\t" + join(out.errors, " | ");
        }
    }

    // Every expression answered by both engines; `lxmlForms` replaces the
    // expressions on lxml's side where the document had to be wrapped.
    void expectSameAnswers(const std::string& xmlFile, const Strings& expressions, const Places& places,
                           const std::string& selection = "", const std::string& options = "",
                           const Strings& lxmlForms = {})
    {
        const Strings expected = lxml(xmlFile, lxmlForms.empty() ? expressions : lxmlForms, options);
        ASSERT_EQ(expected.size(), expressions.size());
        for (std::size_t i = 0; i < expressions.size(); ++i)
            EXPECT_EQ(ours(expressions[i], places, selection), expected[i]) << expressions[i];
    }
};

// No blanks between elements: lxml counts them as text, the scene does not.
const char* const kFarm =
    "<farm xmlns:p=\"urn:p\" site=\"north\">"
    "<queue name=\"a\" prio=\"2\"><job id=\"j1\"><year>1999</year><title>Render</title></job>"
    "<job id=\"j2\"><year>1850</year><title>Comp</title></job></queue>"
    "<queue name=\"b\" prio=\"10\"><job id=\"j3\"><year>2020</year><title>Render final</title></job>"
    "</queue>"
    "<p:queue name=\"c\" p:owner=\"x\"><p:job><year>1901</year></p:job></p:queue>"
    "<queue name=\"d\"/>"
    "</farm>";

TEST_F(XmlQueryLxmlTest, PathsPredicatesAxesAndFunctionsAnswerAsLxml)
{
    const std::string file = importXml("farm", kFarm);
    expectSameAnswers(file,
        {// child and descendant paths
         "/farm/queue", "//job", "/farm/queue/job/year", "/descendant::year[2]", "//nothing",
         // attribute predicates and attribute results
         "//queue[@name='b']", "//job[@id]", "//queue[@prio > 5]", "//@name", "//job/@id",
         "//queue[job/year = '2020']/@name", "/farm/@site",
         // positions and last()
         "/farm/queue[2]", "//job[last()]", "(//job)[last()]", "//queue[position() < 3]", "(//job)[1]",
         // count(), contains(), starts-with() and other functions
         "count(//job)", "count(/farm/queue)", "//title[contains(., 'Render')]",
         "//job[starts-with(@id, 'j')]", "sum(//year)", "string(//title)", "string-length(//title[1])",
         "boolean(//queue[@name='zz'])", "//*[count(*) = 2]", "//queue[not(job)]", "string(/farm)",
         // .. and the ancestor and sibling axes
         "//year/..", "//year[. = '1999']/../..", "//year/ancestor::queue", "//job/following-sibling::job",
         "//queue/preceding-sibling::*", "//year[. = '1901']/ancestor::*", "//title/preceding::year",
         // comparisons of leaf text
         "//year[. > 1900]", "//year[. < 1900]/../title", "//job[year > 1900 and title = 'Render']",
         "//title[. = 'Comp'] | //queue[@name='d']",
         // qualified names
         "//p:queue", "//p:job/year", "//p:queue/@p:owner", "name(//p:queue)", "local-name(//p:queue)",
         "namespace-uri(//p:queue)", "//p:*"},
        placesBelow("farm"));
}

TEST_F(XmlQueryLxmlTest, SelectedElementIsTheContextNode)
{
    const std::string file = importXml("farm", kFarm);
    const Places places = placesBelow("farm");
    std::string second;
    for (const auto& place : places)
        if (place.second == "/1/2")
            second = place.first;
    ASSERT_FALSE(second.empty());
    expectSameAnswers(file,
        {"job", "job/year", "..", "@name", "count(job)", "following-sibling::*", "/farm/queue[1]",
         "ancestor::*", ".//title", "string(@prio)", "preceding::year", "self::queue[@prio = 10]"},
        places, second, "--context /1/2");
}

TEST_F(XmlQueryLxmlTest, DocumentWithSeveralTopElements)
{
    importXml("d1", "<a k=\"1\"><x>1</x></a>");
    importXml("d2", "<b><x>2</x><x>3</x></b>");
    // b moves from d2 to be d1's second top element; d2 goes away.
    const std::string b = must("XmlQuery -p \"/b\"").strings.at(0);
    must("disconnectAttr " + b + ".ToParent d2.DocumentElements[0]");
    must("connectAttr " + b + ".ToParent d1.DocumentElements[1]");
    must("delete d2");
    // lxml reads them below a wrapper that stands for the document root.
    const std::string wrapped = writeFile("wrapped.xml", "<w><a k=\"1\"><x>1</x></a><b><x>2</x><x>3</x></b></w>");
    expectSameAnswers(wrapped,
        {"/*", "//x", "/b/x[2]", "count(/*)", "//x[. > 1]", "/*[2]/x[last()]", "/a/@k", "//x[1]",
         "(//x)[2]/.."},
        placesBelow("d1"), "", "--wrapped",
        {"/w/*", "/w//x", "/w/b/x[2]", "count(/w/*)", "/w//x[. > 1]", "/w/*[2]/x[last()]", "/w/a/@k",
         "/w//x[1]", "(/w//x)[2]/.."});
}

}  // namespace
