// Second layer of the network control: it places the network on a time
// axis with a working-day calendar and on rows, and draws it: node circles
// with their numbers and the end flag, and each work as an axis-parallel
// polyline split into solid, dotted and wavy pieces, with jump-over arcs,
// an arrowhead and its texts. It owns the three handle panels of the
// selected work and the mouse drags that move nodes and change durations.
// The editing layer derives from it.
//
// Drawing positions are relative to the drawing origin (GetOrigin); every
// routine that draws takes the canvas and the origin. The screen canvas is
// the host's back buffer, set with SetCanvas: selection colours and the
// skipping of items outside the clip area apply on it only.
#pragma once

#include "network/drawing/lank_panel.h"
#include "network/drawing/offset_columns.h"
#include "network/drawing/offset_shift.h"
#include "network/drawing/vyr_draw_tool.h"
#include "network/drawing/work_calendar.h"
#include "network/network_add_node_work.h"

#include <QPoint>
#include <QRect>

#include <cstdint>
#include <memory>
#include <vector>

namespace network {

struct WorkTextMetrics;
struct WorkPieces;

// The pixel interval (From, To) an idle column takes in the drawing.
struct TOffsetColumn {
    int From = 0;
    int To = 0;
    friend bool operator==(const TOffsetColumn&, const TOffsetColumn&) = default;
};

class TVYRNetworkAddDraw : public TVYRNetworkAddNodeWork {
public:
    explicit TVYRNetworkAddDraw(platform::WindowServices& services);
    ~TVYRNetworkAddDraw() override;

    // The screen canvas (not owned); nullptr while the host has none.
    void SetCanvas(platform::Canvas* canvas) { m_canvas = canvas; }
    platform::Canvas* Canvas() const { return m_canvas; }

    // The control's background colour and the font of its ruler texts.
    platform::TColor Color() const { return m_color; }
    void SetColor(platform::TColor value);
    const platform::TFont& Font() const { return m_font; }
    void SetFont(const platform::TFont& value);

    // Settings of the time axis and the calendar. Sizes below 1 are
    // ignored, as are start dates that are not finite or lie outside years
    // 1 to 9999.
    double StartDate() const { return m_startDate; }
    void SetStartDate(double value);
    double EndDate() const;
    int StartJinDu() const { return m_startJinDu; }
    void SetStartJinDu(int value);
    int TopLineID() const { return m_topLineID; }
    void SetTopLineID(int value);
    int TopLinePosition() const { return m_topLinePosition; }
    void SetTopLinePosition(int value);
    int SmallMove();
    int RulerHeight();
    platform::TColor RulerLineColor() const { return m_rulerLineColor; }
    void SetRulerLineColor(platform::TColor value);
    int SmallWidth() const { return m_smallWidth; }
    void SetSmallWidth(int value);
    int SmallDate() const { return m_smallDate; }
    void SetSmallDate(int value);
    int SmallLineSpace() const { return m_smallLineSpace; }
    void SetSmallLineSpace(int value);
    TRecessDate RecessDate() const { return m_recessDate; }
    void SetRecessDate(TRecessDate value);
    int LeftLankWidth();
    float WorkLimit() const { return m_workLimit; }
    void SetWorkLimit(float value);
    bool ShowRedFlag() const { return m_showRedFlag; }
    void SetShowRedFlag(bool value);
    platform::TColor RedFlagColor() const { return m_redFlagColor; }
    void SetRedFlagColor(platform::TColor value);

    // Calendar of RecessDate.
    bool IsWorkDay(double date) const;
    std::int32_t CountWorkDays(double from, double to) const;
    double WorkDayToDate(std::int64_t n, double start) const;

