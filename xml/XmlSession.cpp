#include "xml/XmlSession.h"

#include "xml/XmlErrors.h"

#include <xercesc/util/PanicHandler.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>

using namespace xercesc;

namespace {

// An initialisation that threw half-way (out of memory) has counted itself
// as done and left the library half made: a later one would return at once
// and the library would crash on first use, and terminating crashes too.
// So after one such failure no session starts again in this process.
bool gStartFailed = false;

// The library's own panic handler ends the process, for instance when
// memory runs out while the library starts. This one throws instead, so
// that the command that started the session fails with the reason.
class ThrowingPanicHandler : public PanicHandler
{
public:
    void panic(const PanicReasons reason) override
    {
        throw XmlLibraryPanic(std::string("it gave up: ") + getPanicReasonString(reason));
    }
};

ThrowingPanicHandler gPanicHandler;

const char* const kUnusableText =
    "the XML library failed to start earlier (out of memory) and cannot be used again until "
    "the application is restarted";

}  // namespace

XmlSession::XmlSession(Network network)
{
    if (gStartFailed)
    {
        fFailure = kUnusableText;
        return;
    }
    fStarted = runCatchingXmlErrors(
        [] { XMLPlatformUtils::Initialize(XMLUni::fgXercescDefaultLocale, nullptr, &gPanicHandler); },
        fFailure);
    if (!fStarted)
        gStartFailed = true;
    if (fStarted && network == Network::Off)
    {
        fNetworkOff = true;
        fSavedNetAccessor = XMLPlatformUtils::fgNetAccessor;
        XMLPlatformUtils::fgNetAccessor = nullptr;
    }
}

XmlSession::~XmlSession()
{
    if (!fStarted)
        return;
    // Terminate deletes the accessor the library made: hand it back first.
    if (fNetworkOff)
        XMLPlatformUtils::fgNetAccessor = fSavedNetAccessor;
    XMLPlatformUtils::Terminate();
}
