#include "apps/arrowplan/new_edit_network.h"

#include "apps/arrowplan/font_color_choosers.h"
#include "apps/arrowplan/hint_window.h"

#include "platform/colors.h"
#include "platform/qt/fixed_dialog_border.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace arrowplan {

namespace {

using network::TNodeItem;
using network::TWorkItem;

constexpr int kProjectPage = 0;
constexpr int kWorkPage = 1;
constexpr int kNodePage = 2;

const char* const kRecessDays[][2] = {{"rdSunday", "星期日"},   {"rdSaturday", "星期六"}, {"rdNational", "国庆节"},
                                      {"rdNewyear", "元旦"},    {"rdLabor", "劳动节"}};
const char* const kRulerRows[] = {"进度标尺", "年标尺", "月标尺", "旬标尺", "周标尺", "星期标尺", "日标尺"};
const char* const kNodeStyles[][2] = {
    {"ckbNodeBold", "加粗"}, {"ckbNodeItalic", "斜体"}, {"ckbNodeUnderline", "下划线"}, {"ckbNodeStrikeOut", "删除线"}};
constexpr platform::TFontStyle kNodeStyleBits[] = {platform::fsBold, platform::fsItalic, platform::fsUnderline,
                                                   platform::fsStrikeOut};

std::function<platform::TColor&(TNetworkSettings&)> Member(platform::TColor TNetworkSettings::*member)
{
    return [member](TNetworkSettings& s) -> platform::TColor& { return s.*member; };
}

// The edit of a live combo box, its commit connected before the combo box
// connects its own: the combo box would otherwise take a typed text that
// equals another entry as the choice of that entry.
QLineEdit* LiveLineEdit(QObject* context, std::function<void()> commit)
{
    auto* edit = new QLineEdit;
    QObject::connect(edit, &QLineEdit::editingFinished, context, std::move(commit));
    return edit;
}

QWidget* Page(QLayout* layout)
{
    auto* page = new QWidget;
    page->setLayout(layout);
    return page;
}

} // namespace

TFrmNewEditNetWork::TFrmNewEditNetWork(network::TVYRNetwork& network, platform::WindowServices& messages,
                                       QWidget* parent)
    : QDialog(parent), FNetwork(network), FMessages(messages)
{
    platform::UseFixedDialogBorder(*this);
    setWindowTitle(QStringLiteral("查看、编辑..."));
    ChooseColor = [this](platform::TColor initial) { return ChooseColorDialog(initial, this); };
    ChooseFont = [this](const platform::TFont& initial) { return ChooseFontDialog(initial, this); };

    PageControl1 = new QTabWidget(this);
    PageControl1->addTab(ProjectPage(), QStringLiteral("工程概况"));
    PageControl1->addTab(WorkPage(), QStringLiteral("工作"));
    PageControl1->addTab(NodePage(), QStringLiteral("节点"));
    PageControl1->addTab(DrawingPage(), QStringLiteral("图形控制"));
    PageControl1->addTab(ResourcePage(), QStringLiteral("资源曲线"));

    btnOk = new QPushButton(QStringLiteral("确认"));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("取消"));
    connect(btnOk, &QPushButton::clicked, this, [this] {
        if (CheckFields())
            accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLineEdit* TFrmNewEditNetWork::FieldEdit(const QString& name)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setMinimumWidth(90);
    Fields[name] = edit;
    return edit;
}

QLabel* TFrmNewEditNetWork::Fact(const QString& name)
{
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(90);
    Facts[name] = label;
    return label;
}

QCheckBox* TFrmNewEditNetWork::Check(const QString& name, const QString& caption)
{
    auto* check = new QCheckBox(caption);
    check->setObjectName(name);
    Checks[name] = check;
    return check;
}

QWidget* TFrmNewEditNetWork::ColorButton(const QString& name, const QString& caption,
                                         std::function<platform::TColor&(TNetworkSettings&)> color)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* swatch = new QFrame;
    swatch->setFixedSize(40, 20);
    swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    swatch->setAutoFillBackground(true);
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    Buttons[name] = button;
    layout->addWidget(swatch);
    layout->addWidget(button);
    layout->addStretch();
    FSampleRefreshers.push_back([this, swatch, color] {
        QPalette palette = swatch->palette();
        palette.setColor(QPalette::Window, platform::ToQColor(color(FSettings)));
        swatch->setPalette(palette);
    });
    connect(button, &QPushButton::clicked, this, [this, color] {
        if (const std::optional<platform::TColor> chosen = ChooseColor(color(FSettings))) {
            color(FSettings) = *chosen;
            ShowSamples();
        }
    });
    return row;
}

