#ifndef _MArgParser
#define _MArgParser
// Parses an argument list against a syntax. Flags may be named by their
// short or long form, with the leading '-'. In query mode a flag takes no
// argument.

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MSyntax;
class MArgList;
class MStringArray;

class OPENMAYA_EXPORT MArgParser
{
public:
    MArgParser();
    MArgParser(const MSyntax& syntax, const MArgList& argList, MStatus* ReturnStatus = NULL);
    MArgParser(const MArgParser& other);
    MArgParser& operator=(const MArgParser& other);
    virtual ~MArgParser();

    bool isFlagSet(const char* flag, MStatus* ReturnStatus = NULL) const;
    bool isEdit(MStatus* ReturnStatus = NULL) const;
    bool isQuery(MStatus* ReturnStatus = NULL) const;
    unsigned int numberOfFlagsUsed() const;
    unsigned int numberOfFlagUses(const char* flag) const;

    MStatus getFlagArgument(const char* flag, unsigned int index, bool& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, int& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, double& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, unsigned int& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, MString& result) const;
    MString flagArgumentString(const char* flag, unsigned int index,
                               MStatus* ReturnStatus = NULL) const;

    MStatus getCommandArgument(unsigned int index, int& result) const;
    MStatus getCommandArgument(unsigned int index, double& result) const;
    MStatus getCommandArgument(unsigned int index, MString& result) const;
    MString commandArgumentString(unsigned int index, MStatus* ReturnStatus = NULL) const;
    MStatus getObjects(MStringArray& result) const;

private:
    friend struct MArgParserAccess;
    void* fData;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
