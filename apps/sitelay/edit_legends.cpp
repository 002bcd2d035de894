#include "apps/sitelay/edit_legends.h"

#include "apps/sitelay/add_legend.h"
#include "apps/sitelay/legend_prompts.h"
#include "apps/sitelay/main_window.h"

#include "siteplan/legends/legend_files.h"
#include "siteplan/legends/legend_palette.h"

#include "platform/qt/fixed_dialog_border.h"
#include "platform/window_services.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace sitelay {

namespace {

const QString AllPages = QString::fromUtf16(kAllPages);

QStringList PageNames(const legends::TLegendFiles& library)
{
    QStringList names;
    for (int i = 0; i < library.Pages.Count(); ++i)
        names.append(library.Pages.Text(i));
    return names;
}

// The row of the page with exactly this name, or -1.
int RowOf(const QListWidget& list, const QString& name)
{
    for (int row = 0; row < list.count(); ++row)
        if (list.item(row)->text() == name)
            return row;
    return -1;
}

QIcon ImageIcon(const QImage& image)
{
    // White is the images' transparent colour.
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(pixmap.createMaskFromColor(QColor(Qt::white), Qt::MaskInColor));
    return QIcon(pixmap);
}

} // namespace

Tfrm_EditLegends::Tfrm_EditLegends(platform::WindowServices& messages, TLegendPrompts& prompts, QWidget* parent)
    : QDialog(parent), FMessages(messages), FPrompts(prompts)
{
    platform::UseFixedDialogBorder(*this);
    setWindowTitle(ApplicationTitle());
    QFont dialogFont(QStringLiteral("宋体"));
    dialogFont.setPixelSize(12);
    setFont(dialogFont);
    setFixedSize(457, 399);

    auto* tabs = new QTabWidget(this);
    tabs->setGeometry(8, 8, 441, 345);
    auto* page = new QWidget(tabs);
    tabs->addTab(page, QStringLiteral("图例"));

    auto* pagesLabel = new QLabel(QStringLiteral("页："), page);
    pagesLabel->setGeometry(8, 6, 100, 16);
    ltb_Pages = new QListWidget(page);
    ltb_Pages->setGeometry(8, 24, 113, 248);
    ltb_Pages->setAcceptDrops(true);
    ltb_Pages->viewport()->installEventFilter(this);
    ltb_Pages->installEventFilter(this);

    auto* legendsLabel = new QLabel(QStringLiteral("图例："), page);
    legendsLabel->setGeometry(128, 6, 100, 16);
    ltb_Legends = new QTreeWidget(page);
    ltb_Legends->setGeometry(128, 24, 297, 248);
    ltb_Legends->setColumnCount(3);
    ltb_Legends->setHeaderLabels({QStringLiteral("图例名称"), QStringLiteral("所在页"), QStringLiteral("显示")});
    ltb_Legends->header()->setStretchLastSection(false);
    ltb_Legends->setColumnWidth(0, 170);
    ltb_Legends->setColumnWidth(1, 50);
    ltb_Legends->setColumnWidth(2, 40);
    ltb_Legends->setRootIsDecorated(false);
    ltb_Legends->setIconSize(QSize(16, 16));
    ltb_Legends->setSelectionMode(QAbstractItemView::SingleSelection);
    ltb_Legends->setDragEnabled(true);
    ltb_Legends->setDragDropMode(QAbstractItemView::DragOnly);
    ltb_Legends->installEventFilter(this);

    const auto addButton = [page](const QString& caption, int left) {
        auto* button = new QToolButton(page);
        button->setText(caption);
        button->setGeometry(left, 284, 78, 25);
        // The buttons leave the focus in the list they act on.
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    SpeedButton1 = addButton(QStringLiteral("增加..."), 8);
    SpeedButton2 = addButton(QStringLiteral("删除"), 92);
    SpeedButton3 = addButton(QStringLiteral("重命名..."), 176);
    SpeedButton4 = addButton(QStringLiteral("向上移动"), 260);
    SpeedButton5 = addButton(QStringLiteral("向下移动"), 344);

    auto* ok = new QPushButton(QStringLiteral("确认"), this);
    ok->setGeometry(286, 364, 75, 25);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setGeometry(372, 364, 75, 25);
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(SpeedButton1, &QToolButton::clicked, this, &Tfrm_EditLegends::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &Tfrm_EditLegends::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &Tfrm_EditLegends::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &Tfrm_EditLegends::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &Tfrm_EditLegends::SpeedButton5Click);
    connect(ltb_Pages, &QListWidget::currentRowChanged, this, [this] {
        FPagesActive = true;
        ltb_PagesClick();
    });
    connect(ltb_Legends, &QTreeWidget::itemSelectionChanged, this, [this] {
        FPagesActive = false;
        ltb_LegendsClick();
    });
    ltb_Pages->setFocus();
}

bool Tfrm_EditLegends::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && FLegendFiles) {
        if (watched == ltb_Pages) {
            FPagesActive = true;
            ltb_PagesClick();
        } else if (watched == ltb_Legends) {
            FPagesActive = false;
            ltb_LegendsClick();
        }
    }
    if (watched == ltb_Pages->viewport()) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            const int row = ltb_Pages->indexAt(drag->position().toPoint()).row();
            if (drag->source() == ltb_Legends && ltb_PagesDragOver(row))
                drag->acceptProposedAction();
            else if (event->type() == QEvent::DragEnter && drag->source() == ltb_Legends)
                drag->accept(); // over no row yet: moves are still to come
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const int row = ltb_Pages->indexAt(drop->position().toPoint()).row();
            if (drop->source() == ltb_Legends && ltb_PagesDragOver(row)) {
                // The copy action: the source list keeps its entries itself.
                drop->setDropAction(Qt::CopyAction);
                drop->accept();
                ltb_PagesDragDrop(row);
            } else {
                drop->ignore();
            }
            return true;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrm_EditLegends::LoadLibrary(legends::TLegendFiles& library)
{
    FLegendFiles = &library;
    imglst_Legends.clear();
    for (int i = 0; i < library.Legends.Count(); ++i)
        imglst_Legends.push_back(legends::LegendImage(library.Legends.Items(i).Picture()));
    FillPages();
    if (ltb_Pages->count() > 0) {
        const QSignalBlocker blocker(ltb_Pages);
        ltb_Pages->setCurrentRow(0);
    }
    ltb_PagesClick();
}

