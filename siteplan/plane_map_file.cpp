// The plan file and the copy buffer: both hold shape records, each starting
// with its MapID, which chooses the shape class whose LoadFromStream reads
// the rest of the record.
#include "plane_map.h"

#include "map_com_classes.h"
#include "plan_records.h"
#include "vyr_map_com.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace siteplan {

namespace {

// "PLANEMAP" and two zero bytes.
constexpr int MagicSize = 10;
constexpr char Magic[MagicSize + 1] = "PLANEMAP\0";
constexpr QByteArrayView MagicText(Magic, 8);
// Every shape record holds at least the MapID and the base record.
constexpr std::int64_t MinRecordSize = 24;

QString Shown(const QString& fileName)
{
    return QDir::toNativeSeparators(fileName);
}

// The sheet as drawn must hold its margins, with none of them negative.
bool SettingsValid(std::int32_t orientation, std::int32_t scale, std::int64_t sheetWidth, std::int64_t sheetHeight,
                   std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom)
{
    if (orientation > 1 || scale <= 0)
        return false;
    if (left < 0 || top < 0 || right < 0 || bottom < 0)
        return false;
    return sheetWidth >= left + right && sheetHeight >= top + bottom;
}

} // namespace

TPlaneMap::TPlanSettings TPlaneMap::Settings() const
{
    return {FPlanmapSize, FMapHeight, FMapWidth, static_cast<std::int32_t>(FOrientation), FMapScale,
            FLeftMargin, FTopMargin, FRightMargin, FBottomMargin, Origin.x(), Origin.y()};
}

void TPlaneMap::StoreSettings(const TPlanSettings& s)
{
    FPlanmapSize = s.PlanmapSize;
    FMapHeight = s.MapHeight;
    FMapWidth = s.MapWidth;
    FOrientation = static_cast<TPrinterOrientation>(s.Orientation);
    FMapScale = s.MapScale;
    FLeftMargin = s.LeftMargin;
    FTopMargin = s.TopMargin;
    FRightMargin = s.RightMargin;
    FBottomMargin = s.BottomMargin;
    Origin = QPoint(s.OriginX, s.OriginY);
}

std::unique_ptr<TVyrMapCom> TPlaneMap::CreateStoredMapCom(int mapID)
{
    // Legend tools create pictures (MapID 8); a stored kind is never a tool.
    if (mapID >= LegendKindBase)
        return nullptr;
    const TMapComCreator creator = FindMapComClass(mapID);
    if (!creator)
        return nullptr;
    std::unique_ptr<TVyrMapCom> shape = creator(*this, {});
    if (shape)
        shape->OnChanged = [this](TVyrMapCom* changed) { MapComChanged(changed); };
    return shape;
}

void TPlaneMap::WriteMapComs(QDataStream& stream, std::span<TVyrMapCom* const> shapes) const
{
    stream << qint32(shapes.size());
    for (const TVyrMapCom* shape : shapes)
        shape->SaveToStream(stream);
}

bool TPlaneMap::ReadMapComs(QDataStream& stream, std::vector<std::unique_ptr<TVyrMapCom>>& shapes)
{
    qint32 count = 0;
    stream >> count;
    if (!HasBytes(stream, static_cast<std::int64_t>(count) * MinRecordSize))
        return false;
    std::vector<std::unique_ptr<TVyrMapCom>> read;
    for (qint32 i = 0; i < count; ++i) {
        qint32 mapID = 0;
        stream >> mapID;
        if (stream.status() != QDataStream::Ok)
            return false;
        std::unique_ptr<TVyrMapCom> shape = CreateStoredMapCom(mapID);
        if (!shape)
            return false;
        shape->LoadFromStream(stream);
        if (stream.status() != QDataStream::Ok)
            return false;
        read.push_back(std::move(shape));
    }
    shapes = std::move(read);
    return true;
}

void TPlaneMap::SavePlan(QIODevice& device) const
{
    QDataStream stream(&device);
    PreparePlanStream(stream);
    stream.writeRawData(Magic, MagicSize);
    const TPlanSettings s = Settings();
    stream << qint32(FormatVersion) << s.PlanmapSize << s.MapHeight << s.MapWidth << s.Orientation << s.MapScale
           << s.LeftMargin << s.TopMargin << s.RightMargin << s.BottomMargin << s.OriginX << s.OriginY;
    WritePen(stream, DefaultPen);
    WriteBrush(stream, DefaultBrush);
    WriteTextShow(stream, DefaultTextShow);
    std::vector<TVyrMapCom*> shapes;
    for (const auto& shape : FMapComs)
        shapes.push_back(shape.get());
    WriteMapComs(stream, shapes);
}

