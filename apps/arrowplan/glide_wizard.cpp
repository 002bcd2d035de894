#include "apps/arrowplan/glide_wizard.h"

#include "platform/qt/fixed_dialog_border.h"
#include "platform/qt/qt_window_services.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace arrowplan {

TUpDownEdit::TUpDownEdit(int minimum, int maximum, int value, bool skipZero, QWidget* parent)
    : QSpinBox(parent), FSkipZero(skipZero)
{
    setRange(minimum, maximum);
    setValue(value);
    lineEdit()->setReadOnly(true);
}

void TUpDownEdit::stepBy(int steps)
{
    int next = std::clamp(value() + steps, minimum(), maximum());
    if (FSkipZero && next == 0)
        next = steps > 0 ? 1 : -1;
    setValue(std::clamp(next, minimum(), maximum()));
}

TFrmGlide::TFrmGlide(platform::WindowServices* messages, QWidget* parent) : QDialog(parent), FMessages(messages)
{
    if (!FMessages) {
        FOwnMessages = std::make_unique<platform::QtWindowServices>(this);
        FMessages = FOwnMessages.get();
    }
    platform::UseFixedDialogBorder(*this);
    setWindowTitle(QStringLiteral("流水参数"));
    setFixedSize(442, 223);

    Edit1 = new TUpDownEdit(2, 100, 5, false);
    Edit2 = new TUpDownEdit(2, 100, 5, false);
    Edit3 = new TUpDownEdit(1, 200, 1, false);
    Edit4 = new TUpDownEdit(-5, 5, 2, true);
    const char* const names[] = {"Edit1", "Edit2", "Edit3", "Edit4"};
    int i = 0;
    for (TUpDownEdit* edit : {Edit1, Edit2, Edit3, Edit4})
        edit->setObjectName(QString::fromLatin1(names[i++]));

    StringGrid1 = new QTableWidget(6, 6);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setDefaultSectionSize(61);
    StringGrid1->verticalHeader()->setDefaultSectionSize(20);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::AllEditTriggers);
    connect(StringGrid1, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!FShowing)
            FCells.SetCell(item->column(), item->row(), item->text());
    });
    connect(Edit1, &QSpinBox::valueChanged, this, [this] { FillDefaults(); });
    connect(Edit2, &QSpinBox::valueChanged, this, [this] { FillDefaults(); });

    auto* group = new QGroupBox(QStringLiteral("流水节拍和施工过程名称"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->setContentsMargins(4, 4, 4, 4);
    groupLayout->addWidget(StringGrid1);

    auto* counts = new QFormLayout;
    counts->addRow(QStringLiteral("施工过程数:"), Edit1);
    counts->addRow(QStringLiteral("施工段数:"), Edit2);
    counts->addRow(QStringLiteral("施工层数:"), Edit3);
    counts->addRow(QStringLiteral("线距:"), Edit4);
    BitBtn1 = new QPushButton(QStringLiteral("确认"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("取消"));
    BitBtn2->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    auto* side = new QVBoxLayout;
    side->addLayout(counts);
    side->addStretch();
    side->addWidget(BitBtn1);
    side->addWidget(BitBtn2);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(side);
    FillDefaults();
}

int TFrmGlide::Processes() const { return Edit1->value(); }
int TFrmGlide::Sections() const { return Edit2->value(); }
int TFrmGlide::Layers() const { return Edit3->value(); }
int TFrmGlide::LineDistance() const { return Edit4->value(); }

network::TVYRNetwork::TGlideTable TFrmGlide::Table() const
{
    return FCells.Table(Processes(), Sections());
}

void TFrmGlide::FillDefaults()
{
    FCells.FillDefaults(Processes(), Sections());
    ShowCells();
}

void TFrmGlide::ShowCells()
{
    FShowing = true;
    StringGrid1->setRowCount(Processes() + 1);
    StringGrid1->setColumnCount(Sections() + 1);
    for (int r = 0; r < StringGrid1->rowCount(); ++r)
        for (int c = 0; c < StringGrid1->columnCount(); ++c) {
            QTableWidgetItem* item = StringGrid1->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                if (r == 0) {
                    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
                    item->setBackground(palette().button());
                }
                StringGrid1->setItem(r, c, item);
            }
            item->setText(FCells.Cell(c, r));
        }
    FShowing = false;
}

void TFrmGlide::BitBtn1Click()
{
    const std::optional<TGlideCells::TRefusal> refusal = FCells.Check(Processes(), Sections());
    ShowCells();
    if (refusal) {
        FMessages->MessageBox(refusal->Message, platform::MessageIcon::Warning, platform::MessageButton::Ok, {});
        StringGrid1->setCurrentCell(refusal->Row, refusal->Column);
        return;
    }
    accept();
}

void TFrmGlide::showEvent(QShowEvent* event)
{
    FillDefaults();
    QDialog::showEvent(event);
}

} // namespace arrowplan