QWidget* TFrmNewEditNetWork::FontButton(const QString& name, const QString& caption, const QString& sample,
                                        platform::TFont TNetworkSettings::*member)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(sample);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumSize(120, 32);
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    Buttons[name] = button;
    layout->addWidget(label);
    layout->addWidget(button);
    layout->addStretch();
    FSampleRefreshers.push_back([this, label, member] {
        label->setFont(SampleFont(FSettings.*member));
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, platform::ToQColor((FSettings.*member).Color));
        label->setPalette(palette);
    });
    connect(button, &QPushButton::clicked, this, [this, member] {
        if (const std::optional<platform::TFont> chosen = ChooseFont(FSettings.*member)) {
            FSettings.*member = *chosen;
            ShowSamples();
        }
    });
    return row;
}

QWidget* TFrmNewEditNetWork::ProjectPage()
{
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("网络图名称:"), FieldEdit(QStringLiteral("edtCaption")));
    form->addRow(QStringLiteral("开工日期:"), FieldEdit(QStringLiteral("edtStartDate")));
    form->addRow(QStringLiteral("计划工期:"), FieldEdit(QStringLiteral("edtWorkLimit")));
    form->addRow(QStringLiteral("设计工期:"), Fact(QStringLiteral("sttComputeWorkLimit")));
    form->addRow(QStringLiteral("结束日期:"), Fact(QStringLiteral("sttEndDate")));
    auto* group = new QGroupBox(QStringLiteral("休息日设置"));
    auto* days = new QHBoxLayout(group);
    for (const auto& [name, caption] : kRecessDays)
        days->addWidget(Check(QString::fromLatin1(name), QString::fromUtf8(caption)));
    form->addRow(group);
    return Page(form);
}

QWidget* TFrmNewEditNetWork::WorkPage()
{
    auto* grid = new QGridLayout;
    cmbWorkCaption = new QComboBox;
    cmbWorkCaption->setObjectName(QStringLiteral("cmbWorkCaption"));
    cmbWorkCaption->setLineEdit(LiveLineEdit(this, [this] { CommitWorkCaption(); }));
    cmbWorkCaption->setInsertPolicy(QComboBox::NoInsert);
    cmbWorkCaption->installEventFilter(this);
    cmbWorkCaption->lineEdit()->installEventFilter(this);
    connect(cmbWorkCaption, &QComboBox::activated, this, [this](int entry) { ShowWork(entry); });
    auto* inputs = new QFormLayout;
    inputs->addRow(QStringLiteral("工作名称:"), cmbWorkCaption);
    const std::pair<TWorkField, const char*> edits[] = {
        {TWorkField::ContinueTime, "持续时间:"}, {TWorkField::Diapause, "间歇时间:"},
        {TWorkField::ParallelTime, "搭接时间:"}, {TWorkField::Labor, "劳动量:"},
        {TWorkField::Workforce, "工人人数:"}};
    const char* const names[] = {"edtWorkContinueTime", "edtWorkDiapause", "edtWorkParaulleTime", "edtWorkLabor",
                                 "edtWorkWorkForce"};
    int i = 0;
    for (const auto& [field, caption] : edits) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::fromLatin1(names[i++]));
        WorkEdits[field] = edit;
        connect(edit, &QLineEdit::editingFinished, this, [this, f = field] { CommitWorkField(f); });
        inputs->addRow(QString::fromUtf8(caption), edit);
    }
    ckbHorizontalLine = new QCheckBox(QStringLiteral("横向显示工作线"));
    ckbHorizontalLine->setObjectName(QStringLiteral("ckbHorizontalLine"));
    connect(ckbHorizontalLine, &QCheckBox::toggled, this, [this](bool checked) {
        if (FWork && !FFilling && FWork->HorizontalLine() != checked)
            FWork->SetHorizontalLine(checked);
    });
    inputs->addRow(ckbHorizontalLine);
    grid->addLayout(inputs, 0, 0);

    auto* counts = new QFormLayout;
    counts->addRow(QStringLiteral("紧前工作总数:"), Fact(QStringLiteral("sttWorksInto")));
    counts->addRow(QStringLiteral("紧后工作总数:"), Fact(QStringLiteral("sttWorksFrom")));
    counts->addRow(QStringLiteral("开始节点序号:"), Fact(QStringLiteral("sttStartNode")));
    counts->addRow(QStringLiteral("结束节点序号:"), Fact(QStringLiteral("sttEndNode")));
    ckbKeyWork = new QCheckBox(QStringLiteral("关键工作"));
    ckbKeyWork->setObjectName(QStringLiteral("ckbKeyWork"));
    ckbKeyWork->setEnabled(false);
    counts->addRow(ckbKeyWork);
    counts->addRow(QStringLiteral("工作总数:"), Fact(QStringLiteral("sttWorkCount")));
    grid->addLayout(counts, 0, 1);

    auto* times = new QGroupBox(QStringLiteral("工作时间参数"));
    auto* timeGrid = new QFormLayout(times);
    timeGrid->addRow(QStringLiteral("最早开始时间:"), Fact(QStringLiteral("sttES")));
    timeGrid->addRow(QStringLiteral("最迟开始时间:"), Fact(QStringLiteral("sttLS")));
    timeGrid->addRow(QStringLiteral("最早结束时间:"), Fact(QStringLiteral("sttEF")));
    timeGrid->addRow(QStringLiteral("最迟完成时间:"), Fact(QStringLiteral("sttLF")));
    timeGrid->addRow(QStringLiteral("总时差:"), Fact(QStringLiteral("sttTotalFloat")));
    timeGrid->addRow(QStringLiteral("自由时差:"), Fact(QStringLiteral("sttFreeFloat")));
    grid->addWidget(times, 0, 2);
    return Page(grid);
}