void Tfrm_EditLegends::FillPages()
{
    const QSignalBlocker blocker(ltb_Pages);
    ltb_Pages->clear();
    ltb_Pages->addItems(PageNames(*FLegendFiles));
    ltb_Pages->addItem(AllPages);
}

int Tfrm_EditLegends::LegendIndexOf(const QTreeWidgetItem* entry)
{
    return entry->data(0, Qt::UserRole).toInt();
}

void Tfrm_EditLegends::SetEntryColumns(QTreeWidgetItem* entry, const legends::TLegendItem& legend) const
{
    const int index = legend.Index();
    entry->setText(0, legend.MapHint());
    entry->setText(1, legend.ShowPanel());
    entry->setText(2, legend.Visible() ? QStringLiteral("是") : QStringLiteral("否"));
    entry->setData(0, Qt::UserRole, index);
    if (index >= 0 && index < static_cast<int>(imglst_Legends.size()))
        entry->setIcon(0, ImageIcon(imglst_Legends[static_cast<std::size_t>(index)]));
}

void Tfrm_EditLegends::ShowPageLegends(const QString& pageName)
{
    const QSignalBlocker blocker(ltb_Legends);
    ltb_Legends->clear();
    const bool all = pageName == AllPages;
    for (int i = 0; i < FLegendFiles->Legends.Count(); ++i) {
        const legends::TLegendItem& legend = FLegendFiles->Legends.Items(i);
        if (all || legend.ShowPanel() == pageName)
            SetEntryColumns(new QTreeWidgetItem(ltb_Legends), legend);
    }
}

int Tfrm_EditLegends::UpdateLegendImage(const legends::TLegendItem& legend)
{
    const int index = legend.Index();
    const QImage image = legends::LegendImage(legend.Picture());
    if (index < static_cast<int>(imglst_Legends.size()))
        imglst_Legends[static_cast<std::size_t>(index)] = image;
    else
        imglst_Legends.insert(imglst_Legends.begin() + index, image);
    return index;
}

QString Tfrm_EditLegends::SelectedPageName() const
{
    const QListWidgetItem* item = ltb_Pages->currentItem();
    return item ? item->text() : QString();
}

bool Tfrm_EditLegends::RealPageSelected() const
{
    const int row = ltb_Pages->currentRow();
    return row >= 0 && row < ltb_Pages->count() - 1;
}

