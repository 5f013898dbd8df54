#ifndef _MGlobal
#define _MGlobal
// Host-wide services: running commands, the active selection, messages.

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MSelectionList;
class MStringArray;
class MIntArray;

class OPENMAYA_EXPORT MGlobal
{
public:
    enum ListAdjustment
    {
        kReplaceList = 0,
        kXORWithList,
        kAddToList,
        kRemoveFromList,
        kAddToHeadOfList
    };

    static MStatus executeCommand(const MString& command, bool displayEnabled = false,
                                  bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, int& result, bool displayEnabled = false,
                                  bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, MIntArray& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, MStringArray& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
BEGIN_NO_SCRIPT_SUPPORT:
    static MStatus executeCommand(const MString& command, MString& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MString executeCommandStringResult(const MString& command, bool displayEnabled = false,
                                              bool undoEnabled = false, MStatus* ResultStatus = NULL);

    static MStatus selectByName(const MString& name, ListAdjustment listAdjustment = kAddToList);
    static MStatus getActiveSelectionList(MSelectionList& dest,
                                          bool orderedSelectionIfAvailable = false);
    static MStatus setActiveSelectionList(const MSelectionList& src,
                                          ListAdjustment listAdjustment = kReplaceList);
    static MStatus clearSelectionList();
    static MStatus getSelectionListByName(const MString& name, MSelectionList& list);

    static void displayInfo(const MString& theMessage);
    static void displayWarning(const MString& theWarning);
    static void displayError(const MString& theError);
};

OPENMAYA_NAMESPACE_CLOSE

#endif