QWidget* TFrmNewEditNetWork::NodePage()
{
    auto* grid = new QGridLayout;
    auto* left = new QFormLayout;
    cmbNodeIndex = new QComboBox;
    cmbNodeIndex->setObjectName(QStringLiteral("cmbNodeIndex"));
    cmbNodeIndex->setLineEdit(LiveLineEdit(this, [this] { CommitNodeNumber(); }));
    cmbNodeIndex->setInsertPolicy(QComboBox::NoInsert);
    connect(cmbNodeIndex, &QComboBox::activated, this, [this](int entry) { ShowNode(entry); });
    left->addRow(QStringLiteral("节点编号:"), cmbNodeIndex);
    edtNodeNodeY = new QLineEdit;
    edtNodeNodeY->setObjectName(QStringLiteral("edtNodeNodeY"));
    connect(edtNodeNodeY, &QLineEdit::editingFinished, this, [this] { CommitNodeField(TNodeField::NodeY); });
    left->addRow(QStringLiteral("节点Y坐标:"), edtNodeNodeY);
    edtNodeOffset = new QLineEdit;
    edtNodeOffset->setObjectName(QStringLiteral("edtNodeOffset"));
    connect(edtNodeOffset, &QLineEdit::editingFinished, this, [this] { CommitNodeField(TNodeField::Offset); });
    left->addRow(QStringLiteral("节点偏移量:"), edtNodeOffset);
    left->addRow(QStringLiteral("节点总数:"), Fact(QStringLiteral("sttNodeCount")));
    grid->addLayout(left, 0, 0);

    auto* right = new QFormLayout;
    right->addRow(QStringLiteral("节点的开始工作数:"), Fact(QStringLiteral("sttNodeWorksFrom")));
    right->addRow(QStringLiteral("节点的结束工作数:"), Fact(QStringLiteral("sttNodeWorksInto")));
    right->addRow(QStringLiteral("节点总数:"), Fact(QStringLiteral("sttNodeCount2")));
    auto* times = new QGroupBox(QStringLiteral("节点时间参数"));
    auto* timeForm = new QFormLayout(times);
    timeForm->addRow(QStringLiteral("节点最早时间:"), Fact(QStringLiteral("sttNodeEarliest")));
    timeForm->addRow(QStringLiteral("节点最迟时间:"), Fact(QStringLiteral("sttNodeLatest")));
    right->addRow(times);
    grid->addLayout(right, 0, 1);
    return Page(grid);
}

QWidget* TFrmNewEditNetWork::DrawingPage()
{
    PageControl2 = new QTabWidget;
    PageControl2->addTab(NodeSettingsPage(), QStringLiteral("节点控制"));
    PageControl2->addTab(WorkSettingsPage(), QStringLiteral("工作控制"));
    PageControl2->addTab(RulerPage(), QStringLiteral("标尺控制"));
    PageControl2->addTab(GeneralPage(), QStringLiteral("概况"));
    PageControl2->addTab(DutyPage(), QStringLiteral("责任栏"));
    PageControl2->addTab(NotesPage(), QStringLiteral("网络图说明"));
    auto* layout = new QVBoxLayout;
    layout->addWidget(PageControl2);
    return Page(layout);
}