    // Offsets and time axis.
    const std::vector<TOffsetColumn>& OffsetColumns() const { return m_offsetColumns; }
    float OffsetTotal() const { return m_offsetTotal; }
    void BuildOffsetColumns();
    QPoint GetOrigin();
    int TimeToX(float t) const;
    int RowToY(int row) const;
    float ShiftTime(float x, bool atOrBefore) const;
    float AddOffsets(float t) const;
    QPoint GetNodePosition(const TNodeItem* node) const;

    // Handle panels of the selected work.
    TLankPanel& StartHandle() { return *m_startHandle; }
    TLankPanel& EndHandle() { return *m_endHandle; }
    TLankPanel& BendHandle() { return *m_bendHandle; }
    // A handle was pressed.
    virtual void HandleMoved(TLankPanel& handle);
    // Places the handles on the points of the selected work (the editing
    // layer does it); called by GetWorkPolyline except while an export draws.
    virtual void ShowHandles(const TPointList& points, TWorkItem& work);
    // While set, drawing is for an export: the handles stay where they are.
    bool Exporting() const { return m_exporting; }
    void SetExporting(bool value) { m_exporting = value; }

    // Painting.
    virtual void Paint();
    void PaintNetwork();
    void DrawWorks(platform::Canvas& canvas, QPoint origin);
    void DrawNodes(platform::Canvas& canvas, QPoint origin);
    void NodeSelectChanged(TNodeItem* node) override;
    void WorkSelectChanged(TWorkItem* work) override;

    platform::TColor GetWorkColor(const TWorkItem& work) const;
    int GetWorkPenWidth(const TWorkItem& work) const;
    // The work's polyline in drawing coordinates; empty when its start
    // node is missing, and only the start point when its end node is.
    TPointList GetWorkPolyline(TWorkItem& work);
    void ShortenPolyline(TPointList& polyline) const;
    static int ArrowDirection(const TPointList& polyline);
    void SplitWorkPolyline(const TWorkItem& work, const TPointList& polyline, TPointList& wave, TPointList& dotted,
                           TPointList& solid, bool noGaps) const;
    // Pieces that do not meet reach (when given) are kept whole: a screen
    // repaint looks for the jump-overs of the pieces that can show only.
    void BuildCrossings(TPointList& solid, TPointList& crossPoints, std::vector<int>& crossKinds,
                        const QRect* reach = nullptr);
    static bool NeedArrowHead(const TPointList& solid, const TPointList& dotted, QPoint endPoint,
                              const TPointList& wave);
    void DrawWork(platform::Canvas& canvas, TWorkItem& work, QPoint origin);
    void DrawWorkText(platform::Canvas& canvas, const TWorkItem& work, const QRect& textRect);
    void DrawNode(platform::Canvas& canvas, TNodeItem& node, QPoint origin);

    // Inclusive bounds of the work's shortened polyline; a null rectangle
    // for a work with a missing node.
    QRect GetWorkBounds(TWorkItem& work);
    static QRect PolylineBounds(const TPointList& polyline);
    static bool RectsMeet(const QRect& a, const QRect& b);
    // A box, in drawing coordinates, that holds everything DrawWork paints
    // for the work on the screen canvas: the whole plane when its name has
    // characters whose width is not bounded, empty without both nodes.
    // Inside a paint pass it reuses the pass's geometry; outside one it
    // computes the work's alone.
    QRect WorkPaintBox(TWorkItem& work);

    // Mouse drags, points in control coordinates.
    void DragWorkDuration(TWorkItem& work, QPoint from, float oldDuration, QPoint to);
    void DragNodeOffset(QPoint from, QPoint to);
    void MoveSelection(QPoint from, QPoint to);

protected:
    // Geometry computed once and kept from one paint pass to the next while
    // nothing it is made of changes; passes nest, and the model must not
    // change while one is open.
    void BeginPaintPass();
    void EndPaintPass();

private:
    struct PaintPass;
    struct WorkGeometry;
    struct PieceCache;

