// Top layer of the network control: the drawing settings of the rulers, the
// picture frame, the resource rows and the duty table, the three handle
// panels of the selected work, and the network file. The control is the
// root object of its own component stream ("TVYRNetwork"): its property
// table lists what a network file holds, in stream order.
//
// Ownership: the control owns its fonts, its texts and the records through
// which the stream reads and writes its nodes, works and handle panels.
#pragma once

#include "network/drawing/network_add_draw.h"
#include "network/drawing/work_grid.h"

#include "platform/gbk_text.h"
#include "platform/stream/stored_font.h"
#include "platform/stream/stored_strings.h"
#include "platform/stream/stream_object.h"

#include <QImage>
#include <QSize>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>

namespace network {

// Ruler row kinds, by bit position; a set draws from the lowest member up.
enum TTableTopStyleMember : std::uint8_t { tsSchedule, tsYear, tsMoon, tsPeriod, tsWorkWeek, tsWeek, tsDay };
using TTableTopStyle = std::uint8_t;
inline constexpr TTableTopStyle TableTopStyleAll = 0x7F;
constexpr TTableTopStyle TopStyleOf(std::initializer_list<TTableTopStyleMember> members)
{
    TTableTopStyle bits = 0;
    for (const TTableTopStyleMember m : members)
        bits = static_cast<TTableTopStyle>(bits | (1u << m));
    return bits;
}

// Resource rows of an export, by bit position.
enum TResourceStyleMember : std::uint8_t { rsLabor, rsWorkforce };
using TResourceStyle = std::uint8_t;
inline constexpr TResourceStyle ResourceStyleAll = 0x03;

// Mouse input of the control's handlers.
enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
using TShiftState = std::uint8_t;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;

class NodeRecords;
class WorkRecords;
class StoredLankPanel;
class TGlideTemplet;

class TVYRNetwork : public TVYRNetworkAddDraw, public stream::StreamObject {
public:
    explicit TVYRNetwork(platform::WindowServices& services);
    ~TVYRNetwork() override;

    // Placement of the control in its host. A control that has not been
    // placed stands at (0, 0) and is 320 x 240 pixels.
    int Tag() const { return m_tag; }
    void SetTag(int value) { m_tag = value; }
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetBounds(int left, int top, int width, int height);
    // The cursor shown over the control: the hand in draw state 4, else the
    // default arrow.
    int Cursor() const { return m_cursor; }
    const QString Hint() const { return m_hint.Text(); }
    void SetHint(const QString& value) { m_hint.SetText(value); }
    int HelpContext() const { return m_helpContext; }
    void SetHelpContext(int value) { m_helpContext = value; }

    // The drawing caption.
    QString Text() const { return m_text.Text(); }
    void SetText(const QString& value);

    // Fonts of the picture caption, the duty table and the network notes.
    // The setters copy the given font's attributes into the owned font.
    platform::TFont CapFont() const;
    void SetCapFont(const platform::TFont& value);
    platform::TFont DutyFont() const;
    void SetDutyFont(const platform::TFont& value);
    platform::TFont NetFont() const;
    void SetNetFont(const platform::TFont& value);

    TTableTopStyle TopStyle() const { return m_topStyle; }
    void SetTopStyle(TTableTopStyle value);
    TTableTopStyle BottomStyle() const { return m_bottomStyle; }
    void SetBottomStyle(TTableTopStyle value);
    // Values below 2 become 2.
    int ScheduleInterval() const { return m_scheduleInterval; }
    void SetScheduleInterval(int value);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value) { m_autoSize = value; }
    // Margins of an exported picture in millimetres: values below 2 become
    // 2, below 5 for the top margin.
    int LeftLank() const { return m_leftLank; }
    void SetLeftLank(int value);
    int RightLank() const { return m_rightLank; }
    void SetRightLank(int value);
    int TopLank() const { return m_topLank; }
    void SetTopLank(int value);
    int BottomLank() const { return m_bottomLank; }
    void SetBottomLank(int value);
    // Values below 2 become 2.
    int LankLineWidth() const { return m_lankLineWidth; }
    void SetLankLineWidth(int value);
    // Height of a ruler row; values below 5 become 5.
    int ScheduleHeight() const { return m_scheduleHeight; }
    void SetScheduleHeight(int value);

