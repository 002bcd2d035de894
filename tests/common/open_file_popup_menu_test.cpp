#include "common/open_file_popup_menu.h"

#include "platform/ini_file.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using common::TQOpenFilePopupMenu;

namespace {

QStringList Texts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts.append(action->text());
    return texts;
}

TEST(OpenFilePopupMenu, ListsEntriesAndLeavesOpeningToTheHost)
{
    const QTemporaryDir dir;
    const QString ini = dir.filePath("OpenPlaneMap.Ini");
    {
        auto menu = std::make_unique<TQOpenFilePopupMenu>();
        menu->SetIniFileName(ini);
        menu->SetCurFileName("/d/A.Plm");
        menu->SetCurFileName("/d/B.Plm");
        menu->SetCurFileName("/d/C.Plm");
        ASSERT_EQ(Texts(*menu), QStringList({"&0 /d/B.Plm", "&1 /d/A.Plm"}));

        // A pick that fails to open leaves C current and the list as it was.
        QStringList picked;
        QObject::connect(menu.get(), &TQOpenFilePopupMenu::ClickItem, [&](const QString& name) { picked.append(name); });
        menu->actions().at(1)->trigger();
        EXPECT_EQ(picked, QStringList{"/d/A.Plm"});
        EXPECT_EQ(menu->CurFileName(), "/d/C.Plm");
        EXPECT_EQ(Texts(*menu), QStringList({"&0 /d/B.Plm", "&1 /d/A.Plm"}));

        // A host that opened the file makes it current from inside the pick.
        QObject::connect(menu.get(), &TQOpenFilePopupMenu::ClickItem,
                         [&](const QString& name) { menu->SetCurFileName(name); });
        menu->actions().at(0)->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(menu->CurFileName(), "/d/B.Plm");
        EXPECT_EQ(Texts(*menu), QStringList({"&0 /d/C.Plm", "&1 /d/A.Plm"}));
    }
    // Destroying the menu wrote the list.
    const platform::IniFile written(ini);
    EXPECT_EQ(written.ReadString("OpenFile", "File0", {}), "/d/B.Plm");
    EXPECT_EQ(written.ReadString("OpenFile", "File1", {}), "/d/C.Plm");
    EXPECT_EQ(written.ReadString("OpenFile", "File2", {}), "/d/A.Plm");
    EXPECT_TRUE(written.ValueExists("OpenFile", "File4"));
}

} // namespace
