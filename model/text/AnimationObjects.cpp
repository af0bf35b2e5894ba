// Readers of the animation objects: "AnimTicksPerSecond", "AnimationSet",
// the "Animation" objects directly in a set, and in each of those its
// "AnimationKey" and "AnimationOptions" objects and the reference "{ Name }"
// to the frame it moves. An object's numbers may stand on its brace line and
// anywhere below it; the keys are checked by animation_rules, the rules the
// binary reader shares, and what does not hold together is left out: an
// animation never makes a file fail to load.
#include "model/objects/AnimationRules.h"
#include "model/text/TextHelpers.h"
#include "model/text/TextWalk.h"

namespace {

// The text of a naming line after its first word, up to its "{", trimmed:
// "(Bip01)" for "Animation (Bip01) {".
std::string_view AfterFirstWord(std::string_view line)
{
    const std::string_view first = SplitWords(line)[0];
    if (first.empty()) return {};
    std::string_view rest = line.substr(static_cast<std::size_t>(first.data() + first.size() - line.data()));
    return TrimBlanks(rest.substr(0, rest.find('{')));
}

}  // namespace

bool TextReader::IsAnimationReference(std::string_view line) const
{
    return line.front() == '{' && Contains(line, '}') &&
           (IsOpenBlock(0, "Animation") || IsOpenBlock(0, "AnimationSet"));
}

AnimationRecord* TextReader::CurrentAnimation()
{
    if (openAnimations_.empty() || openAnimations_.back().depth + 1 != blockStack_.size()) return nullptr;
    const AnimationBeingRead& open = openAnimations_.back();
    return &model_.animationSets[open.set].animations[open.animation];
}

void TextReader::CloseAnimationBlocks()
{
    const std::size_t closing = blockStack_.size() - 1;
    if (!openAnimations_.empty() && openAnimations_.back().depth == closing) openAnimations_.pop_back();
    if (!openSets_.empty() && openSets_.back().depth == closing) openSets_.pop_back();
}

std::vector<float> TextReader::OwnNumbers(std::int32_t line) const
{
    const std::size_t brace = Line(line).find('{');
    return NumbersOfLines(line, brace == std::string_view::npos ? 0 : brace + 1, objectDataEnd_);
}

void TextReader::OpenAnimationSet(std::int32_t line)
{
    openSets_.push_back({blockStack_.size(), model_.animationSets.size()});
    model_.animationSets.emplace_back().name = LimitName(ObjectName(NamingLine(line)));
}

void TextReader::OpenAnimation(std::int32_t line)
{
    // Only an animation directly in a set is played.
    if (openSets_.empty() || openSets_.back().depth + 1 != blockStack_.size()) return;
    AnimationSetRecord& set = model_.animationSets[openSets_.back().set];
    openAnimations_.push_back({blockStack_.size(), openSets_.back().set, set.animations.size()});
    // Its own name is no frame's, unless in parentheses; a reference inside overrides it.
    set.animations.emplace_back().frameName =
        LimitName(animation_rules::ParenthesisedFrameName(AfterFirstWord(NamingLine(line))));
}

void TextReader::ReadAnimationKey(std::int32_t line)
{
    if (AnimationRecord* animation = CurrentAnimation()) animation_rules::AddKeys(*animation, OwnNumbers(line));
}

void TextReader::ReadAnimationOptions(std::int32_t line)
{
    if (AnimationRecord* animation = CurrentAnimation()) animation_rules::SetOptions(*animation, OwnNumbers(line));
}

void TextReader::ReadAnimTicksPerSecond(std::int32_t line)
{
    animation_rules::SetTicksPerSecond(model_, OwnNumbers(line));
}

void TextReader::TakeFrameReference(std::string_view line)
{
    AnimationRecord* animation = CurrentAnimation();
    if (!animation || openAnimations_.back().referenced) return;
    // "{ Name }" or "{ Name <GUID> }"; a GUID alone names no frame.
    const std::string_view inside = ReferenceName(line);
    const std::string_view name = inside.substr(0, inside.find_first_of(" \t<"));
    if (name.empty()) return;
    animation->frameName = LimitName(name);
    openAnimations_.back().referenced = true;
}