    // Resource rows of an export and the day lines; the setters only store.
    int ResourceHeight() const { return m_resourceHeight; }
    void SetResourceHeight(int value) { m_resourceHeight = value; }
    TResourceStyle ResourceStyle() const { return m_resourceStyle; }
    void SetResourceStyle(TResourceStyle value) { m_resourceStyle = static_cast<TResourceStyle>(value & ResourceStyleAll); }
    platform::TColor ResourceColor() const { return m_resourceColor; }
    void SetResourceColor(platform::TColor value) { m_resourceColor = value; }
    bool ShowDayLine() const { return m_showDayLine; }
    void SetShowDayLine(bool value) { m_showDayLine = value; }

    // The duty table of an export.
    bool ShowDuty() const { return m_showDuty; }
    void SetShowDuty(bool value) { m_showDuty = value; }
    int DutyWidth() const { return m_dutyWidth; }
    void SetDutyWidth(int value) { m_dutyWidth = value; }
    int DutyHeight() const { return m_dutyHeight; }
    void SetDutyHeight(int value) { m_dutyHeight = value; }
    stream::StoredStrings& NetText() { return m_netText; }
    const stream::StoredStrings& NetText() const { return m_netText; }
    QString DutyName() const { return m_dutyName.Text(); }
    void SetDutyName(const QString& value) { m_dutyName.SetText(value); }
    QString DutyEngineer() const { return m_dutyEngineer.Text(); }
    void SetDutyEngineer(const QString& value) { m_dutyEngineer.SetText(value); }
    QString DutyPlot() const { return m_dutyPlot.Text(); }
    void SetDutyPlot(const QString& value) { m_dutyPlot.SetText(value); }
    QString DutyAuditing() const { return m_dutyAuditing.Text(); }
    void SetDutyAuditing(const QString& value) { m_dutyAuditing.SetText(value); }
    QString DutyCollate() const { return m_dutyCollate.Text(); }
    void SetDutyCollate(const QString& value) { m_dutyCollate.SetText(value); }

    // Editing mode chosen by the main window's editing actions.
    std::uint8_t DrawState() const { return m_drawState; }
    void SetDrawState(std::uint8_t value);

    using TWorkChanged = std::function<void(TVYRNetwork& sender, TWorkItem* work)>;
    using TDrawStateChanged = std::function<void(TVYRNetwork& sender)>;
    // The property dialog on a work, a node, or with both nil the drawing
    // settings; returns whether it was confirmed.
    using TEditItemProperties = std::function<bool(TVYRNetwork& sender, TWorkItem* work, TNodeItem* node)>;
    void SetOnWorkChanged(TWorkChanged handler) { m_onWorkChanged = std::move(handler); }
    void SetOnDrawStateChanged(TDrawStateChanged handler) { m_onDrawStateChanged = std::move(handler); }
    void SetOnEditItemProperties(TEditItemProperties handler) { m_onEditItemProperties = std::move(handler); }

    // Mouse editing by draw state; points in control coordinates.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void DblClick();
    void CancelDrawing();
    bool EditEnabled() const { return m_editEnabled; }
    void SetEditEnabled(bool value);
    const TPointList& PendingPoints() const { return m_pendingPoints; }
    std::uint8_t Elbow() const { return m_elbow; }
    float DragDuration() const { return m_dragDuration; }
    void DoWorkChanged(TWorkItem* work);

    // Hit tests and conversions.
    int RowFromY(int y) const;
    int SnapY(int y) const;
    int SnapX(int x);
    TNodeItem* NodeAt(int x, int y);
    TWorkItem* WorkAt(int x, int y);
    float TimeAlongAxis(int x) const;
    float OffsetAtX(int x) const;

    // Edits; P in control coordinates, EndPoint in drawing coordinates.
    void AddWorkTo(QPoint endPoint);
    void DeleteWork(TWorkItem& work);
    void SplitWork(TWorkItem& work, QPoint p);
    bool EditItemProperties(TWorkItem* work, TNodeItem* node);

    // The handles of the selected work in draw state 6. A press on a handle
    // grabs it (HandleMoved); the host moves it with DragHandle and drops it
    // with DropHandle, which applies the move.
    void HideHandles() override;
    void ShowHandles(const TPointList& points, TWorkItem& work) override;
    void HandleMoved(TLankPanel& handle) override;
    TLankPanel* GrabbedHandle() const { return m_grabbedHandle; }
    void DragHandle(QPoint topLeft);
    void DropHandle();
    // The handle under a point, or nullptr.
    TLankPanel* HandleAt(QPoint p);

