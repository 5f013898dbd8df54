#include "import/ImportParser.h"

#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/Wrapper4InputSource.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLUni.hpp>

using namespace xercesc;

DOMLSInput* BlockingResourceResolver::resolveResource(const XMLCh* const resourceType,
                                                      const XMLCh* const, const XMLCh* const,
                                                      const XMLCh* const systemId,
                                                      const XMLCh* const)
{
    static const XMLByte kNothing[1] = {0};
    static const XMLCh kNoName[1] = {0};
    ++fRequests;
    if (resourceType != nullptr && XMLString::equals(resourceType, XMLUni::fgDOMDTDType) &&
        !fGrammarSkipped)
    {
        // The declarations are in a part we do not read: validating against
        // what is left would report every element and attribute.
        fGrammarSkipped = true;
        if (fParser != nullptr)
            fParser->getDomConfig()->setParameter(XMLUni::fgDOMValidateIfSchema, false);
    }
    // The parser adopts and releases the returned input, which adopts the source.
    InputSource* empty = new MemBufInputSource(kNothing, 0, systemId ? systemId : kNoName, false);
    return new Wrapper4InputSource(empty, true);
}

AmplificationGuard::AmplificationGuard(unsigned long long inputBytes)
    : fBudget(inputBytes * kAmplificationFactor + kAmplificationFloor)
{
}

DOMLSParserFilter::FilterAction AmplificationGuard::spend(unsigned long long amount)
{
    fSpent += amount;
    if (fSpent <= fBudget)
        return FILTER_ACCEPT;
    fExceeded = true;
    return FILTER_INTERRUPT;
}

DOMLSParserFilter::FilterAction AmplificationGuard::acceptNode(DOMNode* node)
{
    ++fTexts;
    const XMLCh* text = node->getNodeValue();
    return spend(text != nullptr ? XMLString::stringLen(text) : 0);
}

DOMLSParserFilter::FilterAction AmplificationGuard::startElement(DOMElement* element)
{
    const DOMNamedNodeMap* attributes = element->getAttributes();
    const XMLSize_t count = attributes != nullptr ? attributes->getLength() : 0;
    ++fElements;
    fAttributes += count;
    return spend(kNodeCost * (1 + count));
}

DOMNodeFilter::ShowType AmplificationGuard::getWhatToShow() const
{
    return DOMNodeFilter::SHOW_TEXT | DOMNodeFilter::SHOW_CDATA_SECTION;
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
    fResolver.setParser(fParser);
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
    fGuard = std::make_unique<AmplificationGuard>(bytes.size());
    fParser->setFilter(fGuard.get());
    MemBufInputSource source(reinterpret_cast<const XMLByte*>(bytes.data()), bytes.size(),
                             systemId.c_str(), false);
    Wrapper4InputSource input(&source, false);
    try
    {
        return fParser->parse(&input);
    }
    catch (const DOMLSException&)
    {
        // The guard's interruption arrives as the library's "parsing
        // aborted"; anything else is the caller's to report.
        if (!fGuard->exceeded())
            throw;
        return nullptr;
    }
}
