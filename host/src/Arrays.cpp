// MObjectArray, MIntArray, MPlugArray and MStringArray: plain growable arrays.

#include "Api.h"

#include <maya/MIntArray.h>
#include <maya/MObjectArray.h>
#include <maya/MPlugArray.h>
#include <maya/MStringArray.h>

using dghost::detail::Op;
using dghost::detail::faultHit;

namespace {

// The operations every array shares, over its std::vector.
template <typename Vector, typename T>
MStatus setAt(Vector& items, const T& element, unsigned int index)
{
    if (index >= items.size()) return MS::kInvalidParameter;
    items[index] = element;
    return MS::kSuccess;
}

template <typename Vector>
MStatus removeAt(Vector& items, unsigned int index)
{
    if (index >= items.size()) return MS::kInvalidParameter;
    items.erase(items.begin() + index);
    return MS::kSuccess;
}

template <typename Vector, typename T>
MStatus insertAt(Vector& items, const T& element, unsigned int index)
{
    if (index > items.size()) return MS::kInvalidParameter;
    items.insert(items.begin() + index, element);
    return MS::kSuccess;
}

template <typename Vector, typename T>
MStatus appendTo(Vector& items, const T& element)
{
    MStatus status;
    if (faultHit(Op::arrayAppend, status)) return status;
    items.push_back(element);
    return MS::kSuccess;
}

}  // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

MObjectArray::MObjectArray() = default;
MObjectArray::MObjectArray(const MObjectArray& other) = default;
MObjectArray::MObjectArray(unsigned int initialSize, const MObject& initialValue)
    : fItems(initialSize, initialValue)
{
}
MObjectArray::MObjectArray(const MObject src[], unsigned int count) : fItems(src, src + count) {}
MObjectArray::~MObjectArray() = default;
MObjectArray& MObjectArray::operator=(const MObjectArray& other) = default;
const MObject& MObjectArray::operator[](unsigned int index) const { return fItems.at(index); }
MObject& MObjectArray::operator[](unsigned int index) { return fItems.at(index); }
MStatus MObjectArray::set(const MObject& element, unsigned int index)
{
    return setAt(fItems, element, index);
}
MStatus MObjectArray::setLength(unsigned int length)
{
    fItems.resize(length);
    return MS::kSuccess;
}
unsigned int MObjectArray::length() const { return static_cast<unsigned int>(fItems.size()); }
MStatus MObjectArray::remove(unsigned int index) { return removeAt(fItems, index); }
MStatus MObjectArray::insert(const MObject& element, unsigned int index)
{
    return insertAt(fItems, element, index);
}
MStatus MObjectArray::append(const MObject& element) { return appendTo(fItems, element); }
MStatus MObjectArray::copy(const MObjectArray& source)
{
    fItems = source.fItems;
    return MS::kSuccess;
}
MStatus MObjectArray::clear()
{
    fItems.clear();
    return MS::kSuccess;
}

MIntArray::MIntArray() = default;
MIntArray::MIntArray(const MIntArray& other) = default;
MIntArray::MIntArray(const int src[], unsigned int count) : fItems(src, src + count) {}
MIntArray::MIntArray(unsigned int initialSize, int initialValue) : fItems(initialSize, initialValue) {}
MIntArray::~MIntArray() = default;
MIntArray& MIntArray::operator=(const MIntArray& other) = default;
int MIntArray::operator[](unsigned int index) const { return fItems.at(index); }
int& MIntArray::operator[](unsigned int index) { return fItems.at(index); }
MStatus MIntArray::set(int element, unsigned int index) { return setAt(fItems, element, index); }
MStatus MIntArray::setLength(unsigned int length)
{
    fItems.resize(length);
    return MS::kSuccess;
}
unsigned int MIntArray::length() const { return static_cast<unsigned int>(fItems.size()); }
MStatus MIntArray::remove(unsigned int index) { return removeAt(fItems, index); }
MStatus MIntArray::insert(int element, unsigned int index) { return insertAt(fItems, element, index); }
MStatus MIntArray::append(int element) { return appendTo(fItems, element); }
MStatus MIntArray::copy(const MIntArray& source)
{
    fItems = source.fItems;
    return MS::kSuccess;
}
MStatus MIntArray::clear()
{
    fItems.clear();
    return MS::kSuccess;
}

