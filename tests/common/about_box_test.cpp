#include "common/about_box.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using common::AboutBoxContent;
using common::TAboutBox;

TEST(AboutBox, ShowsTheProgramsTextsAndClosesWithOk)
{
    struct Case {
        AboutBoxContent content;
        const char* name;
        const char* version;
        const char* shot;
    };
    const Case cases[] = {
        {AboutBoxContent::Sitelay(), "朔衡zevavev", "版本 V1.5", "about_sitelay.png"},
        {AboutBoxContent::Arrowplan(), "dodiridezu", "版本 V3.0", "about_arrowplan.png"},
    };
    QDir().mkpath(SCREENSHOT_DIR);
    for (const Case& c : cases) {
        TAboutBox box(c.content);
        EXPECT_EQ(box.windowTitle(), QStringLiteral("关于系统..."));
        EXPECT_EQ(box.size(), QSize(358, 182));
        EXPECT_EQ(box.ProductName()->text(), QString::fromUtf8(c.name));
        EXPECT_EQ(box.Version()->text(), QString::fromUtf8(c.version));
        EXPECT_EQ(box.ProductName()->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        EXPECT_TRUE(box.OKButton()->isDefault());
        EXPECT_TRUE(box.grab().save(QString(SCREENSHOT_DIR) + "/" + c.shot));
        box.show();
        box.OKButton()->click();
        EXPECT_EQ(box.result(), QDialog::Accepted);
        EXPECT_FALSE(box.isVisible());
    }
}
