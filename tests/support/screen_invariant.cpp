#include "screen_invariant.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

namespace screentest {

namespace {

QString FileSafe(QString name)
{
    for (QChar& c : name)
        if (!c.isLetterOrNumber())
            c = QLatin1Char('_');
    return name;
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods)
{
    QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, buttons, mods);
    QApplication::sendEvent(target, &event);
}

} // namespace

ScreenInvariant::ScreenInvariant(QAbstractScrollArea& view, TFreshRender fresh) : FView(view), FFresh(std::move(fresh))
{
    if (!FView.isVisible()) {
        FView.show();
        (void)QTest::qWaitForWindowExposed(FView.window());
    }
    Flush();
}

void ScreenInvariant::Flush() const
{
    // Posted updates become paint events, and the painted backing store
    // reaches the window.
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    // A display server takes a moment to show what the window sent it.
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        QTest::qWait(30);
}

QImage ScreenInvariant::Shown() const
{
    Flush();
    QWidget* viewport = FView.viewport();
    QWidget* top = viewport->window();
    const QPoint at = viewport->mapTo(top, QPoint(0, 0));
    QScreen* screen = top->screen();
    const qreal ratio = top->devicePixelRatioF();
    QPixmap shot = screen->grabWindow(top->winId(), at.x(), at.y(), viewport->width(), viewport->height());
    if (ratio != 1.0)
        shot = shot.scaled(viewport->size());
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
}

testing::AssertionResult ScreenInvariant::Check(const QString& where) const
{
    const QImage shown = Shown();
    return SameImage(shown, FFresh(), where);
}

testing::AssertionResult ScreenInvariant::Run(const TSequence& sequence) const
{
    if (auto start = Check(sequence.Name + QStringLiteral(" at the start")); !start)
        return start;
    int number = 0;
    for (const TStep& step : sequence.Steps) {
        ++number;
        step.Do();
        const QString where = QStringLiteral("%1, step %2 (%3)").arg(sequence.Name).arg(number).arg(step.Name);
        if (auto result = Check(where); !result)
            return result;
    }
    return testing::AssertionSuccess();
}

void ScreenInvariant::Press(QPoint p, Qt::KeyboardModifiers mods) const
{
    FHeld |= Qt::LeftButton;
    SendMouse(FView.viewport(), QEvent::MouseButtonPress, p, Qt::LeftButton, FHeld, mods);
}

void ScreenInvariant::Move(QPoint p) const
{
    SendMouse(FView.viewport(), QEvent::MouseMove, p, Qt::NoButton, FHeld, QGuiApplication::keyboardModifiers());
}

void ScreenInvariant::Release(QPoint p, Qt::KeyboardModifiers mods) const
{
    FHeld &= ~Qt::MouseButtons(Qt::LeftButton);
    SendMouse(FView.viewport(), QEvent::MouseButtonRelease, p, Qt::LeftButton, FHeld, mods);
}

void ScreenInvariant::Click(QPoint p, Qt::KeyboardModifiers mods) const
{
    Press(p, mods);
    Release(p, mods);
}

void ScreenInvariant::DoubleClick(QPoint p) const
{
    Click(p);
    FHeld |= Qt::LeftButton;
    SendMouse(FView.viewport(), QEvent::MouseButtonDblClick, p, Qt::LeftButton, FHeld, Qt::NoModifier);
    Release(p);
}

void ScreenInvariant::Drag(QPoint from, QPoint to) const
{
    Press(from);
    const QPoint d = to - from;
    const int steps = std::max(1, d.manhattanLength() / 20);
    for (int i = 1; i <= steps; ++i)
        SendMouse(FView.viewport(), QEvent::MouseMove, from + d * i / steps, Qt::NoButton, FHeld,
                  Qt::NoModifier);
    Release(to);
}

void ScreenInvariant::Key(Qt::Key key, Qt::KeyboardModifiers mods) const
{
    QTest::keyClick(FView.viewport(), key, mods);
}

void ScreenInvariant::CoverAndUncover(const QRect& area) const
{
    QWidget cover(FView.window(), Qt::Tool | Qt::FramelessWindowHint);
    cover.setAutoFillBackground(true);
    QPalette palette = cover.palette();
    palette.setColor(QPalette::Window, Qt::magenta);
    cover.setPalette(palette);
    cover.setGeometry(QRect(FView.viewport()->mapToGlobal(area.topLeft()), area.size()));
    cover.show();
    Flush();
    cover.hide();
    Flush();
}

testing::AssertionResult SameImage(const QImage& shownImage, const QImage& freshImage, const QString& name)
{
    const QImage shown = shownImage.convertToFormat(QImage::Format_RGB32);
    const QImage fresh = freshImage.convertToFormat(QImage::Format_RGB32);
    if (shown.size() != fresh.size())
        return testing::AssertionFailure() << name.toStdString() << ": the view shows " << shown.width() << " x "
                                           << shown.height() << " pixels, the fresh render has " << fresh.width()
                                           << " x " << fresh.height();
    QImage diff(shown.size(), QImage::Format_RGB32);
    diff.fill(Qt::white);
    int count = 0;
    QPoint first;
    for (int y = 0; y < shown.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(fresh.constScanLine(y));
        for (int x = 0; x < shown.width(); ++x) {
            if ((a[x] & 0xFFFFFFu) == (b[x] & 0xFFFFFFu))
                continue;
            if (count++ == 0)
                first = QPoint(x, y);
            diff.setPixel(x, y, qRgb(255, 0, 0));
        }
    }
    if (count == 0)
        return testing::AssertionSuccess();
    const QDir dir(QDir::current().filePath(QStringLiteral("screen-invariant")));
    QDir().mkpath(dir.path());
    const QString base = dir.filePath(FileSafe(name));
    shown.save(base + QStringLiteral("-shown.png"));
    fresh.save(base + QStringLiteral("-fresh.png"));
    diff.save(base + QStringLiteral("-diff.png"));
    return testing::AssertionFailure() << name.toStdString() << ": " << count << " pixels differ from a fresh render, the first at ("
                                       << first.x() << ", " << first.y() << "): shown #" << std::hex
                                       << (shown.pixel(first) & 0xFFFFFFu) << ", fresh #"
                                       << (fresh.pixel(first) & 0xFFFFFFu) << std::dec << "; pictures in "
                                       << base.toStdString() << "-*.png";
}

} // namespace screentest
