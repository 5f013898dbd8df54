// MStatus, its error texts, and statuses that carry a caller's text.

#include "Api.h"

#include <dghost/StatusText.h>
#include <maya/MString.h>

#include <cstdio>
#include <mutex>

namespace dghost {
namespace detail {

// Texts registered by statusWithText, indexed by internal status code.
std::vector<std::string>& registeredTexts()
{
    static auto* texts = new std::vector<std::string>();
    return *texts;
}

}  // namespace detail
}  // namespace dghost

OPENMAYA_MAJOR_NAMESPACE_OPEN

MStatus::MStatus(MStatusCode code)
    : fStatus(code == kSuccess), fStatusCode(code), fInternalStatusCode(0xff)
{
}

MStatus::MStatus(const MStatus& other) = default;
MStatus& MStatus::operator=(const MStatus& rhs) = default;

bool MStatus::operator==(const MStatus& rhs) const { return fStatusCode == rhs.fStatusCode; }
bool MStatus::operator==(const MStatusCode rhs) const { return fStatusCode == rhs; }
bool MStatus::operator!=(const MStatus& rhs) const { return fStatusCode != rhs.fStatusCode; }
bool MStatus::operator!=(const MStatusCode rhs) const { return fStatusCode != rhs; }
bool MStatus::error() const { return !fStatus; }

void MStatus::clear()
{
    fStatus = true;
    fStatusCode = kSuccess;
    fInternalStatusCode = 0xff;
}

MStatus::MStatusCode MStatus::statusCode() const { return fStatusCode; }

namespace {

using dghost::detail::registeredTexts;

const char* defaultText(MStatus::MStatusCode code)
{
    switch (code) {
    case MStatus::kSuccess: return "No error";
    case MStatus::kFailure: return "Unexpected Internal Failure";
    case MStatus::kInsufficientMemory: return "Insufficient Memory";
    case MStatus::kInvalidParameter: return "Object is incompatible with this method";
    case MStatus::kLicenseFailure: return "License Failure";
    case MStatus::kUnknownParameter: return "Unknown Parameter";
    case MStatus::kNotImplemented: return "Not Implemented";
    case MStatus::kNotFound: return "Object not found";
    case MStatus::kEndOfFile: return "End of File";
    }
    return "Unknown status";
}

}  // namespace

MString MStatus::errorString() const
{
    std::string text = std::string("(") + dghost::detail::statusCodeName(fStatusCode) + "): ";
    const auto& texts = registeredTexts();
    if (fInternalStatusCode < texts.size() && !texts[fInternalStatusCode].empty())
        text += texts[fInternalStatusCode];
    else
        text += defaultText(fStatusCode);
    return MString(text.c_str());
}

void MStatus::perror(const char* text) const
{
    std::cerr << text << ": " << errorString() << std::endl;
}

void MStatus::perror(const MString& text) const { perror(text.asChar()); }

void MStatus::pAPIerror(const char* file, int line) const
{
    std::cerr << file << ":" << line << ": " << errorString() << std::endl;
}

void MStatus::set(bool status, unsigned char statusCode, unsigned char internalStatusCode)
{
    fStatus = status;
    fStatusCode = static_cast<MStatusCode>(statusCode);
    fInternalStatusCode = internalStatusCode;
}

void MStatus::setSuccess() { clear(); }

std::ostream& operator<<(std::ostream& os, MStatus& s)
{
    return os << s.errorString();
}

OPENMAYA_NAMESPACE_CLOSE

namespace dghost {

MStatus statusWithText(MStatus::MStatusCode code, const char* text)
{
    auto& texts = detail::registeredTexts();
    if (texts.empty())
        texts.emplace_back();  // internal code 0 carries no text
    unsigned int slot = 0;
    for (unsigned int i = 1; i < texts.size(); ++i)
        if (texts[i] == text) slot = i;
    if (slot == 0 && texts.size() < 0xff) {
        texts.emplace_back(text);
        slot = static_cast<unsigned int>(texts.size() - 1);
    }
    MStatus status;
    status.set(code == MStatus::kSuccess, static_cast<unsigned char>(code),
               static_cast<unsigned char>(slot == 0 ? 0xff : slot));
    return status;
}

namespace detail {

const char* statusCodeName(MStatus::MStatusCode code)
{
    static const char* const names[] = {"kSuccess",          "kFailure",        "kInsufficientMemory",
                                        "kInvalidParameter", "kLicenseFailure", "kUnknownParameter",
                                        "kNotImplemented",   "kNotFound",       "kEndOfFile"};
    unsigned int index = static_cast<unsigned int>(code);
    return index < sizeof(names) / sizeof(names[0]) ? names[index] : "kFailure";
}

MStatus failure(MStatus::MStatusCode code, const std::string& text)
{
    return statusWithText(code, text.c_str());
}

}  // namespace detail
}  // namespace dghost
