// Editing side of the plan control: tools and the shape factory, the mouse
// state machine, the selection and the commands on it.
#include "plane_map.h"

#include "grab_handles.h"
#include "map_com_classes.h"
#include "shape_property_editor.h"
#include "vyr_map_com.h"

#include <utility>

namespace siteplan {

namespace {

// How far from its drawing a click still hits a shape (the polyline hit
// test's tolerance, below 5 pixels).
constexpr int HitReach = 5;

} // namespace

// --- Tools ---

void TPlaneMap::SetDrawKind(int kind)
{
    FDrawKind = kind;
    if (kind != 0) {
        SetCursor(platform::cursor::kDrawMap);
        FEditMethod = -1;
    } else if (FEditMethod == -1) {
        SetCursor(platform::cursor::kHandPoint);
    }
    if (!FCreatePoints.empty())
        EndDrawing();
}

void TPlaneMap::SetEditMethod(int method)
{
    // A method belongs to the one selected shape: without exactly one there
    // is nothing to apply it to, so it is disarmed.
    if (method != -1 && FSelection.Count() != 1)
        method = -1;
    FEditMethod = method;
    if (method != -1) {
        SetCursor(FSelection.Items(0)->GetMethodCursor(method));
        FDrawKind = 0;
    } else {
        SetCursor(FDrawKind != 0 ? platform::cursor::kDrawMap : platform::cursor::kHandPoint);
    }
}

int TPlaneMap::CursorAt(QPoint p) const
{
    if (const TGrabHandle* handle = HandleAt(p))
        return handle->Cursor();
    return FCursor;
}

// --- Shapes ---

std::unique_ptr<TVyrMapCom> TPlaneMap::CreateMapCom(int kind)
{
    std::unique_ptr<TVyrMapCom> shape;
    if (kind >= LegendKindBase) {
        if (CreateLegendMapCom)
            shape = CreateLegendMapCom(*this, kind - LegendKindBase, FCreatePoints);
    } else if (const TMapComCreator creator = FindMapComClass(kind)) {
        shape = creator(*this, FCreatePoints);
    }
    if (!shape)
        return nullptr;
    shape->OnChanged = [this](TVyrMapCom* changed) { MapComChanged(changed); };
    SetModified();
    return shape;
}

TVyrMapCom* TPlaneMap::AddMapCom(std::unique_ptr<TVyrMapCom> shape)
{
    FMapComs.push_back(std::move(shape));
    return FMapComs.back().get();
}

int TPlaneMap::SelectMapCom(TVyrMapCom* shape, bool clearFirst)
{
    if (clearFirst)
        ClearSelection();
    if (!shape)
        return -1;
    if (const int index = FSelection.IndexOf(shape); index >= 0)
        return index;
    shape->EnsureGrabHandles();
    const int index = FSelection.Add(shape);
    DoSelectChanged();
    ShowGrabHandles(true);
    return index;
}

void TPlaneMap::ClearSelection()
{
    FSelection.Clear();
    DoSelectChanged();
}

void TPlaneMap::ForgetShape(const TVyrMapCom* shape)
{
    if (FCaptureHandle && &FCaptureHandle->MapCom() == shape)
        FCaptureHandle = nullptr;
    if (FDrawingMapCom == shape) {
        FDrawingMapCom = nullptr;
        FCreatePoints.clear();
        if (FMouseState == mousestate::Drawing)
            FMouseState = mousestate::Idle;
    }
}

void TPlaneMap::DeleteMapCom(TVyrMapCom* shape, bool unselectOnly)
{
    if (FSelection.Contains(shape)) {
        FSelection.Remove(shape);
        // The removal repaints the shape's region (SelectionNotify), which
        // shows it unselected; drawing it at once on the screen as well
        // would leave its not-XOR selected drawing over that repaint.
        if (unselectOnly)
            if (TGrabHandles* handles = shape->GrabHandles())
                handles->Hide();
        DoSelectChanged();
    }
    if (unselectOnly)
        return;
    const int index = IndexOfMapCom(shape);
    if (index < 0)
        return;
    InvalidateMapCom(*shape);
    ForgetShape(shape);
    FMapComs.erase(FMapComs.begin() + index);
}

void TPlaneMap::FreeMapCom(TVyrMapCom* shape)
{
    FSelection.Remove(shape);
    ForgetShape(shape);
    std::unique_ptr<TVyrMapCom> owned;
    if (const int index = IndexOfMapCom(shape); index >= 0) {
        owned = std::move(FMapComs[static_cast<std::size_t>(index)]);
        FMapComs.erase(FMapComs.begin() + index);
    }
    InvalidateMapCom(*shape);
}

void TPlaneMap::MoveSelection(QPoint from, QPoint to)
{
    for (TVyrMapCom* shape : FSelection.List()) {
        shape->Invalidate();
        shape->MoveBy(from, to);
        shape->Invalidate();
    }
}

void TPlaneMap::MoveSelectionWorld(QPoint delta)
{
    for (TVyrMapCom* shape : FSelection.List()) {
        shape->Invalidate();
        shape->MoveWorld(delta);
        shape->Invalidate();
    }
}

void TPlaneMap::EndDrawing()
{
    FCreatePoints.clear();
    if (FMouseState == mousestate::Drawing)
        FMouseState = mousestate::Idle;
    TVyrMapCom* shape = std::exchange(FDrawingMapCom, nullptr);
    if (!shape)
        return;
    if (shape->IsValid()) {
        SelectMapCom(shape, true);
        shape->AfterCreate();
    } else {
        FreeMapCom(shape);
    }
    DoAddMapAfter();
}

// --- Commands ---

void TPlaneMap::DeleteAll()
{
    // A shape still being drawn is finished first, so that no reference to
    // it outlives the deletion.
    EndDrawing();
    if (FMapComs.empty())
        return;
    if (!ConfirmWarning(QStringLiteral("你真的要删除图形(%1个)吗，请确认?").arg(FMapComs.size())))
        return;
    while (!FMapComs.empty())
        DeleteMapCom(FMapComs.back().get(), false);
    SetModified();
}

void TPlaneMap::DeleteSelected()
{
    EndDrawing();
    if (FSelection.Count() == 0)
        return;
    if (!ConfirmWarning(QStringLiteral("你真的要删除当前选种中的%1个图形吗，请确认?").arg(FSelection.Count())))
        return;
    while (FSelection.Count() > 0)
        DeleteMapCom(FSelection.Items(FSelection.Count() - 1), false);
    SetModified();
}

void TPlaneMap::SelectAll()
{
    // Every shape is added and reported as SelectMapCom does it; the
    // handles of the whole selection are shown once at the end rather than
    // after each addition, which would make selecting all quadratic. A band
    // selects the same way.
    bool added = false;
    for (auto& shape : FMapComs)
        added = AddToSelection(shape.get()) || added;
    if (added)
        ShowGrabHandles(true);
}

bool TPlaneMap::AddToSelection(TVyrMapCom* shape)
{
    if (FSelection.Contains(shape))
        return false;
    shape->EnsureGrabHandles();
    FSelection.Add(shape);
    DoSelectChanged();
    return true;
}

void TPlaneMap::InvertSelection()
{
    const int count = FSelection.Count();
    SelectAll();
    for (int i = 0; i < count; ++i)
        DeleteMapCom(FSelection.Items(0), true);
}

void TPlaneMap::EditProperties()
{
    if (FSelection.Count() == 1)
        FSelection.Items(0)->EditProperty();
    else if (FSelection.Count() == 0 && FPropertyEditor
             && FPropertyEditor->EditPlaneProperty(DefaultPen, DefaultBrush, DefaultTextShow))
        SetModified();
}

namespace {

// Codes of SetSelectedAttribute.
namespace code {
constexpr unsigned PenStyle = 0;
constexpr unsigned PenWidth = 1;
constexpr unsigned PenColor = 2;
constexpr unsigned BrushStyle = 3;
constexpr unsigned BrushColor = 4;
constexpr unsigned FontName = 5;
constexpr unsigned FontSize = 6;
constexpr unsigned Bold = 7;
constexpr unsigned Italic = 8;
constexpr unsigned Underline = 9;
constexpr unsigned HorzAlign = 10;
constexpr unsigned VertAlign = 11;
constexpr unsigned FontColor = 12;
} // namespace code

void SetFontStyle(platform::TFont& font, platform::TFontStyle style, bool on)
{
    if (on)
        font.Style |= style;
    else
        font.Style &= static_cast<platform::TFontStyles>(~style);
}

void ApplyAttribute(TVyrMapCom& shape, unsigned c, const QVariant& value)
{
    const int number = value.toInt();
    switch (c) {
    case code::PenStyle:
        if (number >= 0 && number <= static_cast<int>(platform::TPenStyle::psInsideFrame))
            shape.Pen()->SetStyle(static_cast<platform::TPenStyle>(number));
        break;
    case code::PenWidth:
        shape.Pen()->SetWidth(number);
        break;
    case code::PenColor:
        shape.Pen()->SetColor(number);
        break;
    case code::BrushStyle:
        if (number >= 0 && number <= static_cast<int>(platform::TBrushStyle::bsDiagCross))
            shape.Brush()->SetStyle(static_cast<platform::TBrushStyle>(number));
        break;
    case code::BrushColor:
        shape.Brush()->SetColor(number);
        break;
    case code::FontName:
        shape.TextShow()->Font.Name = value.toString();
        break;
    case code::FontSize:
        shape.TextShow()->Font.Size = number;
        break;
    case code::Bold:
        SetFontStyle(shape.TextShow()->Font, platform::fsBold, value.toBool());
        break;
    case code::Italic:
        SetFontStyle(shape.TextShow()->Font, platform::fsItalic, value.toBool());
        break;
    case code::Underline:
        SetFontStyle(shape.TextShow()->Font, platform::fsUnderline, value.toBool());
        break;
    case code::HorzAlign:
        shape.TextShow()->SetHorzAlign(static_cast<std::int16_t>(number));
        break;
    case code::VertAlign:
        shape.TextShow()->SetVertAlign(static_cast<std::int16_t>(number));
        break;
    case code::FontColor:
        shape.TextShow()->Font.Color = number;
        break;
    default:
        break;
    }
}

} // namespace

void TPlaneMap::SetSelectedAttribute(int attributeCode, const QVariant& value)
{
    const unsigned c = static_cast<unsigned>(attributeCode);
    const std::uint8_t common = FSelection.CommonAttributes();
    const bool applies = ((common & attr::Pen) && c <= code::PenColor) ||
                         ((common & attr::Brush) && (c == code::BrushStyle || c == code::BrushColor)) ||
                         ((common & attr::Text) && c >= code::FontName && c <= code::FontColor);
    if (applies) {
        for (TVyrMapCom* shape : FSelection.List()) {
            ApplyAttribute(*shape, c, value);
            shape->Invalidate();
        }
    }
    SetModified();
}

void TPlaneMap::SetSelectedBrush(const TMapBrush& brush)
{
    if (!(FSelection.CommonAttributes() & attr::Brush))
        return;
    FSelection.AssignBrush(brush);
    for (TVyrMapCom* shape : FSelection.List())
        shape->Invalidate();
}

// --- Selection notification and grab handles ---

void TPlaneMap::SelectionNotify(TSelectMapComs& list, TVyrMapCom* shape, TListNotification action)
{
    if (FDestroying)
        return;
    FServices.InvalidateRect(action == TListNotification::lnDeleted ? RemovedShapeFrame(*shape) : PaintFrame(*shape));
    if (TGrabHandles* handles = shape->GrabHandles()) {
        if (action == TListNotification::lnAdded)
            handles->Show(true);
        else
            handles->Hide();
    }
    TMapPen* pen = list.CommonPen();
    if (!pen)
        pen = &DefaultPen;
    if (pen != FCurPen) {
        FCurPen = pen;
        DoCurPenChanged(pen);
    }
    TMapBrush* brush = list.CommonBrush();
    if (!brush)
        brush = &DefaultBrush;
    if (brush != FCurBrush) {
        FCurBrush = brush;
        DoCurBrushChanged(brush);
    }
    TTextShowSet* textShow = list.CommonTextShow();
    if (!textShow)
        textShow = &DefaultTextShow;
    if (textShow != FCurTextShow) {
        FCurTextShow = textShow;
        DoCurTextShowChanged(textShow);
    }
    DoSelectChanged();
}

QRect TPlaneMap::RemovedShapeFrame(const TVyrMapCom& shape)
{
    // A selection in plan order, as select all and a band make it, is
    // removed last first and meets its frames going down, past those of
    // the shapes not selected. A shape out of that order is not found below
    // and uses up the look-up: the rest work out their frames.
    while (FPressFramesBelow > 0) {
        const auto& [known, frame] = FBandFrames[--FPressFramesBelow];
        if (known == &shape)
            return frame;
    }
    return PaintFrame(shape);
}

void TPlaneMap::ShowGrabHandles(bool show)
{
    const bool single = FSelection.Count() == 1;
    for (TVyrMapCom* shape : FSelection.List()) {
        TGrabHandles& handles = shape->EnsureGrabHandles();
        if (!show) {
            handles.Hide();
            continue;
        }
        if (handles.Visible())
            handles.Hide();
        handles.Show(single);
    }
}

TGrabHandle* TPlaneMap::HandleAt(QPoint p) const
{
    const auto& list = FSelection.List();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (const TGrabHandles* handles = (*it)->GrabHandles())
            if (TGrabHandle* handle = handles->HandleAt(p))
                return handle;
    return nullptr;
}

void TPlaneMap::ApplyMethodToHandle(int handleIndex)
{
    if (FEditMethod == -1)
        return;
    if (FSelection.Count() != 1) {
        SetEditMethod(-1);
        return;
    }
    FSelection.Items(0)->DoMethod(FEditMethod, methodkind::HandleClick, QPoint(handleIndex, 0));
}

// --- Mouse ---

void TPlaneMap::DrawBand()
{
    if (!FCanvas)
        return;
    FCanvas->SetWorldTransform(QTransform());
    FCanvas->Pen = platform::TPen{platform::clBlack, platform::TPenStyle::psDot, 1, platform::TPenMode::pmNotXor};
    FCanvas->Brush.Style = platform::TBrushStyle::bsClear;
    const TRect r = TRect::Spanning(FDragStart, FDragEnd);
    FCanvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}

void TPlaneMap::MouseDown(TMouseButton button, TShiftState shift, QPoint p)
{
    if (TGrabHandle* handle = HandleAt(p)) {
        FCaptureHandle = handle;
        handle->MouseDown(button, p);
        return;
    }
    FMouseState = mousestate::Idle;
    if (FEditMethod >= 0) {
        FMouseState = mousestate::Method;
        return;
    }
    if (button != TMouseButton::mbLeft || (shift & ssDouble))
        return;
    ClipCursorToPaper();

    if (FDrawKind != 0) {
        FMouseState = mousestate::Drawing;
        FCreatePoints.push_back(p);
        if (FCreatePoints.size() == 1) {
            ClearSelection();
            FCreatePoints.push_back(p);
            std::unique_ptr<TVyrMapCom> shape = CreateMapCom(FDrawKind);
            if (!shape) {
                FCreatePoints.clear();
                FMouseState = mousestate::Idle;
                return;
            }
            FDrawingMapCom = AddMapCom(std::move(shape));
        } else if (!FDrawingMapCom) {
            FCreatePoints.clear();
            FMouseState = mousestate::Idle;
            return;
        } else if (FDrawingMapCom->GetMaxPoints() < CreatePointCount()) {
            FCreatePoints.pop_back();
            FMouseState = mousestate::Idle;
            FServices.ShowMessage(QStringLiteral("线段太多"));
            return;
        } else {
            FDrawingMapCom->AddCreatingPoint(p);
        }
        if (FCanvas)
            FDrawingMapCom->DrawCreating(*FCanvas, CreatePointCount());
        return;
    }

    FDragStart = FDragEnd = p;
    TVyrMapCom* hit = nullptr;
    FBandFrames.clear();
    FBandScale = ScaleFactor();
    FBandOrigin = Origin;
    for (auto& shape : FMapComs) {
        // A shape is hit within 5 pixels of what it draws, so never outside
        // its repaint frame grown by that much: the others need no test.
        const QRect frame = PaintFrame(*shape);
        FBandFrames.emplace_back(shape.get(), frame);
        if (!frame.adjusted(-HitReach, -HitReach, HitReach, HitReach).contains(p))
            continue;
        if (shape->HitTest(p)) {
            hit = shape.get();
            break;
        }
    }
    if (hit && (shift & ssShift)) {
        if (FSelection.Contains(hit))
            FSelection.Remove(hit);
        else
            FSelection.Add(hit);
        ShowGrabHandles(true);
        return;
    }
    if (hit) {
        if (!FSelection.Contains(hit))
            SelectMapCom(hit, true);
        ClipCursorToPaper();
        ShowGrabHandles(false);
        FMouseState = mousestate::Moving;
        FMovePress = p;
        FMoveDoneWorld = QPoint();
        return;
    }
    if (shift & ssShift)
        return;
    // Nothing was hit, so the pass above found the frame of every shape,
    // and nothing has moved a shape since: the removals repaint those.
    FPressFramesBelow = FBandFrames.size();
    ClearSelection();
    FPressFramesBelow = 0;
    FMouseState = mousestate::Band;
    DrawBand();
}

void TPlaneMap::MouseMove(TShiftState shift, QPoint p)
{
    if (FCaptureHandle) {
        FCaptureHandle->MouseMove(p);
        return;
    }
    switch (FMouseState) {
    case mousestate::Drawing:
        if (!FDrawingMapCom || FDrawingMapCom->GetMaxPoints() < CreatePointCount())
            return;
        if (FCanvas)
            FDrawingMapCom->DrawCreating(*FCanvas, CreatePointCount());
        FDrawingMapCom->SetCreatingPoint(CreatePointCount() - 1, p);
        if (FCanvas)
            FDrawingMapCom->DrawCreating(*FCanvas, CreatePointCount());
        break;
    case mousestate::Band:
        DrawBand();
        FDragEnd = p;
        DrawBand();
        break;
    case mousestate::Moving: {
        // Every step moves the selection by what the whole drag has gained
        // in snapped world units, so the steps add up to the drag.
        const QPoint total = SnappedWorld(p - FMovePress);
        const QPoint step = total - FMoveDoneWorld;
        if (!step.isNull()) {
            MoveSelectionWorld(step);
            FMoveDoneWorld = total;
        }
        FDragStart = FDragEnd = p;
        break;
    }
    default:
        break;
    }
    if (onMouseMove)
        onMouseMove(this, shift, p);
}

void TPlaneMap::MouseUp(TMouseButton /*button*/, TShiftState /*shift*/, QPoint p)
{
    if (TGrabHandle* handle = std::exchange(FCaptureHandle, nullptr)) {
        handle->MouseUp(p);
        return;
    }
    ReleaseCursorClip();
    switch (FMouseState) {
    case mousestate::Drawing:
        if (FDrawKind > 0 && FDrawingMapCom && CreatePointCount() >= FDrawingMapCom->GetMaxPoints())
            EndDrawing();
        break;
    case mousestate::Band: {
        DrawBand();
        const TRect r = TRect::Spanning(FDragStart, FDragEnd);
        // A shape lies within its repaint frame: one whose frame the band
        // misses is not in it. The frames of the press serve while the plan
        // still holds the same shapes at the same scale; with nothing
        // selected while the band is drawn, no command moves a shape.
        const QRect band(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom));
        const bool framesHold = FBandFrames.size() == FMapComs.size() && FBandScale == ScaleFactor() &&
                                FBandOrigin == Origin;
        for (std::size_t i = 0; i < FMapComs.size(); ++i) {
            TVyrMapCom* shape = FMapComs[i].get();
            if (framesHold && FBandFrames[i].first == shape &&
                !FBandFrames[i].second.adjusted(-HitReach, -HitReach, HitReach, HitReach).intersects(band))
                continue;
            if (shape->InRect(r))
                AddToSelection(shape);
        }
        ShowGrabHandles(true);
        break;
    }
    case mousestate::Moving:
        ShowGrabHandles(true);
        // Moved shapes are a change of the plan like any other.
        if (!FMoveDoneWorld.isNull())
            SetModified();
        FMoveDoneWorld = QPoint();
        break;
    case mousestate::Method:
        if (FSelection.Count() == 1)
            FSelection.Items(0)->DoMethod(FEditMethod, methodkind::MapClick, p);
        else
            SetEditMethod(-1);
        break;
    default:
        break;
    }
    FMouseState = mousestate::Idle;
}

void TPlaneMap::DblClick()
{
    if (FDrawKind > 0)
        EndDrawing();
}

} // namespace siteplan