MPlugArray::MPlugArray() = default;
MPlugArray::MPlugArray(const MPlugArray& other) = default;
MPlugArray::MPlugArray(unsigned int initializeSize, const MPlug& initialValue)
    : fItems(initializeSize, initialValue)
{
}
MPlugArray::MPlugArray(const MPlug src[], unsigned int count) : fItems(src, src + count) {}
MPlugArray::~MPlugArray() = default;
MPlugArray& MPlugArray::operator=(const MPlugArray& other) = default;
const MPlug& MPlugArray::operator[](unsigned int index) const { return fItems.at(index); }
MPlug& MPlugArray::operator[](unsigned int index) { return fItems.at(index); }
MStatus MPlugArray::set(const MPlug& element, unsigned int index)
{
    return setAt(fItems, element, index);
}
MStatus MPlugArray::setLength(unsigned int length)
{
    fItems.resize(length);
    return MS::kSuccess;
}
unsigned int MPlugArray::length() const { return static_cast<unsigned int>(fItems.size()); }
MStatus MPlugArray::remove(unsigned int index) { return removeAt(fItems, index); }
MStatus MPlugArray::insert(const MPlug& element, unsigned int index)
{
    return insertAt(fItems, element, index);
}
MStatus MPlugArray::append(const MPlug& element) { return appendTo(fItems, element); }
MStatus MPlugArray::copy(const MPlugArray& source)
{
    fItems = source.fItems;
    return MS::kSuccess;
}
MStatus MPlugArray::clear()
{
    fItems.clear();
    return MS::kSuccess;
}

MStringArray::MStringArray() = default;
MStringArray::MStringArray(const MStringArray& other) = default;
MStringArray::MStringArray(const MString strings[], unsigned int count)
    : fItems(strings, strings + count)
{
}
MStringArray::MStringArray(const char* strings[], unsigned int count)
{
    for (unsigned int i = 0; i < count; ++i) fItems.emplace_back(strings[i]);
}
MStringArray::MStringArray(unsigned int initialSize, const MString& initialValue)
    : fItems(initialSize, initialValue)
{
}
MStringArray::~MStringArray() = default;
MStringArray& MStringArray::operator=(const MStringArray& other) = default;

MString MStringArray::operator[](unsigned int index) const { return fItems.at(index); }
MString& MStringArray::operator[](unsigned int index) { return fItems.at(index); }

MStatus MStringArray::set(const MString& element, unsigned int index)
{
    return setAt(fItems, element, index);
}
MStatus MStringArray::set(const char* element, unsigned int index)
{
    return set(MString(element), index);
}
MStatus MStringArray::setLength(unsigned int length)
{
    fItems.resize(length);
    return MS::kSuccess;
}
unsigned int MStringArray::length() const { return static_cast<unsigned int>(fItems.size()); }
MStatus MStringArray::remove(unsigned int index) { return removeAt(fItems, index); }
MStatus MStringArray::insert(const MString& element, unsigned int index)
{
    return insertAt(fItems, element, index);
}
MStatus MStringArray::append(const MString& element) { return appendTo(fItems, element); }
MStatus MStringArray::copy(const MStringArray& source)
{
    fItems = source.fItems;
    return MS::kSuccess;
}
MStatus MStringArray::clear()
{
    fItems.clear();
    return MS::kSuccess;
}
int MStringArray::indexOf(const MString& element) const
{
    for (std::size_t i = 0; i < fItems.size(); ++i)
        if (fItems[i] == element) return static_cast<int>(i);
    return -1;
}

std::ostream& operator<<(std::ostream& os, const MStringArray& array)
{
    os << "[";
    for (std::size_t i = 0; i < array.fItems.size(); ++i)
        os << (i ? "," : "") << array.fItems[i];
    return os << "]";
}

OPENMAYA_NAMESPACE_CLOSE
