#include "apps/arrowplan/net_default_set.h"

#include "apps/arrowplan/font_color_choosers.h"

#include "platform/colors.h"
#include "platform/ini_file.h"
#include "platform/qt/fixed_dialog_border.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace arrowplan {

namespace {

using network::TTableTopStyle;

// The integer fields in file order with their captions.
struct IntegerField {
    const char* key;
    int TNetDefaults::*member;
};
constexpr IntegerField kIntegerFields[] = {
    {"SmallLineSpace", &TNetDefaults::SmallLineSpace},
    {"LankLineWidth", &TNetDefaults::LankLineWidth},
    {"LeftLank", &TNetDefaults::LeftLank},
    {"RightLank", &TNetDefaults::RightLank},
    {"TopLank", &TNetDefaults::TopLank},
    {"BottomLank", &TNetDefaults::BottomLank},
    {"NodeRadii", &TNetDefaults::NodeRadii},
    {"ArrowHeight", &TNetDefaults::ArrowHeight},
    {"ArrowWidth", &TNetDefaults::ArrowWidth},
    {"CapInterval", &TNetDefaults::CapInterval},
    {"LineOffset", &TNetDefaults::LineOffset},
    {"IntersectionRadii", &TNetDefaults::IntersectionRadii},
    {"LineWidth", &TNetDefaults::LineWidth},
    {"KeyLineWidth", &TNetDefaults::KeyLineWidth},
    {"SmallWidth", &TNetDefaults::SmallWidth},
    {"SmallDate", &TNetDefaults::SmallDate},
    {"ScheduleInterval", &TNetDefaults::ScheduleInterval},
    {"ScheduleHeight", &TNetDefaults::ScheduleHeight},
    {"DutyWidth", &TNetDefaults::DutyWidth},
    {"DutyHeight", &TNetDefaults::DutyHeight},
};

const char* const kRulerRows[][2] = {{"", "进度标尺"},         {"Year", "年标尺"}, {"Moon", "月标尺"},
                                     {"Period", "旬标尺"},     {"WorkWeek", "周标尺"}, {"Week", "星期标尺"},
                                     {"Day", "日标尺"}};
const char* const kNodeStyles[][2] = {
    {"NodeFontBold", "加粗"}, {"NodeFontItalic", "斜体"}, {"NodeFontUnderLine", "下划线"}, {"NodeFontStrikeOut", "删除线"}};
constexpr platform::TFontStyle kNodeStyleBits[] = {platform::fsBold, platform::fsItalic, platform::fsUnderline,
                                                   platform::fsStrikeOut};

} // namespace

Tfrm_NetdefaultSet::Tfrm_NetdefaultSet(const QString& iniFile, platform::WindowServices& messages, QWidget* parent)
    : QDialog(parent), iniFile_(iniFile), messages_(messages)
{
    platform::UseFixedDialogBorder(*this);
    setWindowTitle(QStringLiteral("网络图缺省设置"));
    ChooseColor = [this](platform::TColor initial) { return ChooseColorDialog(initial, this); };
    ChooseFont = [this](const platform::TFont& initial) { return ChooseFontDialog(initial, this); };

    PageControl1 = new QTabWidget(this);
    PageControl1->addTab(NodePage(), QStringLiteral("节点控制"));
    PageControl1->addTab(WorkPage(), QStringLiteral("工作控制"));
    PageControl1->addTab(RulerPage(), QStringLiteral("标尺控制"));
    PageControl1->addTab(GeneralPage(), QStringLiteral("概  况"));
    PageControl1->addTab(DutyPage(), QStringLiteral("责任栏和说明"));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确认"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (SaveSettings())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addWidget(buttons);
}

QLineEdit* Tfrm_NetdefaultSet::Edit(const QString& key)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(key);
    edit->setMaximumWidth(80);
    Edits[key] = edit;
    return edit;
}

QCheckBox* Tfrm_NetdefaultSet::Check(const QString& key, const QString& caption)
{
    auto* check = new QCheckBox(caption);
    check->setObjectName(key);
    Checks[key] = check;
    return check;
}

QFrame* Tfrm_NetdefaultSet::Swatch(platform::TColor* color)
{
    auto* swatch = new QFrame;
    swatch->setFixedSize(40, 20);
    swatch->setFrameStyle(QFrame::Box);
    swatch->setAutoFillBackground(true);
    refreshers_.push_back([swatch, color] {
        QPalette palette = swatch->palette();
        palette.setColor(QPalette::Window, platform::ToQColor(*color));
        swatch->setPalette(palette);
    });
    return swatch;
}

QWidget* Tfrm_NetdefaultSet::ColorButton(const QString& caption, platform::TColor* color)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* button = new QPushButton(caption);
    layout->addWidget(button);
    layout->addWidget(Swatch(color));
    layout->addStretch();
    connect(button, &QPushButton::clicked, this, [this, color] {
        if (const std::optional<platform::TColor> chosen = ChooseColor(*color)) {
            *color = *chosen;
            ShowValues();
        }
    });
    return row;
}

