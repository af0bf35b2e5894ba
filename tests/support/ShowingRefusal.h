// A read as the tests of the readers look at it: the model, or nothing with
// the refusal's messages shown through the message sink, as a load in the
// viewer shows them.
#pragma once

#include "model/LoadError.h"
#include "platform/Messages.h"

#include <optional>

namespace testing_support {

inline std::optional<Model> ShowingRefusal(ModelOrError read)
{
    if (read) return std::move(*read);
    platform::ShowMessages(read.error().messages);
    return std::nullopt;
}

}  // namespace testing_support
