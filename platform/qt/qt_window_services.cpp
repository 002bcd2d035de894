#include "platform/qt/qt_window_services.h"

#include "platform/qt/fixed_dialog_border.h"

#include <QCoreApplication>
#include <QHash>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

namespace platform {

namespace {

QString& TitleOverride()
{
    static QString title;
    return title;
}

QHash<int, QCursor>& RegisteredCursors()
{
    static QHash<int, QCursor> cursors;
    return cursors;
}

Qt::CursorShape StandardShape(int cursorId)
{
    switch (cursorId) {
    case cursor::kCross: return Qt::CrossCursor;
    case cursor::kIBeam: return Qt::IBeamCursor;
    case cursor::kSizeNESW: return Qt::SizeBDiagCursor;
    case cursor::kSizeNS: return Qt::SizeVerCursor;
    case cursor::kSizeNWSE: return Qt::SizeFDiagCursor;
    case cursor::kSizeWE: return Qt::SizeHorCursor;
    case cursor::kHourGlass: return Qt::WaitCursor;
    case cursor::kHandPoint: return Qt::PointingHandCursor;
    case cursor::kSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonText {
    MessageButton button;
    QMessageBox::StandardButton standard;
    const char16_t* text;
};

// In the order the buttons stand in the box; the first one is the default.
constexpr ButtonText kButtons[] = {
    {MessageButton::Yes, QMessageBox::Yes, u"是(&Y)"},
    {MessageButton::No, QMessageBox::No, u"否(&N)"},
    {MessageButton::Ok, QMessageBox::Ok, u"确定"},
    {MessageButton::Cancel, QMessageBox::Cancel, u"取消"},
};

} // namespace

QtWindowServices::QtWindowServices(QWidget* control) : control_(control) {}

void QtWindowServices::SetApplicationTitle(const QString& title)
{
    TitleOverride() = title;
}

QString QtWindowServices::ApplicationTitle()
{
    return TitleOverride().isEmpty() ? QCoreApplication::applicationName() : TitleOverride();
}

void QtWindowServices::RegisterCursor(int cursorId, const QCursor& cursor)
{
    RegisteredCursors().insert(cursorId, cursor);
}

QCursor QtWindowServices::CursorFor(int cursorId)
{
    const auto found = RegisteredCursors().constFind(cursorId);
    if (found != RegisteredCursors().constEnd())
        return *found;
    return QCursor(StandardShape(cursorId));
}

QPoint QtWindowServices::ClampToClip(QPoint point) const
{
    if (clipRect_.isEmpty())
        return point;
    return {std::clamp(point.x(), clipRect_.left(), clipRect_.right()),
            std::clamp(point.y(), clipRect_.top(), clipRect_.bottom())};
}

MessageButton QtWindowServices::MessageBox(const QString& text, MessageIcon icon, MessageButtons buttons,
                                           const QString& title)
{
    if (!buttons)
        buttons = MessageButton::Ok;
    QMessageBox box(BoxIcon(icon), title.isEmpty() ? ApplicationTitle() : title, text, QMessageBox::NoButton,
                    control_ ? control_->window() : nullptr);
    UseFixedDialogBorder(box);
    QPushButton* first = nullptr;
    for (const ButtonText& b : kButtons) {
        if (!buttons.testFlag(b.button))
            continue;
        QPushButton* added = box.addButton(b.standard);
        added->setText(QString::fromUtf16(b.text));
        if (!first)
            first = added;
    }
    box.setDefaultButton(first);
    // Closing the box answers as its most cautious button does.
    MessageButton escape = MessageButton::None;
    for (MessageButton b : {MessageButton::Cancel, MessageButton::No, MessageButton::Ok, MessageButton::Yes}) {
        if (buttons.testFlag(b)) {
            escape = b;
            break;
        }
    }
    for (const ButtonText& b : kButtons)
        if (b.button == escape)
            box.setEscapeButton(b.standard);
    box.exec();
    const QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    for (const ButtonText& b : kButtons)
        if (b.standard == pressed)
            return b.button;
    return escape;
}

void QtWindowServices::SetCursor(int cursorId)
{
    if (!control_)
        return;
    if (cursorId == cursor::kDefault)
        control_->unsetCursor(); // the widget's own, as its parent shows it
    else
        control_->setCursor(CursorFor(cursorId));
}

void QtWindowServices::InvalidateRect(const QRect& rect)
{
    if (control_)
        control_->update(rect.translated(-scrollOffset_));
}

void QtWindowServices::Invalidate()
{
    if (control_)
        control_->update();
}

void QtWindowServices::CaptureMouse()
{
    if (control_ && QWidget::mouseGrabber() != control_)
        control_->grabMouse();
}

void QtWindowServices::ReleaseMouse()
{
    if (control_ && QWidget::mouseGrabber() == control_)
        control_->releaseMouse();
}

void QtWindowServices::ClipCursor(const QRect& rect)
{
    clipRect_ = rect.normalized();
}

} // namespace platform
