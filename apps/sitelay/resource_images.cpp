#include "apps/sitelay/resource_images.h"

#include "platform/qt/qt_window_services.h"
#include "platform/window_services.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace sitelay {

QPixmap ResourceBitmap(const QString& name)
{
    if (name.isEmpty())
        return {};
    return QPixmap(QStringLiteral(":/sitelay/") + name);
}

void RegisterProgramCursors()
{
    struct Entry {
        int id;
        const char* name;
        QPoint hotSpot;
    };
    const Entry entries[] = {
        {platform::cursor::kDrawMap, "DRAWMAP", {7, 7}},
        {platform::cursor::kZoomIn, "ZOOMIN", {5, 5}},
        {platform::cursor::kZoomOut, "ZOOMOUT", {5, 5}},
        {platform::cursor::kRevolver, "REVOLVER", {7, 7}},
    };
    for (const Entry& e : entries) {
        const QPixmap picture = ResourceBitmap(QString::fromLatin1(e.name));
        if (!picture.isNull())
            platform::QtWindowServices::RegisterCursor(e.id, QCursor(picture, e.hotSpot.x(), e.hotSpot.y()));
    }
}

namespace {

QIcon Drawn(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    draw(painter);
    return QIcon(pixmap);
}

void Letter(QPainter& p, const QString& text, bool bold = false)
{
    QFont font = p.font();
    font.setPixelSize(13);
    font.setBold(bold);
    p.setFont(font);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, text);
}

} // namespace

QPixmap ProgramPicture()
{
    // A sheet with a grid, a site boundary and a tower crane on it.
    QPixmap picture(65, 57);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(2, 2, 60, 52);
    p.setPen(QPen(QColor(200, 200, 200), 1, Qt::DashLine));
    for (int x = 12; x < 62; x += 10)
        p.drawLine(x, 3, x, 53);
    for (int y = 12; y < 54; y += 10)
        p.drawLine(3, y, 61, y);
    p.setPen(QPen(QColor(0, 0, 160), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygon({{8, 48}, {8, 20}, {30, 10}, {56, 18}, {56, 48}, {8, 48}}));
    p.setPen(QPen(QColor(200, 60, 0), 2));
    p.drawLine(24, 46, 24, 16);
    p.drawLine(14, 18, 50, 18);
    p.drawLine(44, 18, 44, 30);
    return picture;
}

QIcon ToolIcon(int drawKind)
{
    switch (drawKind) {
    case 0: // select: an arrow
        return Drawn([](QPainter& p) {
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygon({{4, 1}, {4, 13}, {7, 10}, {10, 15}, {12, 14}, {9, 9}, {13, 9}}));
        });
    case 1:
        return Drawn([](QPainter& p) { p.drawPolyline(QPolygon({{1, 13}, {5, 4}, {10, 11}, {14, 2}})); });
    case 2:
        return Drawn([](QPainter& p) { p.drawEllipse(1, 3, 13, 9); });
    case 3:
        return Drawn([](QPainter& p) { p.drawRect(1, 3, 13, 9); });
    case 4:
        return Drawn([](QPainter& p) { p.drawRoundedRect(1, 3, 13, 9, 4, 4); });
    case 5:
        return Drawn([](QPainter& p) {
            QPainterPath path({1, 13});
            path.cubicTo(3, 0, 12, 16, 14, 2);
            p.drawPath(path);
        });
    case 6:
        return Drawn([](QPainter& p) { p.drawPolygon(QPolygon({{2, 13}, {1, 5}, {8, 1}, {14, 6}, {11, 14}})); });
    case 7:
        return Drawn([](QPainter& p) { Letter(p, QStringLiteral("A"), true); });
    case 8:
        return Drawn([](QPainter& p) {
            p.drawRect(1, 2, 13, 11);
            p.drawPolyline(QPolygon({{2, 12}, {6, 7}, {9, 10}, {11, 8}, {14, 12}}));
            p.drawEllipse(10, 4, 2, 2);
        });
    case 9:
        return Drawn([](QPainter& p) { p.drawArc(1, 2, 13, 13, 0, 180 * 16); });
    case 10:
        return Drawn([](QPainter& p) {
            QPainterPath path({1, 8});
            path.quadTo(4, 1, 8, 8);
            path.quadTo(12, 15, 15, 8);
            p.drawPath(path);
        });
    case 100: // tower crane
        return Drawn([](QPainter& p) {
            p.drawLine(5, 15, 5, 2);
            p.drawLine(1, 3, 15, 3);
            p.drawLine(5, 2, 12, 3);
            p.drawLine(12, 3, 12, 9);
            p.drawLine(2, 15, 8, 15);
        });
    case 101: // enclosure wall
        return Drawn([](QPainter& p) {
            p.drawPolyline(QPolygon({{1, 12}, {1, 4}, {14, 4}, {14, 12}}));
            for (int x = 3; x < 14; x += 3)
                p.drawLine(x, 4, x, 1);
        });
    default:
        return Drawn([](QPainter& p) { p.drawRect(3, 3, 9, 9); });
    }
}

