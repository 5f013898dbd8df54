#include "xml/XmlSession.h"

#include "xml/XmlErrors.h"

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>

using namespace xercesc;

XmlSession::XmlSession(Network network)
{
    fStarted = runCatchingXmlErrors(
        [] { XMLPlatformUtils::Initialize(XMLUni::fgXercescDefaultLocale); }, fFailure);
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
