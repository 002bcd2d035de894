// The window services of a control hosted in a Qt widget. Message boxes are
// QMessageBox windows over the widget's window with the application title
// as caption; cursors are set on the widget.
//
// Qt cannot confine the real mouse pointer, so ClipCursor only records the
// rectangle: the host passes every mouse position of the control through
// ClampToClip before handing it on, which gives the control the positions
// it would see with a confined pointer.
#pragma once

#include "platform/window_services.h"

#include <QCursor>
#include <QPoint>
#include <QPointer>
#include <QWidget>

namespace platform {

class QtWindowServices : public WindowServices {
public:
    // The widget is not owned; the services do nothing once it is gone.
    explicit QtWindowServices(QWidget* control);

    // Caption of every message box; the application name until set.
    static void SetApplicationTitle(const QString& title);
    static QString ApplicationTitle();

    // The programs' own cursors (numbers 100 to 103) come from their
    // resources and are registered once at start-up; an unregistered or
    // unknown number shows the arrow.
    static void RegisterCursor(int cursorId, const QCursor& cursor);
    static QCursor CursorFor(int cursorId);

    // Control coordinates of the widget's top-left pixel (the scroll
    // position); rectangles to repaint are moved by it.
    void SetScrollOffset(QPoint offset) { scrollOffset_ = offset; }

    const QRect& ClipRect() const { return clipRect_; }
    QPoint ClampToClip(QPoint point) const;

    MessageButton MessageBox(const QString& text, MessageIcon icon, MessageButtons buttons,
                             const QString& title) override;
    void SetCursor(int cursorId) override;
    void InvalidateRect(const QRect& rect) override;
    void Invalidate() override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    void ClipCursor(const QRect& rect) override;

private:
    QPointer<QWidget> control_;
    QPoint scrollOffset_;
    QRect clipRect_;
};

} // namespace platform
