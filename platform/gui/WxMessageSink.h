// Messages shown in modal message boxes that have no owner window.
#pragma once

#include "platform/Messages.h"

namespace platform {

class WxMessageSink : public MessageSink {
public:
    // Text and caption are UTF-8. Returns once the box is dismissed.
    void Show(std::string_view text, std::string_view caption, MessageKind kind) override;
};

// The message style for a kind: OK button, and the icon of the kind
// (warning, error, none, information).
long MessageBoxStyle(MessageKind kind);

}  // namespace platform
