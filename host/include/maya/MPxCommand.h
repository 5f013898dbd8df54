#ifndef _MPxCommand
#define _MPxCommand
// Base of user-defined commands. The host creates one instance per
// invocation with the registered creator, calls doIt, and deletes it.
// Results and errors are static: they belong to the running command.

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MSyntax.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MArgList;
class MStringArray;
class MIntArray;

class OPENMAYA_EXPORT MPxCommand
{
public:
    enum MResultType
    {
        kLong,
        kDouble,
        kString,
        kNoArg
    };

    MPxCommand();
    virtual ~MPxCommand();

    virtual MStatus doIt(const MArgList& args);
    virtual MStatus undoIt();
    virtual MStatus redoIt();
    virtual bool isUndoable() const;
    virtual bool hasSyntax() const;

    MSyntax syntax() const;
    MString commandString() const;
    MStatus setCommandString(const MString& text);
    bool isHistoryOn() const;
    MStatus setHistoryOn(bool state);

    static void displayInfo(const MString& theInfo);
    static void displayWarning(const MString& theWarning, bool showLineNumber = false);
    static void displayError(const MString& theError, bool showLineNumber = false);

    static void clearResult();
    static void setResult(unsigned int val);
    static void setResult(int val);
    static void setResult(double val);
    static void setResult(bool val);
    static void setResult(const char* val);
    static void setResult(const MString& val);
    static void setResult(const MIntArray& val);
    static void setResult(const MStringArray& val);
    static void appendToResult(int val);
    static void appendToResult(double val);
    static void appendToResult(bool val);
    static void appendToResult(const char* val);
    static void appendToResult(const MString& val);
    static void appendToResult(const MStringArray& val);
    static MStatus getCurrentResult(int& val);
    static MStatus getCurrentResult(MString& val);
    static MStatus getCurrentResult(MStringArray& val);

private:
    friend struct MPxCommandAccess;
    MPxCommand(const MPxCommand&);
    MPxCommand& operator=(const MPxCommand&);
    void* fData;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
