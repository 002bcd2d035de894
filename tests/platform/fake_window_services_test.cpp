#include "tests/support/fake_window_services.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(FakeWindowServices, AnswersPromptsInOrderAndPlainBoxesAtOnce)
{
    FakeWindowServices services;
    services.QueueAnswer(MessageButton::No);
    services.QueueAnswer(MessageButton::Cancel);
    services.ShowMessage(QStringLiteral("线段太多"));
    EXPECT_EQ(services.Confirm(QStringLiteral("a"), MessageButton::Yes | MessageButton::No), MessageButton::No);
    EXPECT_EQ(services.MessageBox(QStringLiteral("b"), MessageIcon::Warning, MessageButton::Ok | MessageButton::Cancel,
                                  QStringLiteral("t")),
              MessageButton::Cancel);
    EXPECT_EQ(services.MessageTexts(), QStringList({"线段太多", "a", "b"}));
    EXPECT_EQ(services.messages[0].answer, MessageButton::Ok);
    EXPECT_EQ(services.messages[2].title, QStringLiteral("t"));
    EXPECT_EQ(services.messages[2].icon, MessageIcon::Warning);
}
