#ifndef _MObjectArray
#define _MObjectArray
// Array of MObject handles.

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MObject.h>
#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MObjectArray
{
public:
    MObjectArray();
    MObjectArray(const MObjectArray& other);
    MObjectArray(unsigned int initialSize, const MObject& initialValue = MObject::kNullObj);
    MObjectArray(const MObject src[], unsigned int count);
    ~MObjectArray();

    MObjectArray& operator=(const MObjectArray& other);
    const MObject& operator[](unsigned int index) const;
    MObject& operator[](unsigned int index);

    MStatus set(const MObject& element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MObject& element, unsigned int index);
    MStatus append(const MObject& element);
    MStatus copy(const MObjectArray& source);
    MStatus clear();

private:
    std::vector<MObject> fItems;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
