// The XML-library layer: a session brings the library up and down (network
// off on request, handed back), and the conversions keep every character
// in both directions, refuse malformed UTF-8 through the library, and
// never throw on the way out.

#include "tests/support/SceneTest.h"
#include "xml/Utf8.h"
#include "xml/XmlErrors.h"
#include "xml/XmlSession.h"

#include <xercesc/util/PlatformUtils.hpp>
#include <gtest/gtest.h>

namespace {

using xercesc::XMLPlatformUtils;

TEST(XmlSessionTest, NetworkOffIsHandedBackAndTheLibraryEnds)
{
    {
        XmlSession outer;
        ASSERT_TRUE(outer.started());
        xercesc::XMLNetAccessor* accessor = XMLPlatformUtils::fgNetAccessor;
        {
            XmlSession inner(XmlSession::Network::Off);
            EXPECT_TRUE(inner.started());
            EXPECT_EQ(XMLPlatformUtils::fgNetAccessor, nullptr);
        }
        EXPECT_EQ(XMLPlatformUtils::fgNetAccessor, accessor);
        EXPECT_NE(XMLPlatformUtils::fgTransService, nullptr);
    }
    EXPECT_EQ(XMLPlatformUtils::fgTransService, nullptr);
}

TEST(Utf8Test, EveryCharacterSurvivesBothWays)
{
    const std::string text = "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF";
    const std::u16string units = fromUtf8(text);
    EXPECT_EQ(units, u"a\u00E9\u65E5\U0001F600\U0010FFFF");
    EXPECT_EQ(toUtf8(units.c_str()), text);
    EXPECT_EQ(fromHost(MString("x\xC3\xA9")), u"x\u00E9");
    EXPECT_EQ(toUtf8(nullptr), "");
    EXPECT_EQ(fromUtf8(""), u"");
}

TEST(Utf8Test, LoneSurrogatesBecomeReplacementCharacters)
{
    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00, 0};
    EXPECT_EQ(toUtf8(lone), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
    std::string out = "x";
    appendUtf8(u"\U0001F600", 2, out);
    EXPECT_EQ(out, "x\xF0\x9F\x98\x80");
}

TEST(Utf8Test, MalformedUtf8IsRefusedByTheLibrary)
{
    XmlSession session;
    ASSERT_TRUE(session.started());
    // Overlong, a surrogate, past U+10FFFF, cut short: each one refused.
    for (const std::string bytes : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\xE6\x97"}) {
        std::string reason;
        EXPECT_FALSE(runCatchingXmlErrors([&] { fromUtf8(bytes); }, reason));
        EXPECT_EQ(reason.rfind("the XML library failed: XML error ", 0), 0u) << reason;
    }
}

}  // namespace