void Tfrm_EditLegends::ltb_PagesClick()
{
    if (!FLegendFiles)
        return;
    SpeedButton2->setText(QStringLiteral("删除"));
    SpeedButton3->setText(QStringLiteral("重命名..."));
    const int row = ltb_Pages->currentRow();
    const int count = ltb_Pages->count();
    SpeedButton2->setEnabled(RealPageSelected());
    SpeedButton3->setEnabled(RealPageSelected());
    SpeedButton4->setEnabled(row >= 1 && row != count - 1);
    SpeedButton5->setEnabled(row >= 0 && row < count - 2);
    if (row >= 0)
        ShowPageLegends(ltb_Pages->item(row)->text());
}

void Tfrm_EditLegends::ltb_LegendsClick()
{
    if (!FLegendFiles)
        return;
    SpeedButton2->setText(QStringLiteral("删除"));
    SpeedButton3->setText(QStringLiteral("编辑..."));
    QTreeWidgetItem* entry = ltb_Legends->currentItem();
    const bool selected = entry && entry->isSelected();
    const int row = selected ? ltb_Legends->indexOfTopLevelItem(entry) : -1;
    SpeedButton2->setEnabled(selected);
    SpeedButton3->setEnabled(selected);
    SpeedButton4->setEnabled(selected && row > 0);
    SpeedButton5->setEnabled(selected && row < ltb_Legends->topLevelItemCount() - 1);
}

bool Tfrm_EditLegends::EditLegend(legends::TLegendItem& legend)
{
    return ExecuteAddLegend(PageNames(*FLegendFiles), legend, FMessages, FPrompts, this);
}

void Tfrm_EditLegends::SpeedButton1Click()
{
    if (!FLegendFiles)
        return;
    if (FPagesActive) {
        const std::optional<QString> answer = FPrompts.InputText(this, QStringLiteral("新页名称"), QString());
        const QString name = answer ? answer->trimmed() : QString();
        if (name.isEmpty())
            return;
        if (!StorableText(name)) {
            FMessages.ShowError(QStringLiteral("页名称中有图例库无法保存的字符，请修改。"));
            return;
        }
        int row = RowOf(*ltb_Pages, name);
        if (row < 0) {
            row = ltb_Pages->count() - 1;
            const QSignalBlocker blocker(ltb_Pages);
            ltb_Pages->insertItem(row, name);
            FLegendFiles->Pages.Append(name);
        }
        {
            const QSignalBlocker blocker(ltb_Pages);
            ltb_Pages->setCurrentRow(row);
        }
        ltb_PagesClick();
        return;
    }
    legends::TLegendItem& legend = FLegendFiles->Legends.Add();
    if (EditLegend(legend)) {
        UpdateLegendImage(legend);
        ltb_PagesClick();
    } else {
        FLegendFiles->DeleteLegend(legend.Index());
    }
}

void Tfrm_EditLegends::SpeedButton2Click()
{
    if (!FLegendFiles)
        return;
    if (FPagesActive && RealPageSelected()) {
        if (FMessages.MessageBox(QStringLiteral("你真的要删除当前页以及其中的所有图例吗，注意删除是不可恢复的！"),
                                 platform::MessageIcon::Error, platform::MessageButton::Ok | platform::MessageButton::No,
                                 {}) != platform::MessageButton::Ok)
            return;
        const int row = ltb_Pages->currentRow();
        const QString name = SelectedPageName();
        for (int i = FLegendFiles->Legends.Count() - 1; i >= 0; --i)
            if (FLegendFiles->Legends.Items(i).ShowPanel() == name)
                imglst_Legends.erase(imglst_Legends.begin() + i);
        FLegendFiles->DeletePage(name);
        FillPages();
        {
            const QSignalBlocker blocker(ltb_Pages);
            ltb_Pages->setCurrentRow(std::min(row, ltb_Pages->count() - 1));
        }
        ltb_PagesClick();
        return;
    }
    if (FPagesActive)
        return;
    QTreeWidgetItem* entry = ltb_Legends->currentItem();
    if (!entry || !entry->isSelected())
        return;
    if (FMessages.MessageBox(QStringLiteral("你真的要删除当前图例吗，注意删除是不可恢复的！"), platform::MessageIcon::Error,
                             platform::MessageButton::Ok | platform::MessageButton::No, {}) != platform::MessageButton::Ok)
        return;
    const int index = LegendIndexOf(entry);
    delete entry;
    imglst_Legends.erase(imglst_Legends.begin() + index);
    FLegendFiles->DeleteLegend(index);
    ltb_PagesClick();
}