QWidget* TFrmNewEditNetWork::NodeSettingsPage()
{
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("节点半径:"), FieldEdit(QStringLiteral("edtNodeRadii")));
    auto* group = new QGroupBox(QStringLiteral("节点字体"));
    auto* inner = new QFormLayout(group);
    auto* fontName = new QComboBox;
    fontName->setObjectName(QStringLiteral("cmbNodeFontName"));
    fontName->setEditable(true);
    fontName->setInsertPolicy(QComboBox::NoInsert);
    Fields[fontName->objectName()] = fontName;
    inner->addRow(QStringLiteral("字体名称:"), fontName);
    inner->addRow(QStringLiteral("字体大小:"), FieldEdit(QStringLiteral("edtNodeFontSize")));
    auto* styles = new QHBoxLayout;
    for (const auto& [name, caption] : kNodeStyles)
        styles->addWidget(Check(QString::fromLatin1(name), QString::fromUtf8(caption)));
    inner->addRow(styles);
    inner->addRow(ColorButton(QStringLiteral("NodeFontColor"), QStringLiteral("字体颜色..."),
                                 [](TNetworkSettings& s) -> platform::TColor& { return s.NodeFont.Color; }));
    form->addRow(group);
    return Page(form);
}

QWidget* TFrmNewEditNetWork::WorkSettingsPage()
{
    auto* grid = new QGridLayout;
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("箭头高度:"), FieldEdit(QStringLiteral("edtArrowHeight")));
    form->addRow(QStringLiteral("箭头宽度:"), FieldEdit(QStringLiteral("edtArrowWidth")));
    form->addRow(QStringLiteral("工作线的宽度:"), FieldEdit(QStringLiteral("edtLineWidth")));
    form->addRow(QStringLiteral("工作名称距工作线的距离:"), FieldEdit(QStringLiteral("edtCapInterval")));
    form->addRow(QStringLiteral("关键工作线的宽度:"), FieldEdit(QStringLiteral("edtKeyLineWidth")));
    form->addRow(QStringLiteral("工作线进出节点线的偏移:"), FieldEdit(QStringLiteral("edtLineOffset")));
    form->addRow(QStringLiteral("交点半径:"), FieldEdit(QStringLiteral("edtIntersectionRadii")));
    grid->addLayout(form, 0, 0);
    auto* right = new QVBoxLayout;
    right->addWidget(ColorButton(QStringLiteral("LineColor"), QStringLiteral("工作线的颜色..."), Member(&TNetworkSettings::LineColor)));
    right->addWidget(
        ColorButton(QStringLiteral("KeyLineColor"), QStringLiteral("关键工作线的颜色..."), Member(&TNetworkSettings::KeyLineColor)));
    right->addWidget(
        ColorButton(QStringLiteral("WaveLineColor"), QStringLiteral("波浪线颜色..."), Member(&TNetworkSettings::WaveLineColor)));
    right->addWidget(FontButton(QStringLiteral("WorkFont"), QStringLiteral("工作名称字体..."), QStringLiteral("工作"),
                                &TNetworkSettings::WorkFont));
    auto* position = new QGroupBox(QStringLiteral("工作名称位置"));
    auto* positions = new QHBoxLayout(position);
    rgTextPosition = new QButtonGroup(this);
    const char* const captions[] = {"左对齐", "居中", "右对齐"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(captions[i]));
        rgTextPosition->addButton(radio, i);
        positions->addWidget(radio);
    }
    connect(rgTextPosition, &QButtonGroup::idClicked, this, [this](int id) {
        FNetwork.Works().SetTextPosition(static_cast<std::uint16_t>(id));
    });
    right->addWidget(position);
    right->addStretch();
    grid->addLayout(right, 0, 1);
    return Page(grid);
}

QWidget* TFrmNewEditNetWork::RulerPage()
{
    auto* layout = new QHBoxLayout;
    for (const auto& [prefix, title] : {std::pair{"Top", "表头标尺类型"}, std::pair{"Bottom", "表底标尺类型"}}) {
        auto* group = new QGroupBox(QString::fromUtf8(title));
        auto* rows = new QVBoxLayout(group);
        for (int m = 0; m < 7; ++m)
            rows->addWidget(Check(QString::fromLatin1(prefix) + QString::number(m), QString::fromUtf8(kRulerRows[m])));
        layout->addWidget(group);
    }
    auto* group = new QGroupBox(QStringLiteral("标尺"));
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("单位标尺宽度:"), FieldEdit(QStringLiteral("edtSmallWidth")));
    form->addRow(QStringLiteral("单位标尺表示天数:"), FieldEdit(QStringLiteral("edtSmallDate")));
    form->addRow(QStringLiteral("进度标尺间隔:"), FieldEdit(QStringLiteral("edtScheduleInterval")));
    form->addRow(QStringLiteral("标尺高度:"), FieldEdit(QStringLiteral("edtScheduleHeight")));
    form->addRow(ColorButton(QStringLiteral("RulerLineColor"), QStringLiteral("颜色..."), Member(&TNetworkSettings::RulerLineColor)));
    form->addRow(FontButton(QStringLiteral("RulerFont"), QStringLiteral("字体..."), QStringLiteral("工"),
                            &TNetworkSettings::RulerFont));
    layout->addWidget(group);
    return Page(layout);
}

