#include "nodes/AttributeRecipe.h"

#include "log/Log.h"

#include <maya/MFnTypedAttribute.h>
#include <maya/MPxNode.h>

namespace {

void reportStep(const char* failureText, const MStatus& status)
{
    if (failureText != nullptr)
        logError(failureText, status);
}

void reportCreation(const AttributeRecipe& recipe, const MStatus& status)
{
    if (recipe.createFailureText == nullptr)
        return;
    logError(recipe.createFailureText, status,
             recipe.createReport == CreateReport::LineWithError
                 ? ErrorLine::Standard
                 : ErrorLine::EvenNotFound | ErrorLine::TextOnly);
}

MObject createTyped(MFnTypedAttribute& fn, const AttributeRecipe& recipe, MStatus& status)
{
    if (recipe.dataType == nullptr) {
        return fn.create(recipe.names.longName, recipe.names.shortName, MFnData::kString,
                         MObject::kNullObj, &status);
    }
    return fn.create(recipe.names.longName, recipe.names.shortName, *recipe.dataType,
                     MObject::kNullObj, &status);
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

AttributeRecipe storedTextRecipe(const PlugName& names)
{
    return {names, nullptr, nullptr, CreateReport::LineWithError,
            {{&MFnAttribute::setConnectable, false, nullptr},
             {&MFnAttribute::setKeyable, false, nullptr},
             {&MFnAttribute::setReadable, true, nullptr},
             {&MFnAttribute::setWritable, true, nullptr},
             {&MFnAttribute::setStorable, true, nullptr}},
            nullptr};
}
