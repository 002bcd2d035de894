// The editor of the legend library: its pages (add, delete, rename, move)
// and its legends (add, delete, edit, move, and drag onto another page).
//
// The library is edited in place while the dialog is open; the caller
// decides on OK whether to save it. The pages list shows the library's
// pages row for row, then the pseudo page "[所有页]", so a row is its page's
// position in the library even when a file holds the same name twice.
#pragma once

#include <QDialog>
#include <QImage>

#include <vector>

class QListWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform {
class WindowServices;
}

namespace legends {
class TLegendFiles;
class TLegendItem;
} // namespace legends

namespace sitelay {

class TLegendPrompts;

// The pseudo page that lists every legend.
inline constexpr char16_t kAllPages[] = u"[所有页]";

class Tfrm_EditLegends : public QDialog {
public:
    // Messages go to messages, input boxes and picture files to prompts
    // (neither owned).
    Tfrm_EditLegends(platform::WindowServices& messages, TLegendPrompts& prompts, QWidget* parent = nullptr);

    void LoadLibrary(legends::TLegendFiles& library);
    void FillPages();
    void ShowPageLegends(const QString& pageName);
    // Replaces the small image of the legend; returns its index.
    int UpdateLegendImage(const legends::TLegendItem& legend);

    void ltb_PagesClick();
    void ltb_LegendsClick();
    void SpeedButton1Click(); // add
    void SpeedButton2Click(); // delete
    void SpeedButton3Click(); // rename or edit
    void SpeedButton4Click(); // move up
    void SpeedButton5Click(); // move down
    // Whether a dragged legend entry may be dropped on the pages row, and
    // the drop itself.
    bool ltb_PagesDragOver(int row) const;
    void ltb_PagesDragDrop(int row);

    // Whether the buttons act on the pages list (else on the legends).
    bool PagesActive() const { return FPagesActive; }
    void SetPagesActive(bool pagesActive) { FPagesActive = pagesActive; }
    // The collection index of the legend an entry stands for.
    static int LegendIndexOf(const QTreeWidgetItem* entry);

    QListWidget* ltb_Pages;
    QTreeWidget* ltb_Legends;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton3;
    QToolButton* SpeedButton4;
    QToolButton* SpeedButton5;
    // One 16 x 16 image per legend, at the legend's collection index.
    std::vector<QImage> imglst_Legends;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString SelectedPageName() const;
    bool RealPageSelected() const;
    void SetEntryColumns(QTreeWidgetItem* entry, const legends::TLegendItem& legend) const;
    // Moves the legend of the selected entry to the place of the entry
    // step rows away.
    void MoveLegend(int step);
    void MovePage(int step);
    bool EditLegend(legends::TLegendItem& legend);

    platform::WindowServices& FMessages;
    TLegendPrompts& FPrompts;
    legends::TLegendFiles* FLegendFiles = nullptr;
    bool FPagesActive = true;
};

// Shows the editor over the library; true exactly on OK. The library is
// changed in place either way.
bool ExecuteEditLegends(legends::TLegendFiles& library, platform::WindowServices& messages, TLegendPrompts& prompts,
                        QWidget* parent = nullptr);

} // namespace sitelay
