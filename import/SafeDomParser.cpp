#include "import/SafeDomParser.h"

#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/Wrapper4InputSource.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

using namespace xercesc;

XercesSession::XercesSession()
    : fSavedNetAccessor(nullptr)
{
    XMLPlatformUtils::Initialize(XMLUni::fgXercescDefaultLocale);
    fSavedNetAccessor = XMLPlatformUtils::fgNetAccessor;
    XMLPlatformUtils::fgNetAccessor = nullptr;
}

XercesSession::~XercesSession()
{
    // Terminate deletes the accessor it made: hand it back first.
    XMLPlatformUtils::fgNetAccessor = fSavedNetAccessor;
    XMLPlatformUtils::Terminate();
}

DOMLSInput* BlockingResourceResolver::resolveResource(const XMLCh* const, const XMLCh* const,
                                                      const XMLCh* const,
                                                      const XMLCh* const systemId,
                                                      const XMLCh* const)
{
    static const XMLByte kNothing[1] = {0};
    static const XMLCh kNoName[1] = {0};
    ++fRequests;
    // The parser adopts and releases the returned input, which adopts the source.
    InputSource* empty = new MemBufInputSource(kNothing, 0, systemId ? systemId : kNoName, false);
    return new Wrapper4InputSource(empty, true);
}

ImportParser::ImportParser(DOMErrorHandler& handler)
    : fParser(nullptr)
{
    fSecurity.setEntityExpansionLimit(kEntityExpansionLimit);
    DOMImplementation* implementation = DOMImplementationRegistry::getDOMImplementation(u"LS");
    if (implementation == nullptr)
        return;
    DOMImplementationLS* ls = static_cast<DOMImplementationLS*>(implementation);
    fParser = ls->createLSParser(DOMImplementationLS::MODE_SYNCHRONOUS, nullptr,
                                 XMLPlatformUtils::fgMemoryManager, nullptr);
    DOMConfiguration* config = fParser->getDomConfig();
    config->setParameter(XMLUni::fgDOMNamespaces, false);
    config->setParameter(XMLUni::fgXercesSchema, false);
    config->setParameter(XMLUni::fgXercesSchemaFullChecking, false);
    config->setParameter(XMLUni::fgDOMValidateIfSchema, true);
    config->setParameter(XMLUni::fgDOMDatatypeNormalization, true);
    // Entity references are replaced by their content: kept as reference
    // nodes, the elements an entity holds would never become scene nodes
    // and would be lost from every export.
    config->setParameter(XMLUni::fgDOMEntities, false);
    config->setParameter(XMLUni::fgDOMErrorHandler, static_cast<const void*>(&handler));
    config->setParameter(XMLUni::fgDOMResourceResolver,
                         static_cast<const void*>(static_cast<DOMLSResourceResolver*>(&fResolver)));
    config->setParameter(XMLUni::fgXercesSecurityManager, static_cast<const void*>(&fSecurity));
    fParser->resetDocumentPool();
}

ImportParser::~ImportParser()
{
    if (fParser != nullptr)
        fParser->release();
}

DOMDocument* ImportParser::parse(const std::string& bytes, const std::u16string& systemId)
{
    if (fParser == nullptr)
        return nullptr;
    MemBufInputSource source(reinterpret_cast<const XMLByte*>(bytes.data()), bytes.size(),
                             systemId.c_str(), false);
    Wrapper4InputSource input(&source, false);
    return fParser->parse(&input);
}

bool readFileBytes(const std::string& path, std::string& bytes, std::string& reason)
{
    bytes.clear();
    errno = 0;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
    {
        reason = std::strerror(errno != 0 ? errno : ENOENT);
        return false;
    }
    struct stat info;
    if (fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode))
        bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[64 * 1024];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    const bool readFailed = std::ferror(file) != 0;
    const int readErrno = errno;
    std::fclose(file);
    if (readFailed)
    {
        reason = std::strerror(readErrno != 0 ? readErrno : EIO);
        bytes.clear();
        return false;
    }
    return true;
}
