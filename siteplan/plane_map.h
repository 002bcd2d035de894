// The site-plan control: the sheet at 1 : MapScale, the shapes on it, the
// selection with its grab handles, the drawing tools and the default styles
// of new shapes. It is an engine object, not a widget: a host feeds it mouse
// positions in control pixels (top-left of the sheet is (0, 0)), gives it the
// canvas for immediate drawing and paints its invalidated regions with Paint.
//
// Ownership: the control owns its shapes (in drawing order), the default
// pen, brush and text appearance, and the selection list. CurPen, CurBrush
// and CurTextShow point at objects owned by a selected shape or at the
// defaults.
#pragma once

#include "map_brush.h"
#include "map_pen.h"
#include "map_rect.h"
#include "mouse_input.h"
#include "select_map_coms.h"
#include "text_show_set.h"

#include "platform/canvas.h"
#include "platform/picture/picture.h"
#include "platform/window_services.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

class QDataStream;
class QIODevice;
class QPolygon;

namespace siteplan {

class TGrabHandle;
class TShapePropertyEditor;
class TVyrMapCom;

enum class TPrinterOrientation : std::uint8_t { poPortrait, poLandscape };

// MouseState values.
namespace mousestate {
constexpr std::uint8_t Idle = 0;
constexpr std::uint8_t Drawing = 1;
constexpr std::uint8_t Band = 2;
constexpr std::uint8_t Moving = 3;
constexpr std::uint8_t Method = 4;
} // namespace mousestate

// Drawing tools from this value on place legend symbol DrawKind - LegendKindBase.
constexpr int LegendKindBase = 1000;

class TPlaneMap {
public:
    // The services of the host window (not owned); pixelsPerInch is the
    // resolution of the screen.
    explicit TPlaneMap(platform::WindowServices& services, int pixelsPerInch = 96);
    ~TPlaneMap();

    TPlaneMap(const TPlaneMap&) = delete;
    TPlaneMap& operator=(const TPlaneMap&) = delete;

    // --- Paper, scale and zoom ---
    int PlanmapSize() const { return FPlanmapSize; }
    int MapHeight() const { return FMapHeight; }
    int MapWidth() const { return FMapWidth; }
    TPrinterOrientation Orientation() const { return FOrientation; }
    int MapScale() const { return FMapScale; }
    int LeftMargin() const { return FLeftMargin; }
    int TopMargin() const { return FTopMargin; }
    int RightMargin() const { return FRightMargin; }
    int BottomMargin() const { return FBottomMargin; }
    bool ShowPaper() const { return FShowPaper; }
    bool ShowGrid() const { return FShowGrid; }
    platform::TColor GridColor() const { return FGridColor; }
    int Zoom() const { return FZoom; }

    // Setters do nothing for the stored value; otherwise they store, mark the
    // plan modified and resize or repaint. MapScale below 1 is raised to 1.
    void SetPlanmapSize(int value);
    void SetMapHeight(int value);
    void SetMapWidth(int value);
    void SetOrientation(TPrinterOrientation value);
    void SetMapScale(int value);
    void SetLeftMargin(int value);
    void SetTopMargin(int value);
    void SetRightMargin(int value);
    void SetBottomMargin(int value);
    void SetShowPaper(bool value);
    void SetShowGrid(bool value);
    void SetGridColor(platform::TColor value); // does not mark modified
    // Zoom in per cent, raised to 1 at least; does not mark modified.
    void SetZoom(int percent);

    // Paper sizes in mm of index 0 (A0) to 4 (A4); false for other indexes.
    static bool GetPaperSize(int index, int& width, int& height);

    // Size of the control in pixels.
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void UpdateHeight();
    void UpdateWidth();

    int PixelsPerInch() const { return FPixelsPerInch; }
    // Screen pixels per world unit (0.1 mm of the site), as held (Single).
    float ScaleFactor() const;
    // Conversions without snapping (halves to even).
    QPoint WorldToScreen(QPoint world) const;
    QPoint ScreenToWorld(QPoint screen) const;
    // The world length of a screen distance, snapped to whole centimetres.
    QPoint SnappedWorld(QPoint screen) const;

    // Grid of the last paint: the step in pixels, its length in ShowUnit.
    QString ShowUnit() const { return FShowUnit; }
    std::int32_t UnitValue() const { return FUnitValue; }
    float UnitPixel() const { return FUnitPixel; }
    // Computes ShowUnit, UnitValue and UnitPixel from MapScale and Zoom.
    void UpdateGridUnit();