QWidget* TFrmNewEditNetWork::GeneralPage()
{
    auto* grid = new QGridLayout;
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("垂直方向线距:"), FieldEdit(QStringLiteral("edtSmallLineSpace")));
    form->addRow(QStringLiteral("边界线宽度:"), FieldEdit(QStringLiteral("edtLankLineWidth")));
    auto* group = new QGroupBox(QStringLiteral("边界宽度"));
    auto* margins = new QFormLayout(group);
    margins->addRow(new QLabel(QStringLiteral("单位：mm")));
    margins->addRow(QStringLiteral("左边界:"), FieldEdit(QStringLiteral("edtLeftLank")));
    margins->addRow(QStringLiteral("右边界:"), FieldEdit(QStringLiteral("edtRightLank")));
    margins->addRow(QStringLiteral("下边界:"), FieldEdit(QStringLiteral("edtBottomLank")));
    margins->addRow(QStringLiteral("上边界:"), FieldEdit(QStringLiteral("edtTopLank")));
    form->addRow(group);
    grid->addLayout(form, 0, 0);
    auto* right = new QVBoxLayout;
    right->addWidget(FontButton(QStringLiteral("CapFont"), QStringLiteral("图名字体..."), QStringLiteral("图名"),
                                &TNetworkSettings::CapFont));
    QCheckBox* redFlag = Check(QStringLiteral("ckbShowRedFlag"), QStringLiteral("显示小红旗"));
    connect(redFlag, &QCheckBox::clicked, this, [this](bool checked) { FNetwork.SetShowRedFlag(checked); });
    right->addWidget(redFlag);
    right->addWidget(Check(QStringLiteral("ckbShowDayLine"), QStringLiteral("显示日竖线")));
    right->addWidget(
        ColorButton(QStringLiteral("RedFlagColor"), QStringLiteral("小红旗颜色..."), Member(&TNetworkSettings::RedFlagColor)));
    right->addStretch();
    grid->addLayout(right, 0, 1);
    return Page(grid);
}

QWidget* TFrmNewEditNetWork::DutyPage()
{
    auto* form = new QFormLayout;
    form->addRow(Check(QStringLiteral("ckbShowDuty"), QStringLiteral("显示责任栏")));
    form->addRow(QStringLiteral("责任栏宽度:"), FieldEdit(QStringLiteral("edtDutyWidth")));
    form->addRow(QStringLiteral("责任栏高度:"), FieldEdit(QStringLiteral("edtDutyHeight")));
    form->addRow(QStringLiteral("单位名称:"), FieldEdit(QStringLiteral("edtDutyName")));
    form->addRow(QStringLiteral("总工程师:"), FieldEdit(QStringLiteral("edtDutyEngineer")));
    form->addRow(QStringLiteral("绘图人:"), FieldEdit(QStringLiteral("edtDutyPlot")));
    form->addRow(QStringLiteral("审核人:"), FieldEdit(QStringLiteral("edtDutyAuditing")));
    form->addRow(QStringLiteral("校对人:"), FieldEdit(QStringLiteral("edtDutyCollate")));
    form->addRow(FontButton(QStringLiteral("DutyFont"), QStringLiteral("责任栏字体..."), QStringLiteral("责任栏"),
                            &TNetworkSettings::DutyFont));
    return Page(form);
}

QWidget* TFrmNewEditNetWork::NotesPage()
{
    auto* layout = new QVBoxLayout;
    layout->addWidget(FontButton(QStringLiteral("NetFont"), QStringLiteral("网络图说明字体..."),
                                 QStringLiteral("网络图说明字体"), &TNetworkSettings::NetFont));
    auto* header = new QLabel(QStringLiteral("说          明"));
    header->setAlignment(Qt::AlignCenter);
    layout->addWidget(header);
    auto* memo = new QPlainTextEdit;
    memo->setObjectName(QStringLiteral("memNetText"));
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setTabChangesFocus(false);
    Fields[memo->objectName()] = memo;
    layout->addWidget(memo);
    return Page(layout);
}

