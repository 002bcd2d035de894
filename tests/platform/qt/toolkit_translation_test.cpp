#include "platform/qt/toolkit_translation.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QLabel>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

// The toolkit's dialogs speak Chinese once the translation is installed;
// the install script puts the translation files on the machine.
TEST(ToolkitTranslation, ColourDialogLabelsAreChinese)
{
    ASSERT_TRUE(platform::InstallToolkitTranslation());
    EXPECT_NE(QCoreApplication::translate("QColorDialog", "&Basic colors"), QStringLiteral("&Basic colors"));

    QColorDialog dialog;
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_FALSE(labels.contains(QStringLiteral("&Basic colors"))) << labels.join(u'|').toStdString();
    EXPECT_FALSE(labels.contains(QStringLiteral("&Custom colors"))) << labels.join(u'|').toStdString();
}

} // namespace
