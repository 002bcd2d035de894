#include "common/save_prompt.h"

namespace common {

bool CanCloseDocument(platform::WindowServices& messages, bool modified, const QString& question,
                      const std::function<bool()>& save)
{
    if (!modified)
        return true;
    switch (messages.Confirm(question, platform::MessageButton::Yes | platform::MessageButton::No |
                                           platform::MessageButton::Cancel)) {
    case platform::MessageButton::Yes:
        return save();
    case platform::MessageButton::No:
        return true;
    default:
        return false;
    }
}

} // namespace common
