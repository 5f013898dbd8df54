#ifndef _MPlugArray
#define _MPlugArray
// Array of MPlug.

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MPlug.h>
#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MPlugArray
{
public:
    MPlugArray();
    MPlugArray(const MPlugArray& other);
    MPlugArray(unsigned int initializeSize, const MPlug& initialValue);
    MPlugArray(const MPlug src[], unsigned int count);
    ~MPlugArray();

    MPlugArray& operator=(const MPlugArray& other);
    const MPlug& operator[](unsigned int index) const;
    MPlug& operator[](unsigned int index);

    MStatus set(const MPlug& element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MPlug& element, unsigned int index);
    MStatus append(const MPlug& element);
    MStatus copy(const MPlugArray& source);
    MStatus clear();

private:
    std::vector<MPlug> fItems;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