QWidget* Tfrm_NetdefaultSet::FontButton(const QString& caption, const QString& sample, platform::TFont* font)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* button = new QPushButton(caption);
    auto* label = new QLabel(sample);
    layout->addWidget(button);
    layout->addWidget(label);
    layout->addStretch();
    refreshers_.push_back([label, font] {
        label->setFont(SampleFont(*font));
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, platform::ToQColor(font->Color));
        label->setPalette(palette);
    });
    connect(button, &QPushButton::clicked, this, [this, font] {
        if (const std::optional<platform::TFont> chosen = ChooseFont(*font)) {
            *font = *chosen;
            ShowValues();
        }
    });
    return row;
}

QWidget* Tfrm_NetdefaultSet::NodePage()
{
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("节点半径:"), Edit(QStringLiteral("NodeRadii")));
    auto* group = new QGroupBox(QStringLiteral("节点字体"));
    auto* inner = new QFormLayout(group);
    nodeFontName_ = new QLineEdit;
    nodeFontName_->setObjectName(QStringLiteral("NodeFontName"));
    inner->addRow(QStringLiteral("字体名称:"), nodeFontName_);
    inner->addRow(QStringLiteral("字体大小:"), Edit(QStringLiteral("NodeFontSize")));
    auto* styles = new QHBoxLayout;
    for (const auto& [key, caption] : kNodeStyles)
        styles->addWidget(Check(QString::fromLatin1(key), QString::fromUtf8(caption)));
    inner->addRow(styles);
    inner->addRow(ColorButton(QStringLiteral("字体颜色..."), &values_.NodeFont.Color));
    form->addRow(group);
    return page;
}

QWidget* Tfrm_NetdefaultSet::WorkPage()
{
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("箭头高度:"), Edit(QStringLiteral("ArrowHeight")));
    form->addRow(QStringLiteral("箭头宽度:"), Edit(QStringLiteral("ArrowWidth")));
    form->addRow(QStringLiteral("工作线的宽度:"), Edit(QStringLiteral("LineWidth")));
    form->addRow(QStringLiteral("工作名称距工作线的距离:"), Edit(QStringLiteral("CapInterval")));
    form->addRow(QStringLiteral("关键工作线的宽度:"), Edit(QStringLiteral("KeyLineWidth")));
    form->addRow(QStringLiteral("工作线进出节点线的偏移:"), Edit(QStringLiteral("LineOffset")));
    form->addRow(QStringLiteral("交点半径:"), Edit(QStringLiteral("IntersectionRadii")));
    form->addRow(ColorButton(QStringLiteral("工作线的颜色..."), &values_.LineColor));
    form->addRow(ColorButton(QStringLiteral("关键工作线的颜色..."), &values_.KeyLineColor));
    form->addRow(FontButton(QStringLiteral("工作名称字体..."), QStringLiteral("工作"), &values_.WorkFont));
    return page;
}

QWidget* Tfrm_NetdefaultSet::RulerPage()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    for (const auto& [prefix, title] : {std::pair{"TopStyle", "表头标尺类型"}, std::pair{"BottomStyle", "表底标尺类型"}}) {
        auto* group = new QGroupBox(QString::fromUtf8(title));
        auto* rows = new QVBoxLayout(group);
        for (const auto& [suffix, caption] : kRulerRows)
            rows->addWidget(Check(QString::fromLatin1(prefix) + QLatin1String(suffix), QString::fromUtf8(caption)));
        layout->addWidget(group);
    }
    auto* group = new QGroupBox(QStringLiteral("标尺"));
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("单位标尺宽度:"), Edit(QStringLiteral("SmallWidth")));
    form->addRow(QStringLiteral("单位标尺表示天数:"), Edit(QStringLiteral("SmallDate")));
    form->addRow(QStringLiteral("进度标尺间隔:"), Edit(QStringLiteral("ScheduleInterval")));
    form->addRow(QStringLiteral("标尺高度:"), Edit(QStringLiteral("ScheduleHeight")));
    form->addRow(ColorButton(QStringLiteral("颜色..."), &values_.RulerColor));
    form->addRow(FontButton(QStringLiteral("字体..."), QStringLiteral("工"), &values_.RulerFont));
    layout->addWidget(group);
    return page;
}

QWidget* Tfrm_NetdefaultSet::GeneralPage()
{
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("垂直方向线距:"), Edit(QStringLiteral("SmallLineSpace")));
    form->addRow(QStringLiteral("边界线宽度:"), Edit(QStringLiteral("LankLineWidth")));
    auto* group = new QGroupBox(QStringLiteral("边界宽度"));
    auto* margins = new QFormLayout(group);
    margins->addRow(QStringLiteral("左边界:"), Edit(QStringLiteral("LeftLank")));
    margins->addRow(QStringLiteral("右边界:"), Edit(QStringLiteral("RightLank")));
    margins->addRow(QStringLiteral("下边界:"), Edit(QStringLiteral("BottomLank")));
    margins->addRow(QStringLiteral("上边界:"), Edit(QStringLiteral("TopLank")));
    margins->addRow(new QLabel(QStringLiteral("单位：mm")));
    form->addRow(group);
    form->addRow(FontButton(QStringLiteral("图名字体..."), QStringLiteral("图名"), &values_.CapFont));
    return page;
}

