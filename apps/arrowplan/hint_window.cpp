#include "apps/arrowplan/hint_window.h"

#include <QPainter>

namespace arrowplan {

namespace {

constexpr QRgb kTeal = 0x008080;
// The smallest pixel size a cell's text is shrunk to.
constexpr int kMinTextPixels = 6;
const char* const kLabels[] = {"工作持续时间", "开始节点序号", "工作开始日期", "工作结束日期"};

} // namespace

QString GeneralFloatText(double value)
{
    return QString::number(value, 'g', 15);
}

TFrmHint::TFrmHint(QWidget* parent) : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(10);
    setFont(font);
    resize(260, 44);
}

void TFrmHint::ShowHintAt(int x, int y)
{
    move(x, y);
    show();
}

void TFrmHint::SetValues(int startNodePosition, double duration, double startDate, double endDate)
{
    values_[0] = GeneralFloatText(duration);
    values_[1] = QString::number(startNodePosition);
    values_[2] = DateTimeText(startDate);
    values_[3] = DateTimeText(endDate);
    update();
}

QRect TFrmHint::CellRect(int index, int w, int h)
{
    const int row = index / 4;
    const int column = index % 4;
    const int lefts[] = {0, w / 4 + 10, w / 2, w / 4 + w / 2 + 10};
    const int rights[] = {w / 4 + 10, w / 2 - 1, w / 4 + w / 2 + 10, w - 1};
    const int top = row == 0 ? 0 : h / 2;
    const int bottom = row == 0 ? h / 2 - 1 : h - 1;
    return QRect(QPoint(lefts[column], top), QPoint(rights[column], bottom));
}

QString TFrmHint::CellText(int index) const
{
    const int pair = (index / 4) * 2 + (index % 4) / 2;
    return index % 2 == 0 ? QString::fromUtf8(kLabels[pair]) : values_[pair];
}

QStringList TFrmHint::CellLines(int index) const
{
    const QString text = CellText(index);
    const qsizetype space = text.indexOf(QLatin1Char(' '));
    // The frame takes a pixel on each side.
    const int room = CellRect(index, width(), height()).width() - 2;
    if (space < 0 || QFontMetrics(font()).horizontalAdvance(text) <= room)
        return {text};
    return {text.left(space), text.mid(space + 1)};
}

QFont TFrmHint::CellFont(int index) const
{
    const QStringList lines = CellLines(index);
    const QRect cell = CellRect(index, width(), height());
    QFont cellFont = font();
    const auto fits = [&] {
        const QFontMetrics metrics(cellFont);
        if (lines.size() > 1 && lines.size() * metrics.height() > cell.height() - 1)
            return false;
        for (const QString& line : lines)
            if (metrics.horizontalAdvance(line) > cell.width() - 2)
                return false;
        return true;
    };
    while (cellFont.pixelSize() > kMinTextPixels && !fits())
        cellFont.setPixelSize(cellFont.pixelSize() - 1);
    return cellFont;
}

void TFrmHint::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int i = 0; i < 8; ++i) {
        const QRect cell = CellRect(i, width(), height());
        painter.fillRect(cell, QColor(kTeal));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setFont(CellFont(i));
        painter.drawText(cell, Qt::AlignCenter, CellLines(i).join(QLatin1Char('\n')));
        painter.setPen(Qt::black);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
    }
}

} // namespace arrowplan
