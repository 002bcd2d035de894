#include "platform/qt/qt_window_services.h"

#include <QApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// Runs `act` on the message box once it is shown, then returns what the box
// returned to its caller.
MessageButton AnswerBox(QtWindowServices& services, MessageButtons buttons, const QString& title,
                        const std::function<void(QMessageBox&)>& act)
{
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(*box);
    });
    return services.MessageBox(QStringLiteral("要保存吗？"), MessageIcon::Question, buttons, title);
}

TEST(QtWindowServices, MessageBoxReturnsThePressedButton)
{
    QWidget control;
    QtWindowServices services(&control);
    QtWindowServices::SetApplicationTitle(QStringLiteral("Arrowplan"));

    QString caption;
    QString defaultText;
    const MessageButton pressed = AnswerBox(services, MessageButton::Yes | MessageButton::No | MessageButton::Cancel, {},
                                            [&](QMessageBox& box) {
                                                caption = box.windowTitle();
                                                defaultText = box.defaultButton()->text();
                                                box.button(QMessageBox::No)->click();
                                            });
    EXPECT_EQ(pressed, MessageButton::No);
    EXPECT_EQ(caption, QStringLiteral("Arrowplan"));
    EXPECT_EQ(defaultText, QStringLiteral("是(&Y)"));

    // Closing a box without Cancel answers No; a given title replaces the
    // application title.
    const MessageButton closed = AnswerBox(services, MessageButton::Yes | MessageButton::No, QStringLiteral("标题"),
                                           [&](QMessageBox& box) {
                                               caption = box.windowTitle();
                                               box.close();
                                           });
    EXPECT_EQ(closed, MessageButton::No);
    EXPECT_EQ(caption, QStringLiteral("标题"));
    QtWindowServices::SetApplicationTitle({});
}

TEST(QtWindowServices, CursorNumbersShowTheirShapes)
{
    QWidget control;
    QtWindowServices services(&control);
    const std::pair<int, Qt::CursorShape> cases[] = {
        {cursor::kDefault, Qt::ArrowCursor},      {cursor::kArrow, Qt::ArrowCursor},
        {cursor::kCross, Qt::CrossCursor},        {cursor::kSizeNESW, Qt::SizeBDiagCursor},
        {cursor::kSizeNS, Qt::SizeVerCursor},     {cursor::kSizeNWSE, Qt::SizeFDiagCursor},
        {cursor::kSizeWE, Qt::SizeHorCursor},     {cursor::kHandPoint, Qt::PointingHandCursor},
        {cursor::kSizeAll, Qt::SizeAllCursor},    {cursor::kZoomIn, Qt::ArrowCursor}, // not registered
        {12345, Qt::ArrowCursor},
    };
    for (const auto& [id, shape] : cases) {
        services.SetCursor(id);
        EXPECT_EQ(control.cursor().shape(), shape) << id;
    }
    QPixmap picture(32, 32);
    picture.fill(Qt::red);
    QtWindowServices::RegisterCursor(cursor::kDrawMap, QCursor(picture, 0, 0));
    services.SetCursor(cursor::kDrawMap);
    EXPECT_EQ(control.cursor().shape(), Qt::BitmapCursor);
}

TEST(QtWindowServices, ClampsPositionsToTheClipRectangle)
{
    QWidget control;
    QtWindowServices services(&control);
    EXPECT_EQ(services.ClampToClip({-50, 900}), QPoint(-50, 900)); // nothing clipped yet
    services.ClipCursor(QRect(QPoint(10, 20), QPoint(109, 219)));
    EXPECT_EQ(services.ClampToClip({-50, 900}), QPoint(10, 219));
    EXPECT_EQ(services.ClampToClip({50, 60}), QPoint(50, 60));
    services.ClipCursor(QRect());
    EXPECT_EQ(services.ClampToClip({500, 500}), QPoint(500, 500));
}

TEST(QtWindowServices, OutlivedControlIsIgnored)
{
    auto control = std::make_unique<QWidget>();
    QtWindowServices services(control.get());
    control.reset();
    services.SetCursor(cursor::kCross);
    services.InvalidateRect(QRect(0, 0, 10, 10));
    services.CaptureMouse();
    services.ReleaseMouse();
}

} // namespace
