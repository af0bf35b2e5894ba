#include "model/binary/AnimationObjects.h"

#include "model/binary/ObjectNumbers.h"
#include "model/objects/AnimationRules.h"
#include "platform/AsciiCase.h"

namespace xfile {

namespace {

// Every number of the object, integers as floats: the form animation_rules
// reads. As many as the object's runs really hold.
std::vector<float> AllNumbers(const Document& document, const DataObject& object)
{
    Numbers numbers(document, object);
    std::vector<float> all(numbers.remaining());
    for (float& value : all) numbers.NextFloat(value);
    return all;
}

}  // namespace

void ReadTicksPerSecond(const Document& document, const DataObject& object, Model& model)
{
    animation_rules::SetTicksPerSecond(model, AllNumbers(document, object));
}

AnimationRecord ReadAnimation(const Document& document, const DataObject& object)
{
    AnimationRecord animation;
    bool referenced = false;
    for (const DataPart& part : document.PartsOf(object)) {
        for (const Reference& reference : document.ReferencesOf(part))
            if (!referenced && !reference.name.empty()) {
                animation.frameName = LimitName(reference.name);
                referenced = true;
            }
        const DataObject* child = document.ObjectOf(part);
        if (!child) continue;
        if (platform::EqualIgnoringAsciiCase(child->type, "AnimationKey"))
            animation_rules::AddKeys(animation, AllNumbers(document, *child));
        else if (platform::EqualIgnoringAsciiCase(child->type, "AnimationOptions"))
            animation_rules::SetOptions(animation, AllNumbers(document, *child));
    }
    // Its own name is no frame's, unless in parentheses.
    if (!referenced) animation.frameName = LimitName(animation_rules::ParenthesisedFrameName(object.name));
    return animation;
}

}  // namespace xfile