void Tfrm_EditLegends::SpeedButton3Click()
{
    if (!FLegendFiles)
        return;
    if (FPagesActive) {
        if (!RealPageSelected())
            return;
        const int row = ltb_Pages->currentRow();
        const QString oldName = SelectedPageName();
        const std::optional<QString> answer = FPrompts.InputText(this, QStringLiteral("新页名称"), oldName);
        const QString name = answer ? answer->trimmed() : QString();
        if (name.isEmpty() || RowOf(*ltb_Pages, name) >= 0)
            return;
        if (!StorableText(name)) {
            FMessages.ShowError(QStringLiteral("页名称中有图例库无法保存的字符，请修改。"));
            return;
        }
        ltb_Pages->item(row)->setText(name);
        FLegendFiles->Pages.Lines[row].SetText(name);
        FLegendFiles->RenamePage(oldName, name);
        ltb_PagesClick();
        return;
    }
    QTreeWidgetItem* entry = ltb_Legends->currentItem();
    if (!entry || !entry->isSelected())
        return;
    legends::TLegendItem& legend = FLegendFiles->Legends.Items(LegendIndexOf(entry));
    if (!EditLegend(legend))
        return;
    UpdateLegendImage(legend);
    const QString page = SelectedPageName();
    if (legend.ShowPanel() != page && page != AllPages)
        delete entry;
    else
        SetEntryColumns(entry, legend);
    ltb_LegendsClick();
}

void Tfrm_EditLegends::MovePage(int step)
{
    const int row = ltb_Pages->currentRow();
    const int target = row + step;
    // Rows and pages go together, so the row chosen is the page moved even
    // where two pages share a name.
    if (!RealPageSelected() || target < 0 || target >= FLegendFiles->Pages.Count())
        return;
    FLegendFiles->Pages.Lines.move(row, target);
    {
        const QSignalBlocker blocker(ltb_Pages);
        ltb_Pages->insertItem(target, ltb_Pages->takeItem(row));
        ltb_Pages->setCurrentRow(target);
    }
    ltb_Pages->setFocus();
    ltb_PagesClick();
}

void Tfrm_EditLegends::MoveLegend(int step)
{
    QTreeWidgetItem* entry = ltb_Legends->currentItem();
    if (!entry || !entry->isSelected())
        return;
    const int row = ltb_Legends->indexOfTopLevelItem(entry);
    const int target = row + step;
    if (target < 0 || target >= ltb_Legends->topLevelItemCount())
        return;
    const int from = LegendIndexOf(entry);
    const int to = LegendIndexOf(ltb_Legends->topLevelItem(target));
    FLegendFiles->Legends.Move(from, to);
    const QImage image = imglst_Legends[static_cast<std::size_t>(from)];
    imglst_Legends.erase(imglst_Legends.begin() + from);
    imglst_Legends.insert(imglst_Legends.begin() + to, image);
    ltb_PagesClick();
    QTreeWidgetItem* moved = ltb_Legends->topLevelItem(target);
    ltb_Legends->setCurrentItem(moved);
    ltb_Legends->setFocus();
    FPagesActive = false;
    ltb_LegendsClick();
}

void Tfrm_EditLegends::SpeedButton4Click()
{
    if (!FLegendFiles)
        return;
    if (FPagesActive)
        MovePage(-1);
    else
        MoveLegend(-1);
}

void Tfrm_EditLegends::SpeedButton5Click()
{
    if (!FLegendFiles)
        return;
    if (FPagesActive)
        MovePage(1);
    else
        MoveLegend(1);
}

bool Tfrm_EditLegends::ltb_PagesDragOver(int row) const
{
    const QTreeWidgetItem* entry = ltb_Legends->currentItem();
    return FLegendFiles && entry && entry->isSelected() && row >= 0 && row != ltb_Pages->currentRow() &&
           row < ltb_Pages->count() - 1;
}

void Tfrm_EditLegends::ltb_PagesDragDrop(int row)
{
    if (!ltb_PagesDragOver(row))
        return;
    QTreeWidgetItem* entry = ltb_Legends->currentItem();
    legends::TLegendItem& legend = FLegendFiles->Legends.Items(LegendIndexOf(entry));
    legend.SetShowPanel(ltb_Pages->item(row)->text());
    // The list of every legend keeps the entry and shows its new page.
    if (SelectedPageName() == AllPages)
        SetEntryColumns(entry, legend);
    else
        delete entry;
    ltb_LegendsClick();
}

bool ExecuteEditLegends(legends::TLegendFiles& library, platform::WindowServices& messages, TLegendPrompts& prompts,
                        QWidget* parent)
{
    Tfrm_EditLegends dialog(messages, prompts, parent);
    dialog.LoadLibrary(library);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace sitelay