QWidget* TFrmNewEditNetWork::ResourcePage()
{
    auto* form = new QFormLayout;
    auto* group = new QGroupBox(QStringLiteral("资源曲线类型"));
    auto* kinds = new QHBoxLayout(group);
    kinds->addWidget(Check(QStringLiteral("rsLabor"), QStringLiteral("劳动量")));
    kinds->addWidget(Check(QStringLiteral("rsWorkforce"), QStringLiteral("工人人数")));
    form->addRow(group);
    form->addRow(ColorButton(QStringLiteral("ResourceColor"), QStringLiteral("资源曲线颜色..."),
                             Member(&TNetworkSettings::ResourceColor)));
    seResourceHeight = new QSpinBox;
    seResourceHeight->setObjectName(QStringLiteral("seResourceHeight"));
    seResourceHeight->setRange(30, 100);
    form->addRow(QStringLiteral("资源曲线高度"), seResourceHeight);
    return Page(form);
}

QString TFrmNewEditNetWork::FieldText(const QString& name) const
{
    QWidget* field = Fields.at(name);
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(field))
        return combo->currentText();
    return static_cast<QPlainTextEdit*>(field)->toPlainText();
}

void TFrmNewEditNetWork::SetFieldText(const QString& name, const QString& text)
{
    QWidget* field = Fields.at(name);
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(field))
        combo->setEditText(text);
    else
        static_cast<QPlainTextEdit*>(field)->setPlainText(text);
}

void TFrmNewEditNetWork::ShowSamples()
{
    for (const std::function<void()>& refresh : FSampleRefreshers)
        refresh();
}

void TFrmNewEditNetWork::Fill(TWorkItem* work, TNodeItem* node)
{
    FFilling = true;
    FSettings = ReadNetworkSettings(FNetwork);
    for (const auto& [name, text] : SettingsFieldTexts(FSettings))
        SetFieldText(name, text);
    Facts.at(QStringLiteral("sttComputeWorkLimit"))->setText(GeneralText(FNetwork.GetTotalTime()));
    Facts.at(QStringLiteral("sttEndDate"))->setText(DateTimeText(FNetwork.EndDate()));
    for (int d = 0; d < 5; ++d)
        Checks.at(QString::fromLatin1(kRecessDays[d][0]))
            ->setChecked(FSettings.RecessDate.Contains(static_cast<network::TRecessDay>(d)));
    for (int i = 0; i < 4; ++i)
        Checks.at(QString::fromLatin1(kNodeStyles[i][0]))->setChecked(FSettings.NodeFont.Style & kNodeStyleBits[i]);
    for (int m = 0; m < 7; ++m) {
        Checks.at(QStringLiteral("Top") + QString::number(m))->setChecked((FSettings.TopStyle >> m) & 1u);
        Checks.at(QStringLiteral("Bottom") + QString::number(m))->setChecked((FSettings.BottomStyle >> m) & 1u);
    }
    if (QAbstractButton* position = rgTextPosition->button(FNetwork.Works().TextPosition()))
        position->setChecked(true);
    Checks.at(QStringLiteral("ckbShowRedFlag"))->setChecked(FNetwork.ShowRedFlag());
    Checks.at(QStringLiteral("ckbShowDayLine"))->setChecked(FSettings.ShowDayLine);
    Checks.at(QStringLiteral("ckbShowDuty"))->setChecked(FSettings.ShowDuty);
    Checks.at(QStringLiteral("rsLabor"))->setChecked(FSettings.ResourceStyle & (1u << network::rsLabor));
    Checks.at(QStringLiteral("rsWorkforce"))->setChecked(FSettings.ResourceStyle & (1u << network::rsWorkforce));
    seResourceHeight->setValue(FSettings.ResourceHeight);
    ShowSamples();

    FillNodeList();
    const auto nodeEntry = std::find(FNodes.begin(), FNodes.end(), node);
    ShowNode(nodeEntry != FNodes.end() ? static_cast<int>(nodeEntry - FNodes.begin()) : (FNodes.empty() ? -1 : 0));
    FillWorkList();
    const auto workEntry = std::find(FWorks.begin(), FWorks.end(), work);
    ShowWork(workEntry != FWorks.end() ? static_cast<int>(workEntry - FWorks.begin()) : (FWorks.empty() ? -1 : 0));
    PageControl1->setTabEnabled(kWorkPage, !FWorks.empty());

    if (work && FWork) {
        PageControl1->setCurrentIndex(kWorkPage);
        cmbWorkCaption->setFocus();
    } else if (node && FNode) {
        PageControl1->setCurrentIndex(kNodePage);
        edtNodeOffset->setFocus();
    } else {
        PageControl1->setCurrentIndex(kProjectPage);
        Fields.at(QStringLiteral("edtCaption"))->setFocus();
    }
    FFilling = false;
}

void TFrmNewEditNetWork::FillWorkList()
{
    FWorks.clear();
    cmbWorkCaption->clear();
    for (int i = 0; i < FNetwork.Works().Count(); ++i) {
        FWorks.push_back(FNetwork.Works().Items(i));
        cmbWorkCaption->addItem(FWorks.back()->Caption());
    }
}

