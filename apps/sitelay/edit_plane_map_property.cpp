#include "apps/sitelay/edit_plane_map_property.h"

#include "siteplan/dialogs/edit_pen_property.h"
#include "siteplan/map_rect.h"
#include "siteplan/plane_map.h"

#include "platform/colors.h"
#include "platform/fonts.h"
#include "platform/qt/fixed_dialog_border.h"
#include "platform/window_services.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace sitelay {

namespace {

// The zoom-in command is offered below 1000 % and multiplies by 1.5, so the
// window never shows a plan at 1500 % or more.
constexpr int kLargestZoom = 1500;
constexpr int kMinMargin = 7;
constexpr int kMaxMargin = 100;

// Longest sheet side in mm whose pixels at the largest zoom stay within the
// screen coordinates the plan computes with.
std::int64_t LargestSide(int pixelsPerInch)
{
    return static_cast<std::int64_t>(siteplan::ScreenLimit * 25.4 * 100 / (static_cast<double>(pixelsPerInch) * kLargestZoom));
}

// Largest N of the scale 1 : N at which every point of a sheet side of
// `side` mm has a site coordinate (0.1 mm) within int32.
std::int64_t LargestScale(std::int64_t side)
{
    return std::numeric_limits<std::int32_t>::max() / (10 * std::max<std::int64_t>(side, 1));
}

enum class TNumberText { Empty, NotDigits, TooLong, Ok };

// A field of the digits 0 to 9 only; more than 18 digits exceed every
// limit here (and int64).
TNumberText ParseCount(const QString& text, std::int64_t& value)
{
    if (text.isEmpty())
        return TNumberText::Empty;
    if (!std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return TNumberText::NotDigits;
    if (text.size() > 18)
        return TNumberText::TooLong;
    value = text.toLongLong();
    return TNumberText::Ok;
}

QLineEdit* ReadOnlyZero(QWidget* parent)
{
    auto* edit = new QLineEdit(QStringLiteral("0"), parent);
    edit->setReadOnly(true);
    return edit;
}

siteplan::TUpDown* MarginUpDown(QWidget* parent, int x, int y)
{
    auto* upDown = new siteplan::TUpDown(parent);
    upDown->setRange(kMinMargin, kMaxMargin);
    upDown->SetPosition(15);
    upDown->setGeometry(x, y, 50, 22);
    return upDown;
}

} // namespace

int PaperSizeItem(int planmapSize)
{
    return planmapSize >= 0 && planmapSize < kCustomPaperItem ? planmapSize : kCustomPaperItem;
}

struct Tfrm_EditPlaneMapProperty::TSheet {
    int PlanmapSize = 0;
    int Orientation = 0;
    int MapScale = 0;
    int LeftMargin = 0;
    int TopMargin = 0;
    int RightMargin = 0;
    int BottomMargin = 0;
    int MapWidth = 0;
    int MapHeight = 0;
};

Tfrm_EditPlaneMapProperty::Tfrm_EditPlaneMapProperty(platform::WindowServices& messages, QWidget* parent)
    : QDialog(parent), FMessages(messages)
{
    platform::InstallFontSubstitutes();
    platform::UseFixedDialogBorder(*this);
    setWindowTitle(QStringLiteral("平面图属性"));
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    setFont(font);
    setFixedSize(460, 281);

    auto* pages = new QTabWidget(this);
    pages->setGeometry(6, 6, 448, 234);
    auto* page = new QWidget;
    pages->addTab(page, QStringLiteral("基本属性"));
    const auto label = [](const QString& text, QWidget* parent, int x, int y) {
        auto* l = new QLabel(text, parent);
        l->move(x, y);
        return l;
    };

    label(QStringLiteral("图纸尺寸："), page, 8, 12);
    cmb_PlanmapSize = new QComboBox(page);
    cmb_PlanmapSize->addItems({QStringLiteral("A0 1189 * 841 mm"), QStringLiteral("A1  841 * 594 mm"),
                               QStringLiteral("A2  594 * 420 mm"), QStringLiteral("A3  420 * 297 mm"),
                               QStringLiteral("A4  297 * 210 mm"), QStringLiteral("自定义纸张尺寸...")});
    cmb_PlanmapSize->setGeometry(84, 8, 140, 22);
    label(QStringLiteral("图纸宽度："), page, 8, 42);
    edt_MapWidth = new QLineEdit(page);
    edt_MapWidth->setGeometry(84, 38, 80, 22);
    label(QStringLiteral("（毫米）"), page, 168, 42);
    label(QStringLiteral("图纸高度："), page, 8, 70);
    edt_MapHeight = new QLineEdit(page);
    edt_MapHeight->setGeometry(84, 66, 80, 22);
    label(QStringLiteral("（毫米）"), page, 168, 70);
    label(QStringLiteral("图纸比例尺："), page, 8, 98);
    edt_MapScale = new QLineEdit(page);
    edt_MapScale->setGeometry(84, 94, 80, 22);
    for (QLineEdit* edit : {edt_MapWidth, edt_MapHeight, edt_MapScale})
        edit->installEventFilter(this);
    label(QStringLiteral("图纸定位点位置：图纸左上角"), page, 8, 128);
    label(QStringLiteral("定位点X坐标："), page, 8, 154);
    ReadOnlyZero(page)->setGeometry(96, 150, 68, 22);
    label(QStringLiteral("定位点Y坐标："), page, 8, 182);
    ReadOnlyZero(page)->setGeometry(96, 178, 68, 22);

    auto* orientation = new QGroupBox(QStringLiteral("图纸方向"), page);
    orientation->setGeometry(236, 2, 196, 48);
    rgp_Orientation = new QButtonGroup(this);
    int x = 16;
    for (const QString& caption : {QStringLiteral("纵向"), QStringLiteral("横向")}) {
        auto* button = new QRadioButton(caption, orientation);
        button->move(x, 22);
        rgp_Orientation->addButton(button, static_cast<int>(rgp_Orientation->buttons().size()));
        x += 92;
    }

    auto* margins = new QGroupBox(QStringLiteral("图纸边界"), page);
    margins->setGeometry(236, 54, 196, 148);
    ud_TopMargin = MarginUpDown(margins, 73, 20);
    label(QStringLiteral("上边界"), margins, 80, 46);
    ud_LeftMargin = MarginUpDown(margins, 8, 64);
    label(QStringLiteral("左边界"), margins, 62, 68);
    label(QStringLiteral("右边界"), margins, 100, 68);
    ud_RightMargin = MarginUpDown(margins, 138, 64);
    label(QStringLiteral("下边界"), margins, 80, 90);
    ud_BottomMargin = MarginUpDown(margins, 73, 108);
    label(QStringLiteral("单位：毫米"), margins, 130, 130);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("确认"), this);
    BitBtn1->setGeometry(290, 248, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("取消"), this);
    BitBtn2->setGeometry(375, 248, 75, 25);