    // Ruler rows (one per TTableTopStyle member) drawn at left x and top y,
    // ScheduleHeight high, covering days working days; with a label box
    // first when withLabel.
    void DrawScheduleRow(platform::Canvas& canvas, int x, bool withLabel, int y, float days);
    void DrawYearRow(platform::Canvas& canvas, int x, bool withLabel, int y, float days);
    void DrawMonthRow(platform::Canvas& canvas, int x, bool withLabel, int y, float days);
    void DrawPeriodRow(platform::Canvas& canvas, int x, bool withLabel, int y, float days);
    void DrawWorkWeekRow(platform::Canvas& canvas, int x, bool withLabel, int y, float days);
    void DrawWeekRow(platform::Canvas& canvas, int x, bool withLabel, int y, float days);
    void DrawDayRow(platform::Canvas& canvas, int x, bool withLabel, int y, float days);
    void DrawRulerRow(TTableTopStyleMember row, platform::Canvas& canvas, int x, bool withLabel, int y, float days);
    // The outer frame of an exported picture of size; advances y.
    void DrawFrame(platform::Canvas& canvas, QSize size, int& y);
    static int RowCount(TTableTopStyle style);
    static int ResourceRowCount(TResourceStyle style);
    // A margin in millimetres as screen pixels (96 per inch).
    static int MarginToPixels(int mm);
    // Pixel size of an exported picture at 100 per cent, summed in 64 bits
    // and saturated; BitMapSizeAllowed is false when a side exceeds
    // MaxBitMapSide, and the exports refuse such a picture.
    std::int64_t BitMapWidth();
    std::int64_t BitMapHeight();
    bool BitMapSizeAllowed();
    static constexpr std::int64_t MaxBitMapSide = 32767;

    // Resource rows: per-day amounts indexed by day 0 to highest, entry j
    // for the day from schedule time j - 1 to j. ResourceDays is the array
    // for the network's total time (empty beyond MaxResourceDays days).
    static constexpr std::int64_t MaxResourceDays = 1'000'000;
    std::vector<float> ResourceDays() const;
    // Adds every work's share of kind (0 labour, 1 workers) to the days it
    // covers; shares outside days 1 to highest are dropped.
    void AccumulateResource(std::vector<float>& values, std::int64_t highest, int kind) const;
    void DrawResourceRow(const std::vector<float>& values, std::int64_t highest, bool withCaption, int y,
                         const QString& caption, int x, platform::Canvas& canvas);
    // Dotted lines at every day from day 0 to span, from bottom up to top.
    void DrawDayLines(platform::Canvas& canvas, int x, bool withLabel, int top, float span, int bottom);
    // The rulers and day lines, then the works and nodes.
    void Paint() override;

    bool HasSelectedWork() const { return Works().GetSelectedWork() != nullptr; }

    // Repaint requests. Outside a tracked edit a change invalidates the
    // whole control. A tracked edit (a retime or node drag, a moved
    // selection) compares every work's and node's painted state before and
    // after it and invalidates only the boxes, old and new, of the items
    // that look different; the host coalesces them until it paints. The
    // state taken after one edit serves as the state before the next until
    // anything else invalidates the control or a press starts a new drag.
    void Invalidate() override;
    void RunTrackedEdit(const std::function<void()>& edit);
    void ForgetPainted();

    // Work groups. CopyWorks stores the selected works, which must start
    // from one node, as a templet in CopyStream; PasteWorks rebuilds the
    // stored group from node, or with node nil in place of work. A damaged
    // copy raises stream::StreamError before the network changes.
    void CopyWorks();
    void PasteWorks(TNodeItem* node, TWorkItem* work);
    // Rebuilds a templet read from a copy stream; the templet's nodes record
    // the network nodes that stand for them.
    void PasteTemplet(TGlideTemplet& templet, TNodeItem* node, TWorkItem* work);
    bool CanPaste() const;
    const std::optional<QByteArray>& CopyStream() const { return m_copyStream; }