void TFrmNewEditNetWork::FillNodeList()
{
    FNodes.clear();
    cmbNodeIndex->clear();
    for (int i = 0; i < FNetwork.Nodes().Count(); ++i) {
        FNodes.push_back(FNetwork.Nodes().Items(i));
        cmbNodeIndex->addItem(QString::number(FNodes.back()->Number()));
    }
}

void TFrmNewEditNetWork::ShowWork(int entry)
{
    FWork = entry >= 0 && entry < static_cast<int>(FWorks.size()) ? FWorks[static_cast<std::size_t>(entry)] : nullptr;
    if (!FWork)
        return;
    const bool filling = FFilling;
    FFilling = true;
    cmbWorkCaption->setCurrentIndex(entry);
    cmbWorkCaption->setEditText(FWork->Caption());
    for (const auto& [field, edit] : WorkEdits) {
        edit->setText(WorkFieldText(*FWork, field));
        edit->setModified(false);
    }
    ckbHorizontalLine->setChecked(FWork->HorizontalLine());
    const TWorkFacts f = WorkFactsOf(FNetwork, *FWork);
    Facts.at(QStringLiteral("sttWorksInto"))->setText(QString::number(f.WorksInto));
    Facts.at(QStringLiteral("sttWorksFrom"))->setText(QString::number(f.WorksFrom));
    Facts.at(QStringLiteral("sttStartNode"))->setText(QString::number(f.StartPosition));
    Facts.at(QStringLiteral("sttEndNode"))->setText(QString::number(f.EndPosition));
    ckbKeyWork->setChecked(f.Key);
    Facts.at(QStringLiteral("sttWorkCount"))->setText(QString::number(f.WorkCount));
    Facts.at(QStringLiteral("sttES"))->setText(GeneralText(f.EarliestStart));
    Facts.at(QStringLiteral("sttLS"))->setText(GeneralText(f.LatestStart));
    Facts.at(QStringLiteral("sttEF"))->setText(GeneralText(f.EarliestFinish));
    Facts.at(QStringLiteral("sttLF"))->setText(GeneralText(f.LatestFinish));
    Facts.at(QStringLiteral("sttTotalFloat"))->setText(GeneralText(f.TotalFloat));
    Facts.at(QStringLiteral("sttFreeFloat"))->setText(GeneralText(f.FreeFloat));
    FFilling = filling;
}

void TFrmNewEditNetWork::ShowNode(int entry)
{
    FNode = entry >= 0 && entry < static_cast<int>(FNodes.size()) ? FNodes[static_cast<std::size_t>(entry)] : nullptr;
    if (!FNode)
        return;
    cmbNodeIndex->setCurrentIndex(entry);
    edtNodeNodeY->setText(NodeFieldText(*FNode, TNodeField::NodeY));
    edtNodeNodeY->setModified(false);
    edtNodeOffset->setText(NodeFieldText(*FNode, TNodeField::Offset));
    edtNodeOffset->setModified(false);
    const TNodeFacts f = NodeFactsOf(FNetwork, *FNode);
    Facts.at(QStringLiteral("sttNodeWorksFrom"))->setText(QString::number(f.WorksFrom));
    Facts.at(QStringLiteral("sttNodeWorksInto"))->setText(QString::number(f.WorksInto));
    Facts.at(QStringLiteral("sttNodeCount"))->setText(QString::number(f.NodeCount));
    Facts.at(QStringLiteral("sttNodeCount2"))->setText(QString::number(f.NodeCount));
    Facts.at(QStringLiteral("sttNodeEarliest"))->setText(GeneralText(f.Earliest));
    Facts.at(QStringLiteral("sttNodeLatest"))->setText(GeneralText(f.Latest));
}

void TFrmNewEditNetWork::CommitWorkCaption()
{
    if (!FWork || FFilling)
        return;
    const QString text = cmbWorkCaption->currentText();
    if (text == FWork->Caption())
        return;
    if (const std::optional<QString> refusal = SetWorkField(*FWork, TWorkField::Caption, text)) {
        FMessages.ShowError(*refusal);
        return;
    }
    const auto entry = std::find(FWorks.begin(), FWorks.end(), FWork);
    cmbWorkCaption->setItemText(static_cast<int>(entry - FWorks.begin()), FWork->Caption());
}

void TFrmNewEditNetWork::CommitWorkField(TWorkField field)
{
    QLineEdit* edit = WorkEdits.at(field);
    // Reset first: the error box takes the focus, which ends the editing
    // a second time.
    if (!FWork || FFilling || !edit->isModified())
        return;
    edit->setModified(false);
    if (const std::optional<QString> refusal = SetWorkField(*FWork, field, edit->text()))
        FMessages.ShowError(*refusal);
}