    bool HasBothNodes(const TWorkItem& work) const;
    TPointList ComputeWorkPolyline(TWorkItem& work);
    void FillWorkPolyline(TWorkItem& work, TPointList& points);
    // The polyline from node to node with its bends, before the line
    // offset; false when a node is missing.
    bool BendWorkPolyline(TWorkItem& work, TPointList& points);
    void ApplyLineOffset(TPointList& points) const;
    // Compares what the kept geometry is made of with the network now,
    // taking the new values; true when nothing changed.
    bool KeyStays();
    // The works whose paint boxes meet clip (drawing coordinates), in
    // collection order.
    const std::vector<int>& ShownWorks(platform::Canvas& canvas, const QRect& clip);
    WorkGeometry& Geometry(TWorkItem& work);
    // The geometry of one work computed outside a paint pass.
    WorkGeometry SingleGeometry(TWorkItem& work);
    const TPointList& NoGapSolid(TWorkItem& work);
    // Checks the kept pieces against what every work's pieces are made of
    // now, dropping them all when anything differs.
    void CheckKeptPieces();
    // The kept pieces of a work, made now when not known; nullptr outside
    // an ordered drawing of the works.
    const WorkPieces* KeptPieces(TWorkItem& work, const WorkGeometry& geometry);
    void AppendNoGapSolid(TWorkItem& work, TPointList& out);
    // Drawn works whose bounds meet bounds, in collection order; in a paint
    // pass only those with a line in the cells of near.
    void CrossingCandidates(const QRect& bounds, const QRect& near, std::vector<TWorkItem*>& out);
    // The duration text of a work, with its interval.
    static QString WorkValueText(const TWorkItem& work);
    // The same, kept from one paint to the next while its values stay.
    QString KeptValueTextOf(const TWorkItem& work);
    WorkTextMetrics TextMetricsOf(platform::Canvas& canvas, const TWorkItem& work);
    // The works' font measured once per pass.
    const WorkTextMetrics& WorksFontMetrics(platform::Canvas& canvas);
    QRect PaintBox(platform::Canvas& canvas, const TWorkItem& work, const WorkGeometry& geometry);
    bool WorkMayShow(platform::Canvas& canvas, const TWorkItem& work, const WorkGeometry& geometry,
                     const QRect& clip);
    // DrawNode with the node's position given.
    void DrawNodeAt(platform::Canvas& canvas, TNodeItem& node, QPoint origin, QPoint position);
    platform::Canvas& MeasureCanvas();
    const OffsetShift& Shift() const;
    int HalfDaySteps(std::int64_t dx) const;

    platform::Canvas* m_canvas = nullptr;
    std::unique_ptr<platform::Canvas> m_measureCanvas;
    platform::TColor m_color = platform::clBlack;
    platform::TFont m_font;

    std::vector<TOffsetColumn> m_offsetColumns;
    OffsetColumnIndex m_columnIndex;
    std::unique_ptr<TLankPanel> m_startHandle;
    std::unique_ptr<TLankPanel> m_endHandle;
    std::unique_ptr<TLankPanel> m_bendHandle;
    int m_startJinDu = 0;
    int m_smallDate = 2;
    int m_topLinePosition = 40;
    int m_smallWidth = 20;
    int m_smallLineSpace = 40;
    int m_topLineID = 100;
    float m_workLimit = 100.0f;
    platform::TColor m_rulerLineColor = platform::clGreen;
    double m_startDate = 0.0;
    TRecessDate m_recessDate;
    bool m_showRedFlag = true;
    float m_offsetTotal = 0.0f;
    platform::TColor m_redFlagColor = platform::clRed;
    bool m_exporting = false;

    mutable OffsetShift m_shift;
    mutable std::uint64_t m_shiftRevision = 0;
    mutable bool m_shiftBuilt = false;
    std::unique_ptr<PaintPass> m_pass;
    std::unique_ptr<PaintPass> m_keptPass;
    int m_passDepth = 0;
    std::unique_ptr<PieceCache> m_pieces;
};

} // namespace network
