#include "platform/Messages.h"

#include <cstdarg>
#include <cstdio>

namespace platform {

void RecordingMessageSink::Show(std::string_view text, std::string_view caption, MessageKind kind)
{
    messages.push_back({std::string(text), std::string(caption), kind});
}

void ConsoleMessageSink::Show(std::string_view text, std::string_view caption, MessageKind)
{
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
    std::fflush(stderr);
}

namespace {
ConsoleMessageSink consoleSink;
MessageSink* currentSink = &consoleSink;

StdoutTraceSink stdoutTrace;
TraceSink* currentTrace = &stdoutTrace;
}  // namespace

MessageSink& CurrentMessageSink() { return *currentSink; }

void SetMessageSink(MessageSink* sink) { currentSink = sink ? sink : &consoleSink; }

void ShowMessage(std::string_view text, std::string_view caption, MessageKind kind)
{
    currentSink->Show(text, caption, kind);
}

void ShowMessages(const std::vector<Message>& messages)
{
    for (const Message& message : messages) ShowMessage(message.text, message.caption, message.kind);
}

ScopedMessageSink::ScopedMessageSink(MessageSink& sink) : previous_(currentSink) { currentSink = &sink; }
ScopedMessageSink::~ScopedMessageSink() { currentSink = previous_; }

ScopedDistinctMessages::ScopedDistinctMessages() : next_(CurrentMessageSink()), installed_(*this) {}

void ScopedDistinctMessages::Show(std::string_view text, std::string_view caption, MessageKind kind)
{
    if (shown_.emplace(std::string(text), std::string(caption), kind).second) next_.Show(text, caption, kind);
}

std::string FormatMessage(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, arguments);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(arguments);
    return text;
}

void StdoutTraceSink::Write(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }
void StderrTraceSink::Write(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); }

TraceSink& CurrentTraceSink() { return *currentTrace; }
void SetTraceSink(TraceSink* sink) { currentTrace = sink ? sink : &stdoutTrace; }
void Trace(std::string_view text) { currentTrace->Write(text); }

ScopedTraceSink::ScopedTraceSink(TraceSink& sink) : previous_(currentTrace) { currentTrace = &sink; }
ScopedTraceSink::~ScopedTraceSink() { currentTrace = previous_; }

}  // namespace platform
