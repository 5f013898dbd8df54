#ifndef _MArgList
#define _MArgList
// The words a command was invoked with, in order.

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MArgList
{
public:
    MArgList();
    MArgList(const MArgList& other);
    ~MArgList();
    MArgList& operator=(const MArgList& other);

    unsigned int length(MStatus* ReturnStatus = NULL) const;
    bool asBool(unsigned int index, MStatus* ReturnStatus = NULL) const;
    int asInt(unsigned int index, MStatus* ReturnStatus = NULL) const;
    double asDouble(unsigned int index, MStatus* ReturnStatus = NULL) const;
    MString asString(unsigned int index, MStatus* ReturnStatus = NULL) const;
    unsigned int flagIndex(const char* shortFlag, const char* longFlag = NULL) const;
    MStatus get(unsigned int index, MString& result) const;

    MStatus addArg(const MString& arg);
    MStatus addArg(bool arg);
    MStatus addArg(int arg);
    MStatus addArg(double arg);

    static const unsigned int kInvalidArgIndex;

private:
    friend struct MArgListAccess;
    struct Word {
        MString text;
        bool quoted;  // a quoted word is never a flag
    };
    std::vector<Word> fWords;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
