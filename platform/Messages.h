// Modal messages and load traces, as the core code sees them.
// The viewer installs a sink backed by real message boxes; tools print to
// standard error; tests record every message in order.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace platform {

enum class MessageKind { Warning, Error, Plain, Information };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows one message and returns once the user has dismissed it.
    virtual void Show(std::string_view text, std::string_view caption, MessageKind kind) = 0;
};

// One message as the user is to see it.
struct Message {
    std::string text;
    std::string caption;
    MessageKind kind;
    bool operator==(const Message&) const = default;
};
using RecordedMessage = Message;

class RecordingMessageSink : public MessageSink {
public:
    void Show(std::string_view text, std::string_view caption, MessageKind kind) override;
    std::vector<RecordedMessage> messages;
};

// Prints "caption: text" on standard error.
class ConsoleMessageSink : public MessageSink {
public:
    void Show(std::string_view text, std::string_view caption, MessageKind kind) override;
};

// The sink every ShowMessage goes to; a console sink until another is set.
MessageSink& CurrentMessageSink();
void SetMessageSink(MessageSink* sink);  // nullptr restores the console sink

void ShowMessage(std::string_view text, std::string_view caption, MessageKind kind);
// Each in order, as ShowMessage shows it.
void ShowMessages(const std::vector<Message>& messages);

// Keeps a sink installed for one scope, then puts the previous one back.
class ScopedMessageSink {
public:
    explicit ScopedMessageSink(MessageSink& sink);
    ~ScopedMessageSink();
    ScopedMessageSink(const ScopedMessageSink&) = delete;
    ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

private:
    MessageSink* previous_;
};

// For its lifetime, stands in front of the sink that was current when it
// began and passes a message on only the first time it is seen (same text,
// caption and kind): one fault met many times in one load, a missing texture
// that a thousand materials name, is told once, in the place it was first
// told. Keeps each distinct message passed on, nothing more.
class ScopedDistinctMessages : public MessageSink {
public:
    ScopedDistinctMessages();
    ScopedDistinctMessages(const ScopedDistinctMessages&) = delete;
    ScopedDistinctMessages& operator=(const ScopedDistinctMessages&) = delete;
    void Show(std::string_view text, std::string_view caption, MessageKind kind) override;

private:
    MessageSink& next_;
    std::set<std::tuple<std::string, std::string, MessageKind>> shown_;
    ScopedMessageSink installed_;  // last: installed once the rest is ready, removed first
};

// Formats like printf, whatever the length.
std::string FormatMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Diagnostic lines written during a load; standard output unless redirected.
class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual void Write(std::string_view text) = 0;
};

class StdoutTraceSink : public TraceSink {
public:
    void Write(std::string_view text) override;
};

class StderrTraceSink : public TraceSink {
public:
    void Write(std::string_view text) override;
};

class NullTraceSink : public TraceSink {
public:
    void Write(std::string_view) override {}
};

class RecordingTraceSink : public TraceSink {
public:
    void Write(std::string_view text) override { text_ += text; }
    std::string text_;
};

TraceSink& CurrentTraceSink();
void SetTraceSink(TraceSink* sink);  // nullptr restores standard output
void Trace(std::string_view text);

class ScopedTraceSink {
public:
    explicit ScopedTraceSink(TraceSink& sink);
    ~ScopedTraceSink();
    ScopedTraceSink(const ScopedTraceSink&) = delete;
    ScopedTraceSink& operator=(const ScopedTraceSink&) = delete;

private:
    TraceSink* previous_;
};

}  // namespace platform