    // Flow processes (draw state 10). The table has one row per process:
    // its name, then the rhythm text of each section. RunGlideWizard asks
    // the host's parameter dialog for the table, the layer count and the
    // line distance; GenerateGlide adds the pattern from node, or with a
    // work in that work's place. Rhythms are all checked before anything
    // changes; a bad one, or a pattern of more than MaxGlideWorks works,
    // is refused with a message.
    using TGlideTable = std::vector<QStringList>;
    using TRunGlideWizard = std::function<bool(TVYRNetwork& sender, TGlideTable& table, int& layers, int& lineDistance)>;
    void SetOnRunGlideWizard(TRunGlideWizard handler) { m_onRunGlideWizard = std::move(handler); }
    bool RunGlideWizard(TGlideTable& table, int& layers, int& lineDistance);
    void GenerateGlide(TNodeItem* node, TWorkItem* work, const TGlideTable& table, int layers, int lineDistance);
    static constexpr std::int64_t MaxGlideWorks = 1000000;

    // The component stream.
    QByteArray ClassName() const override { return "TVYRNetwork"; }
    const stream::PropertyTable& Properties() const override;
    std::vector<const StreamObject*> Children() const override;
    // The first three stored handle panels give the places of the start,
    // end and bend handles; further ones are dropped, so that the control
    // always writes exactly its own three.
    void AddChild(std::unique_ptr<StreamObject> child) override;
    // Ends a read: applies the fonts read, clears Loading, takes the cursor
    // from the draw state, recomputes the schedule and the offset columns
    // and clears Modified. Raises stream::StreamError for two nodes with the
    // same NewID.
    void FinishLoading();

    // Font read for a work (kept while the work's font is unchanged, so a
    // stored height is written back as read).
    stream::StoredFont& StoredWorkFont(const TWorkItem& work);
    stream::StoredFont WorkFontToWrite(const TWorkItem& work) const;

protected:
    virtual void EnterDrawState();

private:
    friend class NetworkTable;

    int CursorOfDrawState() const;
    // Left of the cells of a ruler row: after the label box when withLabel.
    int RowStart(platform::Canvas& canvas, int x, bool withLabel, int y, const QString& label);
    int AxisX(int x0, double t) const;
    void DrawCell(platform::Canvas& canvas, int left, int right, int y, const QString& text);
    // Text centred in rect on the clear brush, then rect widened by one
    // pixel framed in the ruler colour (a clear brush would frame nothing).
    void DrawFramedText(platform::Canvas& canvas, const QRect& rect, const QString& text);
    // On the screen canvas the first day from 0 to last whose axis pixel
    // reaches the clip's left edge less reach; 0 on other canvases.
    std::int64_t FirstDayReaching(platform::Canvas& canvas, int x0, std::int64_t last, int reach) const;
    // The clip's right edge on the screen canvas, else no limit.
    int ClipRightOf(platform::Canvas& canvas) const;
    void DrawCalendarCells(platform::Canvas& canvas, int x0, int y, float days, int kind);
    void DrawStepCells(platform::Canvas& canvas, int x0, int y, float days, bool weekdays);
    platform::Canvas& MeasureBitmap();
    // What decides the pixels of a work or a node on the screen, and the box
    // they are painted in (drawing coordinates).
    struct TPaintedWork {
        int Index = 0;
        const TWorkItem* Item = nullptr;
        TPointList Polyline;
        float Finish = 0.0f;
        float Start = 0.0f;
        float Duration = 0.0f;
        float Diapause = 0.0f;
        bool Key = false;
        bool Selected = false;
        bool Virtual = false;
        QString Caption;
        bool ParentFont = true;
        platform::TFont Font;
        QRect Box;
        bool SameLook(const TPaintedWork& other) const;
    };
    struct TPaintedNode {
        int Index = 0;
        const TNodeItem* Item = nullptr;
        QPoint Position;
        int Number = 0;
        bool Key = false;
        bool Selected = false;
        bool Last = false;
        bool SameLook(const TPaintedNode& other) const;
    };
    struct TPaintedState {
        bool Valid = false;
        QPoint Origin;
        std::vector<TOffsetColumn> Columns;
        // The visible area in drawing coordinates, and the counts of all
        // works and nodes; only the items that reach the visible area are
        // kept, in collection order.
        QRect Visible;
        int WorkCount = 0;
        int NodeCount = 0;
        std::vector<TPaintedWork> Works;
        std::vector<TPaintedNode> Nodes;
    };
    void CapturePainted(TPaintedState& state);
    // The area the screen canvas shows, in the control's coordinates.
    QRect VisibleArea();
    QRect NodePaintBox(const TPaintedNode& node);
    // The last day the rulers and day lines reach at the control's width.
    std::int64_t LastScreenDay();
    void DrawRubberBand(const TPointList& points, std::uint8_t elbow);
    void BandSelect(QPoint e);
    void WorkSelectChanged(TWorkItem* work) override;
    void DropBendHandle(TWorkItem& w, QPoint q);
    void DropStartHandle(TWorkItem& w, QPoint q);
    void DropEndHandle(TWorkItem& w, QPoint q);
    void GlidePress(int x, int y);
    // False when linking from to to (NewIDs) would close a cycle.
    bool LinkKeepsOrder(int from, int to) const;
    // The stored form of a control font, refreshed from the font in use.
    stream::StoredFont* FontRecord() const;

