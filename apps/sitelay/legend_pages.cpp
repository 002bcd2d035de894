// The legend pages of the tool pages: one page per page of the legend
// library after the two fixed pages, with a select button and a button per
// visible legend, built through the library's palette builder over the
// window's page control.
#include "apps/sitelay/legend_pages.h"

#include "apps/sitelay/main_window.h"

#include "siteplan/legends/legend_library_file.h"
#include "siteplan/legends/legend_palette.h"
#include "siteplan/plane_map.h"
#include "siteplan/shapes/vyr_picture.h"

#include "platform/stream/stream_error.h"

#include <QBitmap>
#include <QButtonGroup>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QPixmap>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>
#include <exception>

namespace sitelay {

namespace {

// Why a library file could not be read, in the program's words.
QString DamagedLibraryText(const QString& libraryFile)
{
    return QStringLiteral("图例库文件“%1”已损坏，无法读取图例。").arg(QDir::toNativeSeparators(libraryFile));
}

// The library in its file; null, with the reason, when it cannot be read.
std::unique_ptr<legends::TLegendFiles> ReadLibrary(const QString& libraryFile, QString& error)
{
    try {
        return legends::LoadLegendLibrary(libraryFile);
    } catch (const stream::StreamError& e) {
        error = DamagedLibraryText(libraryFile) + QLatin1Char('\n') + e.Message();
    } catch (const std::exception& e) {
        error = DamagedLibraryText(libraryFile) + QLatin1Char('\n') + QString::fromLocal8Bit(e.what());
    }
    return nullptr;
}

// A legend glyph with its bottom-left colour transparent.
QIcon GlyphIcon(const QImage& glyph)
{
    if (glyph.isNull())
        return {};
    QPixmap pixmap = QPixmap::fromImage(glyph);
    pixmap.setMask(pixmap.createMaskFromColor(glyph.pixelColor(0, glyph.height() - 1), Qt::MaskInColor));
    return QIcon(pixmap);
}

// Calls back on every resize of the watched widget.
class ResizeWatch final : public QObject {
public:
    ResizeWatch(QObject* parent, std::function<void()> onResize) : QObject(parent), onResize_(std::move(onResize)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            onResize_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onResize_;
};

} // namespace

std::unique_ptr<siteplan::TVyrMapCom> CreateLegendPicture(siteplan::TPlaneMap& map, const QString& libraryFile,
                                                          int index, std::span<const QPoint> points)
{
    QString error;
    const std::unique_ptr<legends::TLegendFiles> library = ReadLibrary(libraryFile, error);
    if (!library) {
        map.Services().ShowError(error);
        return nullptr;
    }
    if (index < 0 || index >= library->Legends.Count())
        return nullptr;
    const platform::TPicture& picture = library->Legends.Items(index).Picture();
    if (picture.Empty())
        return nullptr;
    return std::make_unique<siteplan::TVyrPicture>(&map, points, picture);
}

// The window's tool pages as the palette builder sees them.
class TForm1::TLegendPageControl final : public legends::LegendPageControl {
public:
    explicit TLegendPageControl(TForm1& form) : FForm(form) {}

    int PageCount() const override { return FForm.PageControl1->count(); }
    QString PageCaption(int page) const override { return FForm.PageControl1->tabText(page); }
    int ControlCount(int page) const override
    {
        return static_cast<int>(FForm.FPageButtons[static_cast<std::size_t>(page)].size());
    }

    void RemovePage(int page) override
    {
        QWidget* widget = FForm.PageControl1->widget(page);
        FForm.PageControl1->removeTab(page);
        FForm.FPageButtons.erase(FForm.FPageButtons.begin() + page);
        delete widget;
    }

    int AddPage(const QString& caption) override
    {
        auto* page = new QWidget(FForm.PageControl1);
        auto* row = new QHBoxLayout(page);
        row->setContentsMargins(2, 1, 2, 1);
        row->setSpacing(0);
        row->setAlignment(Qt::AlignLeft);
        auto* group = new QButtonGroup(page);
        group->setExclusive(true);
        FForm.FPageButtons.emplace_back();
        return FForm.PageControl1->addTab(page, caption);
    }

    void AddButton(int page, const legends::LegendButton& button) override
    {
        QWidget* widget = FForm.PageControl1->widget(page);
        QToolButton* added = FForm.AddToolButton(widget, widget->findChild<QButtonGroup*>(), button.Tag, button.Hint);
        if (!button.SelectButton)
            added->setIcon(GlyphIcon(button.Glyph));
        added->setChecked(button.Down);
        FForm.FPageButtons[static_cast<std::size_t>(page)].push_back(added);
    }

private:
    TForm1& FForm;
};

QString TForm1::LegendLibraryFile() const
{
    return FLegendLibrary;
}

void TForm1::CreateLegendPages()
{
    PageControl1->installEventFilter(new ResizeWatch(PageControl1, [this] { PageControl1Resize(); }));
}

void TForm1::RebuildLegendPages()
{
    // A legend tool names an item by its position, which a new library may
    // give to another symbol: the tool goes back to select first.
    if (const siteplan::TPlaneMap* map = PlaneMap(); map && map->DrawKind() >= siteplan::LegendKindBase)
        ResetToolToSelect();
    QString error;
    const std::unique_ptr<legends::TLegendFiles> library = ReadLibrary(FLegendLibrary, error);
    if (!library) {
        FMessages->ShowError(error);
        return;
    }
    // Removing the page shown moves the page control to another one: the
    // page-change handler stays out of it until the pages are built.
    FRebuildingPages = true;
    TLegendPageControl pages(*this);
    legends::BuildLegendPalette(pages, *library);
    FRebuildingPages = false;
    FPage = PageControl1->currentIndex();
    ResetToolToSelect();
    PageControl1Resize();
}

void TForm1::PageControl1Resize()
{
    // A legend page with one symbol stretches its button over the page.
    const int width = std::max(0, PageControl1->width() - 24);
    for (std::size_t page = legends::FixedToolPages; page < FPageButtons.size(); ++page)
        if (FPageButtons[page].size() == 2)
            FPageButtons[page][1]->setFixedWidth(width);
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (FLegendPagesBuilt)
        return;
    FLegendPagesBuilt = true;
    Run([this] { RebuildLegendPages(); });
}

} // namespace sitelay
