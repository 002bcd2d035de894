#include "platform/gbk_text.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(GbkText, ConvertsBothWays)
{
    const QByteArray songti("\xCB\xCE\xCC\xE5", 4);
    EXPECT_EQ(ToGbk(QStringLiteral("宋体")), songti);
    EXPECT_EQ(FromGbk(songti), QStringLiteral("宋体"));
    EXPECT_EQ(FromGbk(QByteArrayView("abc")), QStringLiteral("abc"));
}

TEST(GbkText, UndecodableBytesNeitherCrashNorChangeOnWriteBack)
{
    const QByteArray broken("\xCB\xCE\x81", 3); // a trailing half character
    const StoredText text = StoredText::FromBytes(broken);
    EXPECT_FALSE(text.Text().isEmpty());
    StoredText copy = text;
    copy.SetText(copy.Text()); // the same text: bytes stay as read
    EXPECT_EQ(copy.Bytes(), broken);
    copy.SetText(QStringLiteral("宋体"));
    EXPECT_EQ(copy.Bytes(), QByteArray("\xCB\xCE\xCC\xE5", 4));
    // A half character left at the end of one text never joins the next.
    const QString first = FromGbk(broken);
    EXPECT_EQ(FromGbk(QByteArrayView("\xCC\xE5", 2)), QStringLiteral("体"));
    EXPECT_EQ(FromGbk(QByteArrayView("@", 1)), QStringLiteral("@"));
    EXPECT_EQ(FromGbk(broken), first);
}