    // --- Painting ---
    // Paper marks, grid, shapes (the selected ones framed) and grab handles.
    void Paint(platform::Canvas& canvas);
    // The canvas of the screen for immediate drawing (rubber bands); set by
    // the host, null while there is none.
    // Only not-XOR figures are drawn there, each erased by drawing it again.
    void SetCanvas(platform::Canvas* canvas) { FCanvas = canvas; }
    platform::Canvas* Canvas() const { return FCanvas; }
    // True while figures drawn on Canvas may be showing: during a band
    // selection and while a shape is being drawn. Paint leaves the shape
    // being drawn to its rubber band.
    bool ShowsImmediateDrawing() const { return FMouseState == mousestate::Band || FDrawingMapCom != nullptr; }
    // The printable area at zoom 100 on white, shapes only. A null image,
    // after a message, when that size is empty or too large.
    QImage GetBitmap();
    // The same picture as an enhanced metafile put into metafile, one
    // metafile unit per screen pixel. False, after a message and with
    // metafile unchanged, when the printable area is empty.
    bool DrawToMetafile(platform::TPicture& metafile);
    // Size in pixels of the printable area at zoom 100 (0 x 0 and more).
    QSize PrintableSize() const;

    // Handles reposition, then the whole control repaints.
    void RefreshAll();
    void InvalidateMapCom(const TVyrMapCom& shape);
    void InvalidateRect(const TRect& rect);
    QRegion GetMapComRegion(const TVyrMapCom& shape) const;

    // --- Document ---
    bool Modified = false;
    void SetModified() { Modified = true; }
    // Bound to every shape's OnChanged.
    void MapComChanged(TVyrMapCom* shape);
    QPoint Origin;               // screen position of world (0, 0); stays (0, 0)
    std::int32_t FormatVersion = 1;

    int MapComCount() const { return static_cast<int>(FMapComs.size()); }
    TVyrMapCom* MapCom(int index) const { return FMapComs[static_cast<std::size_t>(index)].get(); }
    int IndexOfMapCom(const TVyrMapCom* shape) const;

    TMapPen DefaultPen;
    TMapBrush DefaultBrush;
    TTextShowSet DefaultTextShow;

    // --- Plan file (".Plm") ---
    // Writes the plan through a temporary file renamed over the target, then
    // Modified := false. A failed save shows a message, leaves the previous
    // file as it was, keeps Modified and returns false.
    bool SaveToFile(const QString& fileName);
    // Reads a plan file with LoadPlan; a file that cannot be opened is
    // refused with a message. True when the plan was read.
    bool LoadFromFile(const QString& fileName);
    // The file's bytes: header, settings, default styles, shape records.
    void SavePlan(QIODevice& device) const;
    // Reads a plan and appends its shapes after any the control holds; then
    // Modified := false. A wrong file type, a newer format version or damaged
    // data is refused with a message and leaves the control as it was.
    bool LoadPlan(QIODevice& device);

    // --- Copy buffer (shape count, then the shape records) ---
    void CopySelection();
    void CutSelection();
    // Adds copies of the buffer's shapes 5 pixels right of and below the
    // copied ones and selects them.
    void PasteSelection();
    bool CanPaste() const { return FCopyBuffer.has_value(); }

    // --- Tools and editing ---
    int DrawKind() const { return FDrawKind; }
    void SetDrawKind(int kind);
    int EditMethod() const { return FEditMethod; }
    // Arms a point method of the single selected shape; -1 disarms. Without
    // exactly one selected shape any method is disarmed.
    void SetEditMethod(int method);
    std::uint8_t MouseState() const { return FMouseState; }
    int Cursor() const { return FCursor; }
    // The cursor over p: a grab handle's there, else the control's.
    int CursorAt(QPoint p) const;

