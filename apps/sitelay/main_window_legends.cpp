// The legend-library commands of the main window: editing the library and
// adding the plan to it. The library file changes only on OK, and a save
// that fails keeps the previous file and the legend pages as they were.
#include "apps/sitelay/main_window.h"

#include "apps/sitelay/add_legend.h"
#include "apps/sitelay/edit_legends.h"

#include "siteplan/legends/legend_library_file.h"
#include "siteplan/plane_map.h"

#include "platform/stream/stream_error.h"

#include <QDir>

namespace sitelay {

namespace {

// The library in its file; null, after the reason was shown, when it
// cannot be read.
std::unique_ptr<legends::TLegendFiles> ReadLibraryFile(const QString& fileName, platform::WindowServices& messages)
{
    try {
        return legends::LoadLegendLibrary(fileName);
    } catch (const stream::StreamError& e) {
        messages.ShowError(QStringLiteral("图例库文件“%1”已损坏，无法读取图例。\n%2")
                               .arg(QDir::toNativeSeparators(fileName), e.Message()));
    }
    return nullptr;
}

// False, after the reason was shown, when the file could not be written.
bool SaveLibraryFile(const QString& fileName, const legends::TLegendFiles& library, platform::WindowServices& messages)
{
    try {
        legends::SaveLegendLibrary(fileName, library);
        return true;
    } catch (const stream::StreamError& e) {
        messages.ShowError(QStringLiteral("无法保存图例库文件“%1”，图例库没有改变。\n%2")
                               .arg(QDir::toNativeSeparators(fileName), e.Message()));
    }
    return false;
}

} // namespace

void TForm1::E1Click()
{
    const std::unique_ptr<legends::TLegendFiles> library = ReadLibraryFile(FLegendLibrary, *FMessages);
    if (!library || !ExecuteEditLegends(*library, *FMessages, *FLegendPrompts, this))
        return;
    if (SaveLibraryFile(FLegendLibrary, *library, *FMessages))
        RebuildLegendPages();
}

void TForm1::A1Click()
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return;
    const std::unique_ptr<legends::TLegendFiles> library = ReadLibraryFile(FLegendLibrary, *FMessages);
    if (!library)
        return;
    legends::TLegendItem& legend = library->Legends.Add();
    platform::TPicture metafile;
    if (!map->DrawToMetafile(metafile))
        return;
    legend.SetPicture(metafile);
    QStringList pages;
    for (int i = 0; i < library->Pages.Count(); ++i)
        pages.append(library->Pages.Text(i));
    if (!ExecuteAddLegend(pages, legend, *FMessages, *FLegendPrompts, this))
        return;
    if (SaveLibraryFile(FLegendLibrary, *library, *FMessages))
        RebuildLegendPages();
}

} // namespace sitelay
