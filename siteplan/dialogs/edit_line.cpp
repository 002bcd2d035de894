#include "edit_line.h"

#include "edit_pen_property.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace siteplan {

namespace {

constexpr int LabelMaxLength = 2;

// Typing stops at two characters, but a longer label that is already
// there (read from a file) is neither cut on loading nor allowed to grow:
// the limit follows the text down to two characters.
void LimitLabel(QLineEdit& edit)
{
    edit.setMaxLength(std::max<int>(LabelMaxLength, edit.text().size()));
}

} // namespace

TFrm_EditLine::TFrm_EditLine(QWidget* parent)
    : TFrm_EditProperty(parent), fra_EditPenProperty1(new Tfra_EditPenProperty), Edit1(new QLineEdit)
{
    setWindowTitle(QStringLiteral("线段属性设置"));
    AddTab(QStringLiteral("基本属性"), fra_EditPenProperty1);

    Edit1->setMaxLength(LabelMaxLength);
    connect(Edit1, &QLineEdit::textEdited, Edit1, [this] { LimitLabel(*Edit1); });
    Edit1->setFixedWidth(80);
    auto* other = new QWidget;
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("显示文字：")));
    row->addWidget(Edit1);
    row->addStretch();
    auto* layout = new QVBoxLayout(other);
    layout->addLayout(row);
    layout->addStretch();
    AddTab(QStringLiteral("其他属性"), other);
}

void TFrm_EditLine::LoadFrom(TMapPen& pen, const QString& showWord)
{
    fra_EditPenProperty1->LoadFromPen(pen);
    Edit1->setMaxLength(std::max<int>(LabelMaxLength, showWord.size()));
    Edit1->setText(showWord);
}

void TFrm_EditLine::SaveTo(QString& showWord)
{
    showWord = Edit1->text();
    fra_EditPenProperty1->SaveToPen();
}

bool ExecuteEditLine(TMapPen& pen, QString& showWord)
{
    const auto form = std::make_unique<TFrm_EditLine>(DialogParent());
    form->LoadFrom(pen, showWord);
    if (!ShowModalOk(*form))
        return false;
    form->SaveTo(showWord);
    return true;
}

} // namespace siteplan
