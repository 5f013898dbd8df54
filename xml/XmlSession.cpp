#include "xml/XmlSession.h"

#include "xml/XmlErrors.h"

#include <cstddef>
#include <new>

#include <xercesc/framework/MemoryManager.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/PanicHandler.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>

using namespace xercesc;

namespace {

// A start that threw half-way (out of memory) has counted itself as done
// and left the library half made: a later start would return at once and
// the library would crash on first use, and terminating crashes too. A
// shut-down that threw half-way has freed some of the library's data and
// not the rest. Either way no session starts again in this process; this
// says why (null while the library is usable).
const char* gUnusable = nullptr;

const char* const kStartFailedText =
    "the XML library failed to start earlier and cannot be used again until the application is "
    "restarted";
const char* const kStopFailedText =
    "the XML library failed to shut down earlier and cannot be used again until the application is "
    "restarted";

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

// The library's memory: the heap, as with its own manager. Shutting the
// library down allocates too, partly inside destructors, where running out
// of memory ends the process; so while it shuts down, an allocation the
// heap refuses is served from a reserve kept for that, which the
// shut-down gives back before it ends.
class SessionMemory : public MemoryManager
{
public:
    MemoryManager* getExceptionMemoryManager() override { return this; }

    void* allocate(XMLSize_t size) override
    {
        try
        {
            return ::operator new(size);
        }
        catch (const std::bad_alloc&)
        {
        }
        if (void* memory = fromReserve(size))
            return memory;
        throw OutOfMemoryException();
    }

    void deallocate(void* memory) override
    {
        const unsigned char* const byte = static_cast<unsigned char*>(memory);
        if (byte >= fReserve && byte < fReserve + sizeof fReserve)
            return;
        ::operator delete(memory);
    }

    // While true, the reserve may serve allocations; made false, it is
    // whole again.
    void setStopping(bool stopping)
    {
        fStopping = stopping;
        fUsed = 0;
    }

private:
    void* fromReserve(XMLSize_t size)
    {
        const std::size_t rounded = (size + alignof(std::max_align_t) - 1) & ~(alignof(std::max_align_t) - 1);
        if (!fStopping || rounded > sizeof fReserve - fUsed)
            return nullptr;
        void* memory = fReserve + fUsed;
        fUsed += rounded;
        return memory;
    }

    bool fStopping = false;
    std::size_t fUsed = 0;
    alignas(std::max_align_t) unsigned char fReserve[64 * 1024];
};

SessionMemory gMemory;

}  // namespace

XmlSession::XmlSession(Network network)
{
    if (gUnusable != nullptr)
    {
        fFailure = gUnusable;
        return;
    }
    fStarted = runCatchingXmlErrors(
        [] {
            XMLPlatformUtils::Initialize(XMLUni::fgXercescDefaultLocale, nullptr, &gPanicHandler, &gMemory);
        },
        fFailure);
    if (!fStarted)
        gUnusable = kStartFailedText;
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
    // Shutting down allocates too; what the session did stays done.
    gMemory.setStopping(true);
    try
    {
        XMLPlatformUtils::Terminate();
    }
    catch (...)
    {
        gUnusable = kStopFailedText;
    }
    gMemory.setStopping(false);
}

bool XmlSession::usable()
{
    return gUnusable == nullptr;
}