    connect(cmb_PlanmapSize, &QComboBox::activated, this, &Tfrm_EditPlaneMapProperty::cmb_PlanmapSizeClick);
    connect(BitBtn1, &QPushButton::clicked, this, &Tfrm_EditPlaneMapProperty::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void Tfrm_EditPlaneMapProperty::LoadFromMap(siteplan::TPlaneMap& map)
{
    FPlaneMap = &map;
    const int sizeItem = PaperSizeItem(map.PlanmapSize());
    cmb_PlanmapSize->setCurrentIndex(sizeItem);
    const int orientation = std::clamp(static_cast<int>(map.Orientation()), 0, 1);
    rgp_Orientation->button(orientation)->setChecked(true);
    edt_MapScale->setText(QString::number(map.MapScale()));
    ud_LeftMargin->SetPosition(map.LeftMargin());
    ud_TopMargin->SetPosition(map.TopMargin());
    ud_RightMargin->SetPosition(map.RightMargin());
    ud_BottomMargin->SetPosition(map.BottomMargin());
    edt_MapWidth->setText(QString::number(map.MapWidth()));
    edt_MapHeight->setText(QString::number(map.MapHeight()));
    SetSizeReadOnly(sizeItem < kCustomPaperItem);
}

void Tfrm_EditPlaneMapProperty::SetSizeReadOnly(bool readOnly)
{
    for (QLineEdit* edit : {edt_MapWidth, edt_MapHeight}) {
        edit->setReadOnly(readOnly);
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, platform::ToQColor(readOnly ? platform::clBtnFace : platform::clWindow));
        edit->setPalette(palette);
    }
}

void Tfrm_EditPlaneMapProperty::cmb_PlanmapSizeClick(int index)
{
    SetSizeReadOnly(index < kCustomPaperItem);
    int width = 0;
    int height = 0;
    if (siteplan::TPlaneMap::GetPaperSize(index, width, height)) {
        edt_MapWidth->setText(QString::number(width));
        edt_MapHeight->setText(QString::number(height));
    }
    if (!edt_MapWidth->isReadOnly())
        edt_MapWidth->setFocus();
}

bool Tfrm_EditPlaneMapProperty::Refuse(QLineEdit* field, const QString& message)
{
    FMessages.ShowMessage(message);
    field->setFocus();
    field->selectAll();
    return false;
}

bool Tfrm_EditPlaneMapProperty::ReadFields(TSheet& sheet)
{
    if (!FPlaneMap)
        return false;
    sheet.PlanmapSize = cmb_PlanmapSize->currentIndex();
    sheet.Orientation = std::max(rgp_Orientation->checkedId(), 0);
    sheet.LeftMargin = ud_LeftMargin->Position();
    sheet.TopMargin = ud_TopMargin->Position();
    sheet.RightMargin = ud_RightMargin->Position();
    sheet.BottomMargin = ud_BottomMargin->Position();
    const bool landscape = sheet.Orientation == static_cast<int>(siteplan::TPrinterOrientation::poLandscape);
    const std::int64_t largestSide = LargestSide(FPlaneMap->PixelsPerInch());

    // The sides the plan will have: the typed ones for a custom sheet, the
    // table's for another A size, the plan's own when its size stays.
    std::int64_t width = FPlaneMap->MapWidth();
    std::int64_t height = FPlaneMap->MapHeight();
    const auto readSide = [&](QLineEdit* field, const QString& name, std::int64_t& side) {
        switch (ParseCount(field->text(), side)) {
        case TNumberText::Empty:
            return Refuse(field, QStringLiteral("请输入%1。").arg(name));
        case TNumberText::NotDigits:
            return Refuse(field, QStringLiteral("%1只能由数字组成（单位：毫米）。").arg(name));
        case TNumberText::TooLong:
            side = std::numeric_limits<std::int64_t>::max();
            break;
        case TNumberText::Ok:
            break;
        }
        return true;
    };
    if (sheet.PlanmapSize == kCustomPaperItem) {
        if (!readSide(edt_MapWidth, QStringLiteral("图纸宽度"), width) ||
            !readSide(edt_MapHeight, QStringLiteral("图纸高度"), height))
            return false;
    } else if (sheet.PlanmapSize != FPlaneMap->PlanmapSize()) {
        int w = 0;
        int h = 0;
        siteplan::TPlaneMap::GetPaperSize(sheet.PlanmapSize, w, h);
        width = w;
        height = h;
    }

    // The paper's width runs across the screen upright and down it turned.
    const auto checkSide = [&](QLineEdit* field, const QString& name, std::int64_t side, bool across) {
        if (side > largestSide)
            return Refuse(field, QStringLiteral("%1不能超过 %2 毫米。").arg(name).arg(largestSide));
        const int margins = across ? sheet.LeftMargin + sheet.RightMargin : sheet.TopMargin + sheet.BottomMargin;
        if (side <= margins)
            return Refuse(field, QStringLiteral("%1必须大于%2边界之和（%3 毫米）。")
                                     .arg(name, across ? QStringLiteral("左右") : QStringLiteral("上下"))
                                     .arg(margins));
        return true;
    };
    if (!checkSide(edt_MapWidth, QStringLiteral("图纸宽度"), width, !landscape) ||
        !checkSide(edt_MapHeight, QStringLiteral("图纸高度"), height, landscape))
        return false;
    sheet.MapWidth = static_cast<int>(width);
    sheet.MapHeight = static_cast<int>(height);

    std::int64_t scale = 0;
    switch (ParseCount(edt_MapScale->text(), scale)) {
    case TNumberText::Empty:
        return Refuse(edt_MapScale, QStringLiteral("请输入图纸比例尺。"));
    case TNumberText::NotDigits:
        return Refuse(edt_MapScale, QStringLiteral("图纸比例尺只能由数字组成。"));
    case TNumberText::TooLong:
        scale = std::numeric_limits<std::int64_t>::max();
        break;
    case TNumberText::Ok:
        break;
    }
    if (scale == 0)
        return Refuse(edt_MapScale, QStringLiteral("图纸比例尺必须大于 0。"));
    const std::int64_t largestScale = LargestScale(std::max(width, height));
    if (scale > largestScale)
        return Refuse(edt_MapScale, QStringLiteral("图纸比例尺不能超过 %1：比例尺再大，图纸上的工地坐标就超出了程序能表示的范围。")
                                        .arg(largestScale));
    sheet.MapScale = static_cast<int>(scale);
    return true;
}

void Tfrm_EditPlaneMapProperty::BitBtn1Click()
{
    TSheet sheet;
    if (ReadFields(sheet))
        accept();
}

bool Tfrm_EditPlaneMapProperty::ApplyToMap()
{
    TSheet sheet;
    if (!ReadFields(sheet))
        return false;
    siteplan::TPlaneMap& map = *FPlaneMap;
    map.SetPlanmapSize(sheet.PlanmapSize);
    map.SetOrientation(static_cast<siteplan::TPrinterOrientation>(sheet.Orientation));
    map.SetMapScale(sheet.MapScale);
    map.SetLeftMargin(sheet.LeftMargin);
    map.SetTopMargin(sheet.TopMargin);
    map.SetRightMargin(sheet.RightMargin);
    map.SetBottomMargin(sheet.BottomMargin);
    if (map.PlanmapSize() == kCustomPaperItem) {
        map.SetMapWidth(sheet.MapWidth);
        map.SetMapHeight(sheet.MapHeight);
    }
    return true;
}

bool Tfrm_EditPlaneMapProperty::eventFilter(QObject* watched, QEvent* event)
{
    // The number fields take digits; other printable characters are
    // dropped with a beep. Control characters pass, so that Backspace, the
    // edit's shortcuts and the dialog's Enter, Escape and Tab still work.
    if (event->type() == QEvent::KeyPress &&
        (watched == edt_MapWidth || watched == edt_MapHeight || watched == edt_MapScale)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool control = key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
        if (!control && !text.isEmpty() && text.front().unicode() >= 32 &&
            !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
            QApplication::beep();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool ExecutePlaneMapProperty(siteplan::TPlaneMap& map, platform::WindowServices& messages, QWidget* parent)
{
    Tfrm_EditPlaneMapProperty dialog(messages, parent ? parent->window() : nullptr);
    dialog.LoadFromMap(map);
    if (const QScreen* screen = dialog.screen())
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return dialog.ApplyToMap();
}

} // namespace sitelay
