#include "tests/support/fake_window_services.h"

#include <gtest/gtest.h>

using platform::MessageButton;
using platform::MessageButtons;

namespace {

// The answer of a box closed without a choice.
MessageButton EscapeAnswer(MessageButtons buttons)
{
    if (buttons.testFlag(MessageButton::Cancel))
        return MessageButton::Cancel;
    if (buttons.testFlag(MessageButton::No))
        return MessageButton::No;
    return MessageButton::Ok;
}

bool HasOneButton(MessageButtons buttons)
{
    const unsigned bits = buttons.toInt();
    return (bits & (bits - 1)) == 0;
}

} // namespace

FakeWindowServices::~FakeWindowServices()
{
    if (!answers_.empty())
        ADD_FAILURE() << answers_.size() << " queued answer(s) were never asked for";
}

QStringList FakeWindowServices::MessageTexts() const
{
    QStringList texts;
    for (const Message& m : messages)
        texts.append(m.text);
    return texts;
}

MessageButton FakeWindowServices::MessageBox(const QString& text, platform::MessageIcon icon,
                                             MessageButtons buttons, const QString& title)
{
    if (!buttons)
        buttons = MessageButton::Ok;
    MessageButton answer = EscapeAnswer(buttons);
    if (HasOneButton(buttons)) {
        answer = static_cast<MessageButton>(buttons.toInt());
    } else if (answers_.empty()) {
        ADD_FAILURE() << "unexpected prompt: " << text.toStdString();
    } else {
        answer = answers_.front();
        answers_.pop_front();
        if (!buttons.testFlag(answer))
            ADD_FAILURE() << "the prompt does not offer the queued answer: " << text.toStdString();
    }
    messages.push_back({text, title, icon, buttons, answer});
    return answer;
}

void FakeWindowServices::CaptureMouse()
{
    captured = true;
    ++captureCount;
}

void FakeWindowServices::ReleaseMouse()
{
    captured = false;
}