bool TPlaneMap::SaveToFile(const QString& fileName)
{
    // A shape still being drawn is finished first: it may not yet hold
    // every point its record writes.
    EndDrawing();
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly)) {
        SavePlan(file);
        if (file.commit()) {
            Modified = false;
            return true;
        }
    }
    FServices.ShowError(QStringLiteral("无法保存文件“%1”：%2").arg(Shown(fileName), file.errorString()));
    return false;
}

bool TPlaneMap::LoadFromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        FServices.ShowError(QStringLiteral("无法打开文件“%1”：%2").arg(Shown(fileName), file.errorString()));
        return false;
    }
    return LoadPlan(file);
}

bool TPlaneMap::LoadPlan(QIODevice& device)
{
    QDataStream stream(&device);
    PreparePlanStream(stream);

    char magic[MagicSize] = {};
    const int got = stream.readRawData(magic, MagicSize);
    const QByteArrayView head(magic, std::max(got, 0));
    const qsizetype zero = head.indexOf('\0');
    if (zero < 0 || head.first(zero) != MagicText) {
        FServices.ShowMessage(QStringLiteral("文件类型错误！"));
        return false;
    }
    const auto refuseDamaged = [this] {
        FServices.ShowMessage(QStringLiteral("文件已损坏，无法打开！"));
        return false;
    };
    if (got < MagicSize)
        return refuseDamaged();

    qint32 version = 0;
    stream >> version;
    if (stream.status() != QDataStream::Ok)
        return refuseDamaged();
    if (version > FormatVersion) {
        FServices.ShowMessage(QStringLiteral("该文件的版本比当前程序新，该程序无法打开！"));
        return false;
    }

    TPlanSettings s{};
    stream >> s.PlanmapSize >> s.MapHeight >> s.MapWidth >> s.Orientation >> s.MapScale >> s.LeftMargin
        >> s.TopMargin >> s.RightMargin >> s.BottomMargin >> s.OriginX >> s.OriginY;
    s.Orientation &= 0xFF;
    const bool landscape = s.Orientation == static_cast<std::int32_t>(TPrinterOrientation::poLandscape);
    if (stream.status() != QDataStream::Ok
        || !SettingsValid(s.Orientation, s.MapScale, landscape ? s.MapHeight : s.MapWidth,
                          landscape ? s.MapWidth : s.MapHeight, s.LeftMargin, s.TopMargin, s.RightMargin,
                          s.BottomMargin))
        return refuseDamaged();

    TMapPen pen;
    pen.Assign(DefaultPen);
    TMapBrush brush;
    brush.Assign(DefaultBrush);
    TTextShowSet textShow;
    textShow.Assign(DefaultTextShow);
    ReadPen(stream, pen);
    ReadBrush(stream, brush);
    ReadTextShow(stream, textShow);
    if (stream.status() != QDataStream::Ok)
        return refuseDamaged();

    // The shapes are read against the file's settings, as they will be
    // shown; the control gets its own back when the records are refused.
    const TPlanSettings previous = Settings();
    const bool wasModified = Modified;
    StoreSettings(s);
    std::vector<std::unique_ptr<TVyrMapCom>> shapes;
    if (!ReadMapComs(stream, shapes) || !stream.atEnd()) {
        shapes.clear();
        StoreSettings(previous);
        Modified = wasModified;
        return refuseDamaged();
    }

    DefaultPen.Assign(pen);
    DefaultBrush.Assign(brush);
    DefaultTextShow.Assign(textShow);
    for (auto& shape : shapes)
        AddMapCom(std::move(shape));
    UpdateHeight();
    UpdateWidth();
    Modified = false;
    return true;
}

// --- Copy buffer ---

void TPlaneMap::CopySelection()
{
    EndDrawing();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream stream(&buffer);
    PreparePlanStream(stream);
    WriteMapComs(stream, FSelection.List());
    FCopyBuffer = std::move(bytes);
}

void TPlaneMap::CutSelection()
{
    if (FSelection.Count() == 0)
        return;
    CopySelection();
    while (FSelection.Count() > 0)
        DeleteMapCom(FSelection.Items(FSelection.Count() - 1), false);
    SetModified();
}

void TPlaneMap::PasteSelection()
{
    ClearSelection();
    if (!FCopyBuffer)
        return;
    QBuffer buffer;
    buffer.setData(*FCopyBuffer);
    buffer.open(QIODevice::ReadOnly);
    QDataStream stream(&buffer);
    PreparePlanStream(stream);
    std::vector<std::unique_ptr<TVyrMapCom>> shapes;
    if (!ReadMapComs(stream, shapes))
        return;
    for (auto& owned : shapes) {
        TVyrMapCom* shape = AddMapCom(std::move(owned));
        shape->MoveBy(QPoint(0, 0), QPoint(5, 5));
        SelectMapCom(shape, false);
        InvalidateMapCom(*shape);
        SetModified();
    }
}

} // namespace siteplan
