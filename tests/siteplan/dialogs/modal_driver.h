// Drives modal dialogs without a user: WhenModal waits (on the event loop
// the dialog's exec runs) until a modal window other than outer is up and
// then hands it to the action, which edits controls and closes it.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

inline void WhenModal(std::function<void(QWidget&)> action, QWidget* outer = nullptr)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, action, outer, ticks] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == outer) {
            // A dialog that never comes up fails the test instead of hanging it.
            if (++*ticks > 1000) {
                timer->deleteLater();
                timer->stop();
                ADD_FAILURE() << "no modal window appeared";
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        action(*modal);
    });
    timer->start();
}

// WhenModal for a dialog of type T; another modal window fails the test
// and is closed.
template <typename T>
void WhenDialog(std::function<void(T&)> action, QWidget* outer = nullptr)
{
    WhenModal(
        [action](QWidget& modal) {
            if (T* dialog = dynamic_cast<T*>(&modal)) {
                action(*dialog);
                return;
            }
            ADD_FAILURE() << "unexpected modal window " << modal.metaObject()->className();
            modal.close();
        },
        outer);
}

// The texts of the buttons in a dialog's button boxes, in box order.
inline QStringList ButtonTexts(const QWidget& dialog)
{
    QStringList texts;
    for (const QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>())
        for (const QAbstractButton* button : box->buttons())
            texts << button->text();
    return texts;
}
