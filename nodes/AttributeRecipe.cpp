#include "nodes/AttributeRecipe.h"

#include <maya/MFnTypedAttribute.h>
#include <maya/MIOStream.h>
#include <maya/MPxNode.h>

namespace {

// kNotFound is not worth a report: only other failures count.
bool isReportedFailure(const MStatus& status)
{
    return status != MS::kSuccess && status != MS::kNotFound;
}

void reportStep(const char* failureText, const MStatus& status)
{
    if (failureText != nullptr && isReportedFailure(status)) {
        std::cout << failureText << status.errorString() << std::endl;
    }
}

void reportCreation(const AttributeRecipe& recipe, const MStatus& status)
{
    if (recipe.createFailureText == nullptr) {
        return;
    }
    if (recipe.createReport == CreateReport::LineWithError) {
        reportStep(recipe.createFailureText, status);
    } else if (status != MS::kSuccess) {
        std::cout << recipe.createFailureText;
    }
}

MObject createTyped(MFnTypedAttribute& fn, const AttributeRecipe& recipe, MStatus& status)
{
    if (recipe.dataType == nullptr) {
        return fn.create(recipe.longName, recipe.shortName, MFnData::kString, MObject::kNullObj,
                         &status);
    }
    return fn.create(recipe.longName, recipe.shortName, *recipe.dataType, MObject::kNullObj,
                     &status);
}

}  // namespace

MObject buildAttribute(const AttributeRecipe& recipe)
{
    MFnTypedAttribute fn;
    MStatus status;
    MObject attribute = createTyped(fn, recipe, status);
    reportCreation(recipe, status);
    for (const FlagStep& step : recipe.flags) {
        reportStep(step.failureText, (fn.*step.setter)(step.value));
    }
    reportStep(recipe.addFailureText, MPxNode::addAttribute(attribute));
    return attribute;
}

AttributeRecipe storedTextRecipe(const MString& longName, const MString& shortName)
{
    return {longName, shortName, nullptr, nullptr, CreateReport::LineWithError,
            {{&MFnAttribute::setConnectable, false, nullptr},
             {&MFnAttribute::setKeyable, false, nullptr},
             {&MFnAttribute::setReadable, true, nullptr},
             {&MFnAttribute::setWritable, true, nullptr},
             {&MFnAttribute::setStorable, true, nullptr}},
            nullptr};
}
