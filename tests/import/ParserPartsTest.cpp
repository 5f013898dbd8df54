// The import's parts that work below the command: the parser report
// format, naming of the library's exceptions, and the plan's texts.

#include "import/ImportErrorHandler.h"
#include "import/ImportPlan.h"
#include "import/ImportParser.h"
#include "xml/Utf8.h"
#include "xml/XmlErrors.h"

#include <xercesc/dom/DOM.hpp>
#include <xercesc/sax/SAXException.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/TranscodingException.hpp>
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <new>
#include <sstream>
#include <vector>

namespace {

using namespace xercesc;

class FakeLocator : public DOMLocator
{
public:
    FakeLocator(const XMLCh* uri, XMLFileLoc line, XMLFileLoc column)
        : fUri(uri), fLine(line), fColumn(column)
    {
    }
    XMLFileLoc getLineNumber() const override { return fLine; }
    XMLFileLoc getColumnNumber() const override { return fColumn; }
    XMLFilePos getByteOffset() const override { return 0; }
    XMLFilePos getUtf16Offset() const override { return 0; }
    DOMNode* getRelatedNode() const override { return nullptr; }
    const XMLCh* getURI() const override { return fUri; }

private:
    const XMLCh* fUri;
    XMLFileLoc fLine;
    XMLFileLoc fColumn;
};

class FakeError : public DOMError
{
public:
    FakeError(ErrorSeverity severity, const XMLCh* message, FakeLocator* where)
        : fSeverity(severity), fMessage(message), fWhere(where)
    {
    }
    ErrorSeverity getSeverity() const override { return fSeverity; }
    const XMLCh* getMessage() const override { return fMessage; }
    DOMLocator* getLocation() const override { return fWhere; }
    void* getRelatedException() const override { return nullptr; }
    const XMLCh* getType() const override { return u""; }
    void* getRelatedData() const override { return nullptr; }

private:
    ErrorSeverity fSeverity;
    const XMLCh* fMessage;
    FakeLocator* fWhere;
};

// Keeps the library up for as long as it lives.
struct LibraryUp
{
    LibraryUp() { XMLPlatformUtils::Initialize(); }
    ~LibraryUp() { XMLPlatformUtils::Terminate(); }
};

// The library is up for each test, as it is during an import; reports on
// standard error are captured.
class ImportPartsTest : public ::testing::Test
{
protected:
    ~ImportPartsTest() override { std::cerr.rdbuf(fSavedCerr); }

    // Parses `text` and plans it; the DOM stays available in fDocument.
    void plan(const std::string& text, unsigned maxDepth = kMaxImportDepth)
    {
        fParser = std::make_unique<ImportParser>(fHandler);
        fDocument = fParser->parse(text, u"mem.xml");
        ASSERT_EQ(fHandler.fatalErrorCount(), 0u);
        fOutcome = planFromDom(fDocument->getDocumentElement(), maxDepth, fPlan);
    }

