#ifndef _MArgDatabase
#define _MArgDatabase
// MArgParser plus selection-list arguments.

#include <maya/MTypes.h>
#include <maya/MArgParser.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MSelectionList;

class OPENMAYA_EXPORT MArgDatabase : public MArgParser
{
public:
    MArgDatabase();
    MArgDatabase(const MSyntax& syntax, const MArgList& argList, MStatus* ReturnStatus = NULL);
    MArgDatabase(const MArgDatabase& other);
    MArgDatabase& operator=(const MArgDatabase& other);
    ~MArgDatabase() override;

    MStatus getFlagArgument(const char* flag, unsigned int index, bool& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, int& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, double& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, unsigned int& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, MString& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, MSelectionList& result) const;

    MStatus getCommandArgument(unsigned int index, int& result) const;
    MStatus getCommandArgument(unsigned int index, double& result) const;
    MStatus getCommandArgument(unsigned int index, MString& result) const;
    MStatus getCommandArgument(unsigned int index, MSelectionList& result) const;

    MStatus getObjects(MSelectionList& result) const;
    MStatus getObjects(MStringArray& result) const;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