    int m_tag = 0;
    int m_left = 0;
    int m_top = 0;
    int m_width = 320;
    int m_height = 240;
    int m_cursor = platform::cursor::kDefault;
    platform::StoredText m_hint;
    int m_helpContext = 0;
    platform::StoredText m_text;

    mutable stream::StoredFont m_fontRecord;
    stream::StoredFont m_capFont;
    stream::StoredFont m_dutyFont;
    stream::StoredFont m_netFont;
    TTableTopStyle m_topStyle = TopStyleOf({tsSchedule, tsMoon, tsDay});
    TTableTopStyle m_bottomStyle = TopStyleOf({tsSchedule, tsMoon, tsDay});
    int m_scheduleInterval = 10;
    bool m_autoSize = true;
    int m_leftLank = 20;
    int m_rightLank = 20;
    int m_topLank = 20;
    int m_bottomLank = 20;
    int m_lankLineWidth = 4;
    int m_scheduleHeight = 16;
    int m_resourceHeight = 50;
    TResourceStyle m_resourceStyle = 0;
    platform::TColor m_resourceColor = platform::clRed;
    bool m_showDayLine = true;
    bool m_showDuty = true;
    int m_dutyWidth = 200;
    int m_dutyHeight = 16;
    stream::StoredStrings m_netText;
    platform::StoredText m_dutyName;
    platform::StoredText m_dutyEngineer;
    platform::StoredText m_dutyPlot;
    platform::StoredText m_dutyAuditing;
    platform::StoredText m_dutyCollate;

    std::uint8_t m_drawState = 0;
    TPointList m_pendingPoints;
    bool m_swallowNextPress = false;
    int m_dragKind = 0;
    std::uint8_t m_elbow = 0;
    TNodeItem* m_startNode = nullptr;
    bool m_editEnabled = false;
    float m_dragDuration = 0.0f;
    QPoint m_dragOrigin;
    TWorkItem* m_pickedWork = nullptr;
    float m_pickedDuration = 0.0f;
    int m_rowOffsetDrawn = 0;
    QPoint m_pressPoint;
    TLankPanel* m_grabbedHandle = nullptr;
    QPoint m_handleOrigin;
    TWorkChanged m_onWorkChanged;
    TDrawStateChanged m_onDrawStateChanged;
    TEditItemProperties m_onEditItemProperties;
    std::optional<QByteArray> m_copyStream;
    TRunGlideWizard m_onRunGlideWizard;

    TPaintedState m_painted;
    // The works' bounds during a band drag, indexed; Last is the band of
    // the previous move.
    struct TBandIndex {
        WorkGrid Grid;
        std::vector<QRect> Bounds;
        std::vector<int> Found;
        QRect Last;
    };
    std::unique_ptr<TBandIndex> m_band;
    bool m_bandSelecting = false;
    bool m_trackingEdit = false;
    bool m_editInvalidated = false;

    QImage m_measureImage;
    std::unique_ptr<platform::Canvas> m_measureBitmap;
    std::unique_ptr<NodeRecords> m_nodeRecords;
    std::unique_ptr<WorkRecords> m_workRecords;
    mutable std::unique_ptr<StoredLankPanel> m_panelRecords[3];
    int m_panelsRead = 0;
    // Fonts read for works, by work ID.
    std::unordered_map<int, stream::StoredFont> m_workFonts;
};

// The size a stored font draws at: its own between 1 and 500 points (a
// stored positive cell height gives a negative size, taken as its
// magnitude), else fallback.
platform::TFont SaneFont(platform::TFont font, int fallbackSize);

// Registers TVYRNetwork and TLankPanel with the stream's class registry;
// the network file reader calls it.
void RegisterNetworkClasses();

} // namespace network