QWidget* Tfrm_NetdefaultSet::DutyPage()
{
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(Check(QStringLiteral("ShowDuty"), QStringLiteral("显示责任栏")));
    form->addRow(QStringLiteral("责任栏宽度:"), Edit(QStringLiteral("DutyWidth")));
    form->addRow(QStringLiteral("责任栏高度:"), Edit(QStringLiteral("DutyHeight")));
    form->addRow(FontButton(QStringLiteral("责任栏字体..."), QStringLiteral("责任栏"), &values_.DutyFont));
    form->addRow(FontButton(QStringLiteral("网络图说明字体..."), QStringLiteral("网络图说明字体"), &values_.NetFont));
    return page;
}

void Tfrm_NetdefaultSet::LoadSettings()
{
    values_ = ReadNetDefaults(platform::IniFile(iniFile_), TNetDefaultsReader::Dialog);
    for (const IntegerField& field : kIntegerFields)
        Edits.at(QString::fromLatin1(field.key))->setText(QString::number(values_.*field.member));
    Edits.at(QStringLiteral("NodeFontSize"))->setText(QString::number(values_.NodeFont.Size));
    nodeFontName_->setText(values_.NodeFont.Name);
    for (int i = 0; i < 4; ++i)
        Checks.at(QString::fromLatin1(kNodeStyles[i][0]))->setChecked(values_.NodeFont.Style & kNodeStyleBits[i]);
    for (const auto& [prefix, set] : {std::pair{"TopStyle", values_.TopStyle}, std::pair{"BottomStyle", values_.BottomStyle}})
        for (int m = 0; m < 7; ++m)
            Checks.at(QString::fromLatin1(prefix) + QLatin1String(kRulerRows[m][0]))->setChecked((set >> m) & 1u);
    Checks.at(QStringLiteral("ShowDuty"))->setChecked(values_.ShowDuty);
    ShowValues();
}

void Tfrm_NetdefaultSet::ShowValues()
{
    for (const std::function<void()>& refresh : refreshers_)
        refresh();
}

std::optional<TNetDefaults> Tfrm_NetdefaultSet::Values()
{
    TNetDefaults values = values_;
    const auto integer = [this](const QString& key) -> std::optional<int> {
        const QString text = Edits.at(key)->text();
        bool ok = false;
        const int value = text.trimmed().toInt(&ok);
        if (!ok) {
            for (int page = 0; page < PageControl1->count(); ++page)
                if (PageControl1->widget(page)->isAncestorOf(Edits.at(key)))
                    PageControl1->setCurrentIndex(page);
            messages_.ShowError(QStringLiteral("'%1' is not a valid integer value").arg(text));
            Edits.at(key)->setFocus();
            return std::nullopt;
        }
        return value;
    };
    for (const IntegerField& field : kIntegerFields) {
        const std::optional<int> value = integer(QString::fromLatin1(field.key));
        if (!value)
            return std::nullopt;
        values.*field.member = *value;
    }
    const std::optional<int> size = integer(QStringLiteral("NodeFontSize"));
    if (!size)
        return std::nullopt;
    values.NodeFont.Size = *size;
    values.NodeFont.Name = nodeFontName_->text();
    values.NodeFont.Style = 0;
    for (int i = 0; i < 4; ++i)
        if (Checks.at(QString::fromLatin1(kNodeStyles[i][0]))->isChecked())
            values.NodeFont.Style = static_cast<platform::TFontStyles>(values.NodeFont.Style | kNodeStyleBits[i]);
    for (auto [prefix, set] : {std::pair{"TopStyle", &values.TopStyle}, std::pair{"BottomStyle", &values.BottomStyle}}) {
        *set = 0;
        for (int m = 0; m < 7; ++m)
            if (Checks.at(QString::fromLatin1(prefix) + QLatin1String(kRulerRows[m][0]))->isChecked())
                *set = static_cast<TTableTopStyle>(*set | (1u << m));
    }
    values.ShowDuty = Checks.at(QStringLiteral("ShowDuty"))->isChecked();
    return values;
}

bool Tfrm_NetdefaultSet::SaveSettings()
{
    const std::optional<TNetDefaults> values = Values();
    if (!values)
        return false;
    if (!SaveNetDefaults(iniFile_, *values)) {
        messages_.ShowError(QStringLiteral("Unable to write to %1").arg(iniFile_));
        return false;
    }
    return true;
}

void ShowNetDefaultSet(const QString& iniFile, platform::WindowServices& messages, QWidget* parent)
{
    Tfrm_NetdefaultSet dialog(iniFile, messages, parent);
    dialog.LoadSettings();
    dialog.exec();
}

} // namespace arrowplan
