#include "export/XercesSession.h"

#include "export/XmlErrors.h"

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>

XERCES_CPP_NAMESPACE_USE

namespace xmlexport {

XercesSession::XercesSession() : fStarted(false)
{
    fStarted = runCatchingXmlErrors(
        [] { XMLPlatformUtils::Initialize(XMLUni::fgXercescDefaultLocale); }, fFailure);
}

XercesSession::~XercesSession()
{
    if (fStarted)
        XMLPlatformUtils::Terminate();
}

}  // namespace xmlexport