    LibraryUp fLibrary;
    std::stringstream fReports;
    std::streambuf* fSavedCerr = std::cerr.rdbuf(fReports.rdbuf());
    ImportErrorHandler fHandler;
    std::unique_ptr<ImportParser> fParser;
    DOMDocument* fDocument = nullptr;
    ImportPlan fPlan;
    PlanOutcome fOutcome = PlanOutcome::Planned;
};

TEST_F(ImportPartsTest, ReportsTellSeverityByNameAndKeepTheFirstFatalError)
{
    FakeLocator where(u"/tmp/\u00E9.xml", 12, 7);
    EXPECT_TRUE(fHandler.handleError(FakeError(DOMError::DOM_SEVERITY_WARNING, u"w", &where)));
    EXPECT_TRUE(fHandler.handleError(FakeError(DOMError::DOM_SEVERITY_ERROR, u"e", &where)));
    EXPECT_EQ(fHandler.fatalErrorCount(), 0u);
    EXPECT_TRUE(fHandler.handleError(
        FakeError(DOMError::DOM_SEVERITY_FATAL_ERROR, u"f \u65E5", &where)));
    FakeLocator later(u"b.xml", 13, 1);
    EXPECT_TRUE(fHandler.handleError(FakeError(DOMError::DOM_SEVERITY_FATAL_ERROR, u"g", &later)));
    EXPECT_TRUE(fHandler.handleError(FakeError(DOMError::ErrorSeverity(0), nullptr, nullptr)));

    EXPECT_EQ(fReports.str(), "\nWarning at file /tmp/\xC3\xA9.xml, line 12, char 7\n  Message: w\n"
                              "\nError at file /tmp/\xC3\xA9.xml, line 12, char 7\n  Message: e\n"
                              "\nFatal Error at file /tmp/\xC3\xA9.xml, line 12, char 7\n"
                              "  Message: f \xE6\x97\xA5\n"
                              "\nFatal Error at file b.xml, line 13, char 1\n  Message: g\n"
                              "\nFatal Error at file , line 0, char 0\n  Message: \n");
    EXPECT_EQ(fHandler.fatalErrorCount(), 3u);
    EXPECT_EQ(fHandler.firstFatalError().uri, "/tmp/\xC3\xA9.xml");
    EXPECT_EQ(fHandler.firstFatalError().line, 12);
    EXPECT_EQ(fHandler.firstFatalError().column, 7);
    EXPECT_EQ(fHandler.firstFatalError().message, "f \xE6\x97\xA5");
}

// What describeCurrentException says about `thrower`'s exception.
template <typename Thrower>
std::string described(Thrower thrower)
{
    try
    {
        thrower();
    }
    catch (...)
    {
        return describeCurrentException();
    }
    return "nothing thrown";
}

TEST_F(ImportPartsTest, EveryKindOfLibraryExceptionIsNamed)
{
    EXPECT_EQ(described([] { throw OutOfMemoryException(); }), "out of memory");
    EXPECT_EQ(described([] { throw std::bad_alloc(); }), "out of memory");
    EXPECT_EQ(described([] { throw DOMException(DOMException::NOT_FOUND_ERR); }).rfind("DOM error 8: ", 0), 0u);
    EXPECT_EQ(described([] { throw DOMLSException(DOMLSException::PARSE_ERR, 0, XMLPlatformUtils::fgMemoryManager); }).rfind("load/save error 81: ", 0), 0u);
    EXPECT_EQ(described([] { throw TranscodingException(__FILE__, __LINE__, XMLExcepts::Trans_BadSrcSeq); }).rfind("XML error ", 0), 0u);
    EXPECT_EQ(described([] { throw SAXException("sax \xC3\xA9"); }), "SAX error: sax \xC3\xA9");
    EXPECT_EQ(described([] { throw 42; }), "unexpected error");
    // A real one: malformed UTF-8 handed to the conversion.
    EXPECT_EQ(described([] { fromUtf8("a\xFF"); }).rfind("XML error ", 0), 0u);
}

TEST_F(ImportPartsTest, ElementTextsEqualTextContentByteForByte)
{
    plan("<!DOCTYPE r [<!ENTITY e \"E<in>n</in>\">]>\r\n"
         "<r a=\"1\">x<!--c--><?p d?>\r\n <b>&amp;&e;<![CDATA[<&>]]>\u00e9</b>"
         "<c/><d>y<e>z&#x1F600;</e>w</d>tail</r>");
    ASSERT_EQ(fOutcome, PlanOutcome::Planned);
    // Every element outside entity references, in document order.
    std::vector<const DOMElement*> elements;
    DOMNodeList* all = fDocument->getElementsByTagName(u"*");
    for (XMLSize_t i = 0; i < all->getLength(); ++i)
        if (all->item(i)->getParentNode()->getNodeType() != DOMNode::ENTITY_REFERENCE_NODE)
            elements.push_back(static_cast<const DOMElement*>(all->item(i)));
    size_t next = 0;
    for (const PlannedVisit& visit : fPlan.visits)
    {
        if (!visit.isElement)
            continue;
        ASSERT_LT(next, elements.size());
        EXPECT_EQ(fPlan.tagName(visit), toUtf8(elements[next]->getTagName()));
        EXPECT_EQ(fPlan.elementText(visit), toUtf8(elements[next]->getTextContent()))
            << fPlan.tagName(visit);
        ++next;
    }
    EXPECT_EQ(next, elements.size());
    EXPECT_EQ(fPlan.elementText(fPlan.visits[0]), "x\n &En<&>\xC3\xA9yz\xF0\x9F\x98\x80wtail");
}

// Attribute names and values come out of the plan's one block exactly:
// long, empty, non-ASCII, expanded, each ended where the next starts.
TEST_F(ImportPartsTest, AttributeNamesAndValuesComeOutWhole)
{
    const std::string longValue(5000, 'v');
    plan("<!DOCTYPE r [<!ENTITY e \"\xC3\xA9\">]>"
         "<r a=\"" + longValue + "\" b=\"\" \xE6\x97\xA5=\"&e;&amp;&#x1F600;\"><c d=\"1\"/><c/></r>");
    ASSERT_EQ(fOutcome, PlanOutcome::Planned);
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<std::size_t> counts;
    for (const PlannedVisit& visit : fPlan.visits)
    {
        if (!visit.isElement)
            continue;
        counts.push_back(visit.attributeCount);
        for (size_t a = 0; a < visit.attributeCount; ++a)
        {
            const PlannedAttribute& attribute = fPlan.attributes[visit.firstAttribute + a];
            attributes.emplace_back(fPlan.name(attribute), fPlan.value(attribute));
        }
    }
    EXPECT_EQ(counts, (std::vector<std::size_t>{3, 1, 0}));
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"a", longValue}, {"b", ""}, {"\xE6\x97\xA5", "\xC3\xA9&\xF0\x9F\x98\x80"}, {"d", "1"}};
    EXPECT_EQ(attributes, expected);
}

TEST_F(ImportPartsTest, OnlyAnUnreadDtdSwitchesValidationOff)
{
    plan("<!DOCTYPE r SYSTEM \"r.dtd\"><r><x/></r>");
    EXPECT_TRUE(fParser->grammarSkipped());
    EXPECT_EQ(fParser->resolverRequests(), 1u);
    EXPECT_EQ(fReports.str(), "");
    plan("<!DOCTYPE r [<!ELEMENT r EMPTY>]><r><x/></r>");
    EXPECT_FALSE(fParser->grammarSkipped());
    EXPECT_NE(fReports.str().find("Message: element 'x' is not allowed"), std::string::npos)
        << fReports.str();
}

TEST_F(ImportPartsTest, NestingDeeperThanTheLimitIsRefused)
{
    plan("<a><b><c/></b></a>", 3);
    EXPECT_EQ(fOutcome, PlanOutcome::Planned);
    // Elements inside an entity reference nest too.
    plan("<!DOCTYPE a [<!ENTITY e \"<x><y/></x>\">]><a><b>&e;</b></a>", 3);
    EXPECT_EQ(fOutcome, PlanOutcome::TooDeep);
    EXPECT_TRUE(fPlan.visits.empty());
}

}  // namespace