void TFrmNewEditNetWork::CommitNodeField(TNodeField field)
{
    QLineEdit* edit = field == TNodeField::NodeY ? edtNodeNodeY : edtNodeOffset;
    if (!FNode || !edit->isModified())
        return;
    edit->setModified(false);
    if (const std::optional<QString> refusal = SetNodeField(FNetwork, *FNode, field, edit->text()))
        FMessages.ShowError(*refusal);
}

void TFrmNewEditNetWork::CommitNodeNumber()
{
    if (!FNode)
        return;
    const QString text = cmbNodeIndex->currentText();
    if (text == NodeFieldText(*FNode, TNodeField::Number))
        return;
    network::TNodeItem* node = FNode;
    if (const std::optional<QString> refusal = SetNodeField(FNetwork, *node, TNodeField::Number, text))
        FMessages.ShowError(*refusal);
    FillNodeList();
    const auto entry = std::find(FNodes.begin(), FNodes.end(), node);
    ShowNode(entry != FNodes.end() ? static_cast<int>(entry - FNodes.begin()) : -1);
}

bool TFrmNewEditNetWork::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == cmbWorkCaption || watched == cmbWorkCaption->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            CommitWorkCaption();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmNewEditNetWork::ReadChecks()
{
    TNetworkSettings& s = FSettings;
    std::uint8_t days = 0;
    for (int d = 0; d < 5; ++d)
        if (Checks.at(QString::fromLatin1(kRecessDays[d][0]))->isChecked())
            days = static_cast<std::uint8_t>(days | (1u << d));
    s.RecessDate = network::TRecessDate::FromBits(days);
    s.NodeFont.Style = 0;
    for (int i = 0; i < 4; ++i)
        if (Checks.at(QString::fromLatin1(kNodeStyles[i][0]))->isChecked())
            s.NodeFont.Style = static_cast<platform::TFontStyles>(s.NodeFont.Style | kNodeStyleBits[i]);
    s.TopStyle = 0;
    s.BottomStyle = 0;
    for (int m = 0; m < 7; ++m) {
        if (Checks.at(QStringLiteral("Top") + QString::number(m))->isChecked())
            s.TopStyle = static_cast<network::TTableTopStyle>(s.TopStyle | (1u << m));
        if (Checks.at(QStringLiteral("Bottom") + QString::number(m))->isChecked())
            s.BottomStyle = static_cast<network::TTableTopStyle>(s.BottomStyle | (1u << m));
    }
    s.ShowDayLine = Checks.at(QStringLiteral("ckbShowDayLine"))->isChecked();
    s.ShowDuty = Checks.at(QStringLiteral("ckbShowDuty"))->isChecked();
    s.ResourceStyle = static_cast<network::TResourceStyle>(
        (Checks.at(QStringLiteral("rsLabor"))->isChecked() ? 1u << network::rsLabor : 0u) |
        (Checks.at(QStringLiteral("rsWorkforce"))->isChecked() ? 1u << network::rsWorkforce : 0u));
    s.ResourceHeight = seResourceHeight->value();
}

void TFrmNewEditNetWork::FocusField(QWidget* field)
{
    for (QTabWidget* pages : {PageControl1, PageControl2})
        for (int page = 0; page < pages->count(); ++page)
            if (pages->widget(page)->isAncestorOf(field))
                pages->setCurrentIndex(page);
    field->setFocus();
}

bool TFrmNewEditNetWork::CheckFields()
{
    TFieldTexts texts;
    for (const QString& name : SettingsFieldNames())
        texts[name] = FieldText(name);
    TNetworkSettings settings = FSettings;
    if (const std::optional<TFieldError> error = ReadSettingsFields(texts, settings)) {
        if (error->Field == QStringLiteral("edtStartDate"))
            FMessages.ShowMessage(error->Message);
        else
            FMessages.ShowError(error->Message);
        FocusField(Fields.at(error->Field));
        return false;
    }
    FSettings = settings;
    ReadChecks();
    return true;
}

int ShowNetworkDialog(network::TVYRNetwork& network, TWorkItem* work, TNodeItem* node,
                      platform::WindowServices& messages, QWidget* parent)
{
    TFrmNewEditNetWork dialog(network, messages, parent);
    dialog.Fill(work, node);
    const int result = dialog.exec();
    if (result == QDialog::Accepted)
        ApplyNetworkSettings(network, dialog.Settings());
    network.Invalidate();
    return result;
}

} // namespace arrowplan
