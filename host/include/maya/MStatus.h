#ifndef _MStatus
#define _MStatus
// Result of an API call: a status code plus a success flag.
// `operator bool` reports the flag, `==` compares only the code.

#include <maya/MTypes.h>
#include <maya/MIOStream.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MString;

class OPENMAYA_EXPORT MStatus
{
public:
    enum MStatusCode
    {
        kSuccess = 0,
        kFailure,
        kInsufficientMemory,
        kInvalidParameter,
        kLicenseFailure,
        kUnknownParameter,
        kNotImplemented,
        kNotFound,
        kEndOfFile
    };

    inline MStatus() : fStatus(true), fStatusCode(kSuccess), fInternalStatusCode(0xff) {}
    MStatus(MStatusCode code);
    MStatus(const MStatus& other);
    MStatus& operator=(const MStatus& rhs);

    bool operator==(const MStatus& rhs) const;
    bool operator==(const MStatusCode rhs) const;
    bool operator!=(const MStatus& rhs) const;
    bool operator!=(const MStatusCode rhs) const;

    bool error() const;
    void clear();
    MStatusCode statusCode() const;
    MString errorString() const;
    void perror(const char* text) const;
    void perror(const MString& text) const;
    void pAPIerror(const char* file, int line) const;
    void set(bool status, unsigned char statusCode, unsigned char internalStatusCode);
    void setSuccess();

BEGIN_NO_SCRIPT_SUPPORT:
    operator bool() const { return fStatus; }
    friend OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, MStatus& s);

private:
    bool fStatus;
    MStatusCode fStatusCode;
    unsigned char fInternalStatusCode;
};

inline bool operator==(const MStatus::MStatusCode code, const MStatus& status)
{
    return status == code;
}
inline bool operator!=(const MStatus::MStatusCode code, const MStatus& status)
{
    return status != code;
}

OPENMAYA_NAMESPACE_CLOSE

#define MFAIL(status) (MStatus::kSuccess != (status))

#define CHECK_MSTATUS_AND_RETURN(_status, _retVal)        \
    {                                                     \
        MStatus _maya_status = (_status);                 \
        if (MStatus::kSuccess != _maya_status) {          \
            _maya_status.pAPIerror(__FILE__, __LINE__);   \
            return (_retVal);                             \
        }                                                 \
    }

#define CHECK_MSTATUS_AND_RETURN_IT(_status) CHECK_MSTATUS_AND_RETURN((_status), (_status))

#define CHECK_MSTATUS(_status)                            \
    {                                                     \
        MStatus _maya_status = (_status);                 \
        if (MStatus::kSuccess != _maya_status) {          \
            _maya_status.pAPIerror(__FILE__, __LINE__);   \
        }                                                 \
    }

#ifndef MNoMSTypedef
typedef MStatus MS;
#endif

#endif