    // The shape factory by MapID (see map_com_classes.h); null for an
    // unknown kind or a legend symbol that cannot be placed. A created shape
    // reports its changes to MapComChanged; the plan is marked modified.
    std::unique_ptr<TVyrMapCom> CreateMapCom(int kind);
    // Appends the shape (drawn last, on top) and returns it.
    TVyrMapCom* AddMapCom(std::unique_ptr<TVyrMapCom> shape);
    int SelectMapCom(TVyrMapCom* shape, bool clearFirst);
    void ClearSelection();
    // Unselects the shape; with unselectOnly it stays on the plan, otherwise
    // it is removed and destroyed.
    void DeleteMapCom(TVyrMapCom* shape, bool unselectOnly);
    void FreeMapCom(TVyrMapCom* shape);
    // Moves every selected shape by the screen distance to - from.
    void MoveSelection(QPoint from, QPoint to);
    // Moves every selected shape by a world distance.
    void MoveSelectionWorld(QPoint delta);
    void EndDrawing();
    void DeleteAll();
    void DeleteSelected();
    void SelectAll();
    void InvertSelection();
    void EditProperties();
    // Restyles the selection; codes 0..12 (see the table in the .cpp).
    void SetSelectedAttribute(int code, const QVariant& value);
    void SetSelectedBrush(const TMapBrush& brush);
    void ShowGrabHandles(bool show);

    const TSelectMapComs& Selection() const { return FSelection; }
    int SelectedCount() const { return FSelection.Count(); }
    bool IsSelected(const TVyrMapCom* shape) const { return FSelection.Contains(shape); }
    TVyrMapCom* DrawingMapCom() const { return FDrawingMapCom; }
    int CreatePointCount() const { return static_cast<int>(FCreatePoints.size()); }

    TMapPen* CurPen() const { return FCurPen; }
    TMapBrush* CurBrush() const { return FCurBrush; }
    TTextShowSet* CurTextShow() const { return FCurTextShow; }

    // --- Mouse (control pixels) ---
    void MouseDown(TMouseButton button, TShiftState shift, QPoint p);
    void MouseMove(TShiftState shift, QPoint p);
    void MouseUp(TMouseButton button, TShiftState shift, QPoint p);
    void DblClick();

    // Confines the mouse to the printable area (ShowPaper) or the control;
    // ReleaseCursorClip lifts it.
    void ClipCursorToPaper();
    void ReleaseCursorClip();

    // --- Events (each fires only when assigned) ---
    std::function<void(TPlaneMap*, TShiftState, QPoint)> onMouseMove;
    std::function<void(TPlaneMap*, const TSelectMapComs&)> onSelectChanged;
    std::function<void(TPlaneMap*, TMapPen*)> onCurPenChanged;
    std::function<void(TPlaneMap*, TMapBrush*)> onCurBrushChanged;
    std::function<void(TPlaneMap*, TTextShowSet*)> onCurTextShowChanged;
    std::function<void(TPlaneMap*)> OnAddMapAfter;
    std::function<void(TVyrMapCom*, const QString&)> onMapHint;

    // Creates the picture shape of legend symbol n for the current creation
    // points; bound by the legend library. Unbound, legend tools place nothing.
    std::function<std::unique_ptr<TVyrMapCom>(TPlaneMap&, int legendIndex, std::span<const QPoint> points)> CreateLegendMapCom;
    // The property dialogs (not owned), installed by the host; null while
    // there are none, and then no dialog opens. EditProperties opens the
    // defaults dialog on DefaultPen, DefaultBrush and DefaultTextShow when
    // nothing is selected; OK there marks the plan modified.
    TShapePropertyEditor* PropertyEditor() const { return FPropertyEditor; }
    void SetPropertyEditor(TShapePropertyEditor* editor) { FPropertyEditor = editor; }

    platform::WindowServices& Services() const { return FServices; }
    // A warning box with Yes and No: true unless the answer is No.
    bool ConfirmWarning(const QString& text) const;

    // --- Grab handles (drawn and hit-tested by the control) ---
    TGrabHandle* HandleAt(QPoint p) const;
    void ApplyMethodToHandle(int handleIndex);
    void SetMouseState(std::uint8_t state) { FMouseState = state; }

private:
    // The paper and scale settings as the plan file holds them.
    struct TPlanSettings {
        std::int32_t PlanmapSize, MapHeight, MapWidth, Orientation, MapScale;
        std::int32_t LeftMargin, TopMargin, RightMargin, BottomMargin, OriginX, OriginY;
    };
    TPlanSettings Settings() const;
    // The unrotated bounds with room for the selection frame and the
    // rotation arm, and its corners turned with the shape.
    TRect MapComFrame(const TVyrMapCom& shape) const;
    QPolygon TurnedFrame(const TVyrMapCom& shape) const;
    // The rectangle the shape repaints and draws within: its frame, or the
    // bounds of its turned frame.
    QRect PaintFrame(const TVyrMapCom& shape) const;
    // PaintFrame of a shape leaving the selection; taken from the frames the
    // press has just found when it is the next one of them below
    // FPressFramesBelow.
    QRect RemovedShapeFrame(const TVyrMapCom& shape);
    void StoreSettings(const TPlanSettings& settings);
    // A shape of a stored record's kind, with no creation points; null for a
    // kind no shape class has. Does not mark the plan modified.
    std::unique_ptr<TVyrMapCom> CreateStoredMapCom(int mapID);
    void WriteMapComs(QDataStream& stream, std::span<TVyrMapCom* const> shapes) const;
    // Reads a shape count and the records; false, with nothing kept, when
    // any of them is damaged.
    bool ReadMapComs(QDataStream& stream, std::vector<std::unique_ptr<TVyrMapCom>>& shapes);

