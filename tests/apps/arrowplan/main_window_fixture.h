// A main window over the fake message service and file dialogs, with its
// recent-files list and drawing defaults in a temporary folder, and its
// hint and thumbnail windows.
#pragma once

#include "apps/arrowplan/hint_window.h"
#include "apps/arrowplan/main_window.h"
#include "apps/arrowplan/preview_form.h"

#include "tests/apps/arrowplan/fake_file_dialogs.h"
#include "tests/support/fake_window_services.h"

#include "network/control/vyr_network.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

struct MainWindowFixture : ::testing::Test {
    QTemporaryDir dir;
    FakeWindowServices services;
    FakeNetworkDialogs dialogs;
    arrowplan::TFrmHint hint;
    arrowplan::Tfrm_PreviewForm thumbnail;
    std::unique_ptr<arrowplan::TFrmMain> window;
    // The work and network dialog's calls (work, node) and its answer.
    std::vector<std::pair<network::TWorkItem*, network::TNodeItem*>> networkDialogs;
    bool networkDialogResult = false;

    MainWindowFixture() { CreateWindow(); }
    ~MainWindowFixture() override { window.reset(); }

    void CreateWindow()
    {
        arrowplan::TFrmMainOptions options;
        options.Messages = &services;
        options.Dialogs = &dialogs;
        options.Hint = &hint;
        options.Thumbnail = &thumbnail;
        options.RecentIniFile = PathOf(QStringLiteral("NetOpenFile.Ini"));
        options.DefaultsIniFile = PathOf(QStringLiteral("NetRunInfo.ini"));
        options.NetworkDialog = [this](network::TVYRNetwork&, network::TWorkItem* work, network::TNodeItem* node) {
            networkDialogs.emplace_back(work, node);
            return networkDialogResult;
        };
        window = std::make_unique<arrowplan::TFrmMain>(options);
        window->resize(900, 600);
        window->show();
    }

    QString PathOf(const QString& name) const { return dir.filePath(name); }
    network::TVYRNetwork& Net() const { return *window->Network(); }
    QWidget* View() const { return window->NetworkView(); }

    // Control coordinates of the node with this NewID.
    QPoint NodePoint(int id) const
    {
        return Net().GetNodePosition(Net().Nodes().FindByNewID(id)) + Net().GetOrigin();
    }

    static void SendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                          Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    void Press(QPoint p) const { SendMouse(View(), QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); }
    void MoveHeld(QPoint p) const { SendMouse(View(), QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
    void Release(QPoint p) const { SendMouse(View(), QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }
    void Hover(QPoint p) const { SendMouse(View(), QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
    // Draws a work from the node right by the pixels.
    void DrawWorkFrom(int id, int pixels) const
    {
        const QPoint from = NodePoint(id);
        Press(from);
        MoveHeld(from + QPoint(pixels / 2, 0));
        MoveHeld(from + QPoint(pixels, 0));
        Release(from + QPoint(pixels, 0));
    }
};