QIcon CommandIcon(CommandGlyph glyph)
{
    switch (glyph) {
    case CommandGlyph::New:
        return Drawn([](QPainter& p) {
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygon({{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}}));
        });
    case CommandGlyph::Open:
        return Drawn([](QPainter& p) {
            p.setBrush(QColor(240, 210, 120));
            p.drawPolygon(QPolygon({{1, 4}, {6, 4}, {7, 5}, {14, 5}, {14, 13}, {1, 13}}));
        });
    case CommandGlyph::Save:
        return Drawn([](QPainter& p) {
            p.setBrush(QColor(90, 110, 170));
            p.drawRect(1, 1, 13, 13);
            p.setBrush(Qt::white);
            p.drawRect(4, 1, 7, 5);
        });
    case CommandGlyph::Close:
        return Drawn([](QPainter& p) {
            p.setPen(QPen(QColor(160, 0, 0), 2));
            p.drawLine(3, 3, 12, 12);
            p.drawLine(12, 3, 3, 12);
        });
    case CommandGlyph::Redraw:
        return Drawn([](QPainter& p) {
            p.drawArc(2, 2, 11, 11, 30 * 16, 300 * 16);
            p.drawPolyline(QPolygon({{10, 1}, {12, 4}, {9, 5}}));
        });
    case CommandGlyph::ZoomIn:
        return QIcon(ResourceBitmap(QStringLiteral("ZOOMIN")).copy(0, 0, 16, 16));
    case CommandGlyph::ZoomOut:
        return QIcon(ResourceBitmap(QStringLiteral("ZOOMOUT")).copy(0, 0, 16, 16));
    case CommandGlyph::Zoom100:
        return Drawn([](QPainter& p) { Letter(p, QStringLiteral("1:1")); });
    case CommandGlyph::Properties:
        return Drawn([](QPainter& p) {
            p.drawRect(2, 2, 11, 11);
            for (int y = 5; y < 12; y += 3)
                p.drawLine(4, y, 11, y);
        });
    case CommandGlyph::Help:
        return Drawn([](QPainter& p) { Letter(p, QStringLiteral("?"), true); });
    case CommandGlyph::Portrait:
        return Drawn([](QPainter& p) {
            p.setBrush(Qt::white);
            p.drawRect(4, 1, 8, 13);
        });
    case CommandGlyph::Landscape:
        return Drawn([](QPainter& p) {
            p.setBrush(Qt::white);
            p.drawRect(1, 4, 13, 8);
        });
    case CommandGlyph::Copy:
        return Drawn([](QPainter& p) {
            p.setBrush(Qt::white);
            p.drawRect(1, 1, 8, 10);
            p.drawRect(6, 5, 8, 10);
        });
    case CommandGlyph::Cut:
        return Drawn([](QPainter& p) {
            p.drawLine(4, 1, 10, 10);
            p.drawLine(11, 1, 5, 10);
            p.drawEllipse(2, 10, 4, 4);
            p.drawEllipse(9, 10, 4, 4);
        });
    case CommandGlyph::Paste:
        return Drawn([](QPainter& p) {
            p.setBrush(QColor(200, 160, 100));
            p.drawRect(2, 2, 11, 12);
            p.setBrush(Qt::white);
            p.drawRect(5, 5, 8, 9);
        });
    case CommandGlyph::Color:
        return Drawn([](QPainter& p) {
            p.setBrush(QColor(200, 0, 0));
            p.drawRect(1, 9, 4, 5);
            p.setBrush(QColor(0, 160, 0));
            p.drawRect(6, 9, 4, 5);
            p.setBrush(QColor(0, 0, 200));
            p.drawRect(11, 9, 4, 5);
        });
    }
    return {};
}

} // namespace sitelay