    void DoSelectChanged();
    // Adds a shape not yet selected and reports it, as SelectMapCom does,
    // but leaves the handles of the selection to the caller; false when it
    // was selected already.
    bool AddToSelection(TVyrMapCom* shape);
    void DoCurPenChanged(TMapPen* pen);
    void DoCurBrushChanged(TMapBrush* brush);
    void DoCurTextShowChanged(TTextShowSet* textShow);
    void DoAddMapAfter();
    void SelectionNotify(TSelectMapComs& list, TVyrMapCom* shape, TListNotification action);
    void SetCursor(int cursor);
    void ScaleChangedAll();
    // Draws every shape in mode 0 at zoom 100 and restores the zoom, also
    // when drawing fails.
    void DrawShapesAtZoom100(platform::Canvas& canvas);
    void PaintPaperMarks(platform::Canvas& canvas) const;
    void PaintGrid(platform::Canvas& canvas) const;
    void DrawBand();
    void ForgetShape(const TVyrMapCom* shape);
    int MmToPixels(double mm, int zoom) const;
    void SetSize(int width, int height);

    platform::WindowServices& FServices;
    int FPixelsPerInch;
    float FPixelsPer01mm;

    int FPlanmapSize = 4;
    int FMapHeight = 297;
    int FMapWidth = 210;
    TPrinterOrientation FOrientation = TPrinterOrientation::poLandscape;
    int FMapScale = 100;
    int FLeftMargin = 15;
    int FTopMargin = 15;
    int FRightMargin = 15;
    int FBottomMargin = 15;
    bool FShowPaper = false;
    bool FShowGrid = true;
    platform::TColor FGridColor = platform::clBtnFace;
    int FZoom = 100;
    int FWidth = 0;
    int FHeight = 0;

    // ScaleFactor for the scale and zoom it was worked out for: every point
    // of every shape is converted with it at each paint and click.
    mutable int FFactorScale = 0;
    mutable int FFactorZoom = 0;
    mutable float FFactor = 0;

    QString FShowUnit;
    std::int32_t FUnitValue = 0;
    float FUnitPixel = 0.0f;

    platform::Canvas* FCanvas = nullptr;
    TShapePropertyEditor* FPropertyEditor = nullptr;

    std::vector<std::unique_ptr<TVyrMapCom>> FMapComs;
    TSelectMapComs FSelection;
    TMapPen* FCurPen;
    TMapBrush* FCurBrush;
    TTextShowSet* FCurTextShow;

    int FDrawKind = 0;
    int FEditMethod = -1;
    std::uint8_t FMouseState = mousestate::Idle;
    int FCursor = platform::cursor::kHandPoint;
    std::vector<QPoint> FCreatePoints;
    TVyrMapCom* FDrawingMapCom = nullptr;
    QPoint FDragStart;
    QPoint FDragEnd;
    // The repaint frames of the shapes, in plan order, found by the press
    // that began a band, with the scale and origin they were found at: the
    // band's release tests only the shapes whose frame it meets.
    std::vector<std::pair<const TVyrMapCom*, QRect>> FBandFrames;
    float FBandScale = 0;
    QPoint FBandOrigin;
    // While that press clears the selection: the removed shapes' frames are
    // looked for in FBandFrames below this position (see RemovedShapeFrame).
    std::size_t FPressFramesBelow = 0;
    QPoint FMovePress;       // press point of a move by the shapes' body
    QPoint FMoveDoneWorld;   // world distance the selection has moved since
    TGrabHandle* FCaptureHandle = nullptr;
    std::optional<QByteArray> FCopyBuffer;
    bool FDestroying = false;
};

} // namespace siteplan
