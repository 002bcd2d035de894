#include "network/drawing/network_add_draw.h"

#include "network/drawing/paint_pass.h"
#include "network/drawing/work_pieces.h"
#include "platform/numbers.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace network {

namespace {

// A rectangle given by its left, top, right and bottom edges, right and
// bottom outside it (as the canvas's figures take them).
QRect Ltrb(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom)
{
    return QRect(QPoint(ScreenCoordinate(left), ScreenCoordinate(top)),
                 QPoint(ScreenCoordinate(right) - 1, ScreenCoordinate(bottom) - 1));
}

int RightEdge(const QRect& rect) { return rect.left() + rect.width(); }
int BottomEdge(const QRect& rect) { return rect.top() + rect.height(); }

bool IsVerticalPiece(QPoint a, QPoint b) { return a.x() == b.x(); }

} // namespace

void TVYRNetworkAddDraw::BeginPaintPass()
{
    if (m_passDepth++ > 0)
        return;
    m_pass = m_keptPass ? std::move(m_keptPass) : std::make_unique<PaintPass>();
    PaintPass& pass = *m_pass;
    pass.ordered = false;
    pass.makingRank = -1;
    pass.metricsKnown = false;
    if (KeyStays()) {
        // The handles follow the kept polylines, as they followed the
        // polylines when these were made.
        for (const int i : pass.handled)
            ShowHandles(pass.works[std::size_t(i)].handlePoints, *Works().Items(i));
        return;
    }
    pass.works.resize(std::size_t(Works().Count()));
    for (WorkGeometry& geometry : pass.works) {
        geometry.known = false;
        geometry.solidKnown = false;
        geometry.boxKnown = false;
    }
    pass.handled.clear();
    pass.gridBuilt = false;
    pass.piecesChecked = false;
    pass.boxesBuilt = false;
    pass.nodesBuilt = false;
}

void TVYRNetworkAddDraw::EndPaintPass()
{
    if (m_passDepth > 0 && --m_passDepth == 0)
        m_keptPass = std::move(m_pass);
}

bool TVYRNetworkAddDraw::KeyStays()
{
    PaintPass& pass = *m_pass;
    DrawingKey& key = pass.key;
    bool same = pass.keyKnown;
    pass.keyKnown = true;
    const auto keep = [&same](auto& kept, const auto& now) {
        if (!(kept == now)) {
            kept = now;
            same = false;
        }
    };
    // Bit for bit, so that a time that is not a number compares equal to
    // itself.
    const auto keepTimes = [&same](std::vector<float>& kept, const std::vector<float>& now) {
        if (kept.size() != now.size()
            || (!now.empty() && std::memcmp(kept.data(), now.data(), now.size() * sizeof(float)) != 0)) {
            kept = now;
            same = false;
        }
    };
    keep(key.works, Works().ChangeRevision());
    keep(key.nodes, Nodes().ChangeRevision());
    keep(key.offsetPoints, OffsetPointsRevision());
    keepTimes(key.earliest, EarliestTimes());
    keepTimes(key.latest, LatestTimes());
    keep(key.columns, m_offsetColumns);
    keep(key.startJinDu, m_startJinDu);
    keep(key.smallWidth, m_smallWidth);
    keep(key.smallDate, m_smallDate);
    keep(key.smallLineSpace, m_smallLineSpace);
    keep(key.topLineID, m_topLineID);
    keep(key.topLinePosition, m_topLinePosition);
    keep(key.exporting, m_exporting);
    return same;
}

bool TVYRNetworkAddDraw::HasBothNodes(const TWorkItem& work) const
{
    return Nodes().FindByNewID(work.PriorNode()) && Nodes().FindByNewID(work.NextNode());
}

void TVYRNetworkAddDraw::Paint() { PaintNetwork(); }

void TVYRNetworkAddDraw::PaintNetwork()
{
    if (!m_canvas)
        return;
    // The node circles are filled with the control's colour, also after
    // rows drawn with a clear brush.
    m_canvas->Brush = platform::TBrush{m_color, platform::TBrushStyle::bsSolid};
    BeginPaintPass();
    const QPoint origin = GetOrigin();
    DrawWorks(*m_canvas, origin);
    DrawNodes(*m_canvas, origin);
    EndPaintPass();
}

void TVYRNetworkAddDraw::DrawWorks(platform::Canvas& canvas, QPoint origin)
{
    BeginPaintPass();
    TWorks& works = Works();
    const bool ordered = m_pass->ordered;
    if (!ordered && !m_pass->piecesChecked) {
        CheckKeptPieces();
        m_pass->piecesChecked = true;
    }
    m_pass->ordered = true;
    // The kept inputs hold every work's critical flag as of now. On the
    // screen only the works whose paint boxes meet the clip area are
    // looked at; their kept pieces cross the works drawn before them by
    // their places in the order.
    const std::vector<WorkPieceInputs>& inputs = m_pieces->inputs;
    if (&canvas == m_canvas) {
        QRect clip = canvas.ClipRect();
        clip.translate(-origin);
        const std::vector<int>& shown = ShownWorks(canvas, clip);
        for (const bool critical : {true, false})
            for (const int i : shown)
                if (inputs[std::size_t(i)].critical == critical)
                    DrawWork(canvas, *works.Items(i), origin);
    } else {
        for (const bool critical : {true, false})
            for (int i = 0; i < works.Count(); ++i)
                if (inputs[std::size_t(i)].critical == critical)
                    DrawWork(canvas, *works.Items(i), origin);
    }
    for (int i = 0; i < works.Count(); ++i)
        works.Items(i)->SetDrawn(true);
    m_pass->ordered = ordered;
    EndPaintPass();
}

const std::vector<int>& TVYRNetworkAddDraw::ShownWorks(platform::Canvas& canvas, const QRect& clip)
{
    PaintPass& pass = *m_pass;
    const WorkTextMetrics metrics = WorksFontMetrics(canvas);
    if (!pass.boxesBuilt || !(pass.boxMetrics == metrics)) {
        pass.boxesBuilt = true;
        pass.boxMetrics = metrics;
        TWorks& works = Works();
        // Paint boxes reach well past their lines: 256-pixel cells.
        pass.boxGrid = WorkGrid(works.Count(), 8);
        // A work with a font of its own is measured on each canvas anew.
        const QRect everywhere(QPoint(-kScreenLimit, -kScreenLimit), QPoint(kScreenLimit, kScreenLimit));
        for (int i = 0; i < works.Count(); ++i) {
            TWorkItem& work = *works.Items(i);
            WorkGeometry& geometry = Geometry(work);
            geometry.boxKnown = false;
            if (geometry.polyline.size() < 2)
                continue;
            if (work.ParentFont()) {
                geometry.box = PaintBox(canvas, work, geometry);
                geometry.boxKnown = true;
            }
            pass.boxGrid.Insert(i, geometry.boxKnown ? geometry.box : everywhere);
        }
    }
    pass.boxGrid.Query(clip, pass.shown);
    return pass.shown;
}

void TVYRNetworkAddDraw::DrawNodes(platform::Canvas& canvas, QPoint origin)
{
    canvas.Pen.Width = 1;
    canvas.Pen.Style = platform::TPenStyle::psSolid;
    if (&canvas != m_canvas) {
        for (int i = 0; i < Nodes().Count(); ++i)
            DrawNode(canvas, *Nodes().Items(i), origin);
        return;
    }
    // On the screen only the nodes whose circles meet the clip area.
    BeginPaintPass();
    PaintPass& pass = *m_pass;
    if (!pass.nodesBuilt) {
        pass.nodesBuilt = true;
        pass.nodeGrid = WorkGrid(Nodes().Count());
        pass.nodePositions.resize(std::size_t(Nodes().Count()));
        const std::int64_t r = ScreenCoordinate(Nodes().Radii());
        for (int i = 0; i < Nodes().Count(); ++i) {
            const QPoint p = GetNodePosition(Nodes().Items(i));
            pass.nodePositions[std::size_t(i)] = p;
            pass.nodeGrid.Insert(i, QRect(QPoint(ScreenCoordinate(p.x() - r), ScreenCoordinate(p.y() - r)),
                                          QPoint(ScreenCoordinate(p.x() + r), ScreenCoordinate(p.y() + r))));
        }
    }
    QRect clip = canvas.ClipRect();
    clip.translate(-origin);
    pass.nodeGrid.Query(clip.adjusted(-1, -1, 1, 1), pass.found);
    for (const int i : pass.found)
        DrawNodeAt(canvas, *Nodes().Items(i), origin, pass.nodePositions[std::size_t(i)]);
    EndPaintPass();
}

void TVYRNetworkAddDraw::NodeSelectChanged(TNodeItem* node)
{
    if (!m_canvas || !node)
        return;
    m_canvas->Brush.Color = m_color;
    DrawNode(*m_canvas, *node, GetOrigin());
}

void TVYRNetworkAddDraw::WorkSelectChanged(TWorkItem* work)
{
    for (int i = 0; i < Works().Count(); ++i)
        Works().Items(i)->SetDrawn(false);
    if (!m_canvas || !work)
        return;
    m_canvas->Brush.Color = m_color;
    DrawWork(*m_canvas, *work, GetOrigin());
}

platform::TColor TVYRNetworkAddDraw::GetWorkColor(const TWorkItem& work) const
{
    return IsKeyWork(work) ? Works().KeyLineColor() : Works().LineColor();
}

int TVYRNetworkAddDraw::GetWorkPenWidth(const TWorkItem& work) const
{
    return IsKeyWork(work) ? Works().KeyLineWidth() : Works().LineWidth();
}

TPointList TVYRNetworkAddDraw::ComputeWorkPolyline(TWorkItem& work)
{
    TPointList points;
    FillWorkPolyline(work, points);
    return points;
}

void TVYRNetworkAddDraw::FillWorkPolyline(TWorkItem& work, TPointList& points)
{
    if (BendWorkPolyline(work, points) && work.Selected() && !m_exporting)
        ShowHandles(points, work);
    ApplyLineOffset(points);
}

bool TVYRNetworkAddDraw::BendWorkPolyline(TWorkItem& work, TPointList& points)
{
    const TNodeItem* start = Nodes().FindByNewID(work.PriorNode());
    if (!start) {
        points.clear();
        return false;
    }
    const QPoint p0 = GetNodePosition(start);
    const TNodeItem* end = Nodes().FindByNewID(work.NextNode());
    if (!end) {
        points.assign({p0});
        return false;
    }
    const QPoint p1 = GetNodePosition(end);
    const std::int64_t rowStep = m_smallLineSpace;
    const int bendRow = ScreenCoordinate(p0.y() + work.Offset() * rowStep);
    if (work.Offset() != 0 && bendRow != p1.y()) {
        points = {p0, QPoint(p0.x(), bendRow), QPoint(p1.x(), bendRow), p1};
    } else if (p0.x() != p1.x() && p0.y() != p1.y()) {
        if (work.IsVirtual()) {
            const int middle = int((std::int64_t{p0.y()} + p1.y()) / 2);
            points = {p0, QPoint(p0.x(), middle), QPoint(p1.x(), middle), p1};
        } else {
            points = {p0, work.HorizontalLine() ? QPoint(p0.x(), p1.y()) : QPoint(p1.x(), p0.y()), p1};
        }
    } else {
        points = {p0, p1};
    }
    return true;
}

void TVYRNetworkAddDraw::ApplyLineOffset(TPointList& points) const
{
    if (points.size() > 2) {
        const int shift = ScreenCoordinate(Works().LineOffset());
        if (points[0].x() == points[1].x()) {
            points[0].rx() = ScreenCoordinate(std::int64_t{points[0].x()} + shift);
            points[1].rx() = ScreenCoordinate(std::int64_t{points[1].x()} + shift);
        }
        const std::size_t n = points.size();
        if (points[n - 2].x() == points[n - 1].x()) {
            points[n - 2].rx() = ScreenCoordinate(std::int64_t{points[n - 2].x()} - shift);
            points[n - 1].rx() = ScreenCoordinate(std::int64_t{points[n - 1].x()} - shift);
        }
    }
}

TVYRNetworkAddDraw::WorkGeometry& TVYRNetworkAddDraw::Geometry(TWorkItem& work)
{
    const std::size_t index = std::size_t(work.Index());
    if (index >= m_pass->works.size())
        m_pass->works.resize(index + 1);
    WorkGeometry& geometry = m_pass->works[index];
    if (!geometry.known) {
        geometry.known = true;
        if (BendWorkPolyline(work, geometry.polyline) && work.Selected() && !m_exporting) {
            geometry.handlePoints = geometry.polyline;
            m_pass->handled.push_back(int(index));
            ShowHandles(geometry.polyline, work);
        }
        ApplyLineOffset(geometry.polyline);
        geometry.shortened = geometry.polyline;
        if (geometry.polyline.size() >= 2) {
            ShortenPolyline(geometry.shortened);
            geometry.bounds = PolylineBounds(geometry.shortened);
        }
    }
    return geometry;
}

TPointList TVYRNetworkAddDraw::GetWorkPolyline(TWorkItem& work)
{
    if (m_pass)
        return Geometry(work).polyline;
    return ComputeWorkPolyline(work);
}

int TVYRNetworkAddDraw::ArrowDirection(const TPointList& polyline)
{
    if (polyline.size() < 2)
        return 0;
    const QPoint a = polyline[polyline.size() - 2];
    const QPoint b = polyline.back();
    if (a.y() == b.y())
        return b.x() < a.x() ? 1 : 0;
    return a.y() < b.y() ? 2 : 3;
}

void TVYRNetworkAddDraw::ShortenPolyline(TPointList& polyline) const
{
    if (polyline.size() < 2)
        return;
    const int direction = ArrowDirection(polyline);
    const std::int64_t radius = ScreenCoordinate(Nodes().Radii());
    QPoint& first = polyline[0];
    const QPoint second = polyline[1];
    if (first.x() == second.x()) {
        if (second.y() != first.y())
            first.ry() = ScreenCoordinate(first.y() + (second.y() > first.y() ? radius : -radius));
    } else {
        first.rx() = ScreenCoordinate(first.x() + (second.x() > first.x() ? radius : -radius));
    }
    const std::int64_t back = std::int64_t{ScreenCoordinate(Works().ArrowWidth())} + radius;
    QPoint& last = polyline.back();
    const QPoint before = polyline[polyline.size() - 2];
    switch (direction) {
    case 0: last.rx() = int(std::max<std::int64_t>(last.x() - back, before.x())); break;
    case 1: last.rx() = int(std::min<std::int64_t>(last.x() + back, before.x())); break;
    case 2: last.ry() = int(std::max<std::int64_t>(last.y() - back, before.y())); break;
    default: last.ry() = int(std::min<std::int64_t>(last.y() + back, before.y())); break;
    }
}

void TVYRNetworkAddDraw::SplitWorkPolyline(const TWorkItem& work, const TPointList& polyline, TPointList& wave,
                                           TPointList& dotted, TPointList& solid, bool noGaps) const
{
    wave.clear();
    dotted.clear();
    solid.clear();
    if (polyline.size() < 2)
        return;
    const auto add = [](TPointList& list, QPoint a, QPoint b) { list.insert(list.end(), {a, b}); };
    if (work.IsVirtual()) {
        for (std::size_t i = 0; i + 1 < polyline.size(); ++i)
            add(dotted, polyline[i], polyline[i + 1]);
        return;
    }
    const int finishX = TimeToX(ShiftTime(GetWorkEarliestFinish(work), true));
    const bool interval = work.Diapause() > 0.0f;
    const int startX = interval ? TimeToX(ShiftTime(GetWorkEarliestStart(work), true)) : 0;
    bool pastFinish = false;
    const auto splitAtFinish = [&](QPoint a, QPoint b) {
        if (pastFinish) {
            add(wave, a, b);
        } else if (b.x() <= finishX) {
            add(solid, a, b);
        } else if (a.x() < finishX) {
            const QPoint finish(finishX, a.y());
            add(solid, a, finish);
            if (!noGaps) {
                add(wave, finish, b);
                pastFinish = true;
            }
        } else {
            add(wave, a, b);
            pastFinish = true;
        }
    };
    TPointList pieces;
    TPointList rests;
    TPointList out;
    std::vector<std::size_t> meeting;
    for (std::size_t i = 0; i + 1 < polyline.size(); ++i) {
        QPoint a = polyline[i];
        const QPoint b = polyline[i + 1];
        if (IsVerticalPiece(a, b)) {
            add(solid, a, b);
            continue;
        }
        if (interval && a.x() < startX) {
            if (b.x() <= startX) {
                add(dotted, a, b);
                continue;
            }
            const QPoint start(startX, a.y());
            add(dotted, a, start);
            a = start;
        }
        if (noGaps || m_offsetColumns.empty()) {
            splitAtFinish(a, b);
            continue;
        }
        pieces = {a, b};
        m_columnIndex.Meeting(std::min(a.x(), b.x()), std::max(a.x(), b.x()), meeting);
        for (const std::size_t c : meeting) {
            const TOffsetColumn& column = m_offsetColumns[c];
            const QPoint c1(column.From, a.y());
            const QPoint c2(column.To, a.y());
            rests.clear();
            for (std::size_t k = 0; k + 1 < pieces.size(); k += 2) {
                const QPoint p = pieces[k];
                const QPoint q = pieces[k + 1];
                if (!SegmentOverlap(p, q, c1, c2, out) || out.size() == 1) {
                    add(rests, p, q);
                } else if (out.empty()) {
                    add(dotted, p, q);
                } else if (out.size() == 2) {
                    QPoint lo = p;
                    QPoint hi = q;
                    OrderPoints(lo, hi);
                    if (out[0] == lo)
                        add(dotted, out[1], hi);
                    else
                        add(dotted, lo, out[0]);
                    add(rests, out[0], out[1]);
                } else {
                    add(dotted, out[1], out[2]);
                    add(rests, out[0], out[1]);
                    add(rests, out[2], out[3]);
                }
            }
            pieces.swap(rests);
        }
        for (std::size_t k = 0; k + 1 < pieces.size(); k += 2)
            splitAtFinish(pieces[k], pieces[k + 1]);
    }
}

const TPointList& TVYRNetworkAddDraw::NoGapSolid(TWorkItem& work)
{
    WorkGeometry& geometry = Geometry(work);
    if (!geometry.solidKnown) {
        geometry.solidKnown = true;
        TPointList wave;
        TPointList dotted;
        SplitWorkPolyline(work, geometry.shortened, wave, dotted, geometry.noGapSolid, true);
    }
    return geometry.noGapSolid;
}

void TVYRNetworkAddDraw::AppendNoGapSolid(TWorkItem& work, TPointList& out)
{
    if (m_pass) {
        const TPointList& pieces = NoGapSolid(work);
        out.insert(out.end(), pieces.begin(), pieces.end());
        return;
    }
    TPointList polyline = ComputeWorkPolyline(work);
    ShortenPolyline(polyline);
    TPointList wave;
    TPointList dotted;
    TPointList pieces;
    SplitWorkPolyline(work, polyline, wave, dotted, pieces, true);
    out.insert(out.end(), pieces.begin(), pieces.end());
}

void TVYRNetworkAddDraw::CheckKeptPieces()
{
    if (!m_pieces)
        m_pieces = std::make_unique<PieceCache>();
    PieceCache& cache = *m_pieces;
    TWorks& works = Works();
    const std::size_t count = std::size_t(works.Count());
    bool same = cache.columns == m_offsetColumns && cache.inputs.size() == count;
    if (!same) {
        cache.columns = m_offsetColumns;
        cache.inputs.resize(count);
    }
    WorkPieceInputs now;
    for (std::size_t i = 0; i < count; ++i) {
        TWorkItem& work = *works.Items(int(i));
        now.shortened = Geometry(work).shortened;
        now.dummy = work.IsVirtual();
        now.interval = work.Diapause() > 0.0f;
        now.critical = IsKeyWork(work);
        const bool drawn = now.shortened.size() >= 2 && !now.dummy;
        now.finishX = drawn ? TimeToX(ShiftTime(GetWorkEarliestFinish(work), true)) : 0;
        now.startX = drawn && now.interval ? TimeToX(ShiftTime(GetWorkEarliestStart(work), true)) : 0;
        if (!(cache.inputs[i] == now)) {
            std::swap(cache.inputs[i], now);
            same = false;
        }
    }
    if (!same) {
        cache.pieces.clear();
        cache.pieces.resize(count);
    }
    cache.values.resize(count);
    std::vector<int>& rank = m_pass->rank;
    rank.resize(count);
    int next = 0;
    for (const bool critical : {true, false})
        for (std::size_t i = 0; i < count; ++i)
            if (cache.inputs[i].critical == critical)
                rank[i] = next++;
}

const WorkPieces* TVYRNetworkAddDraw::KeptPieces(TWorkItem& work, const WorkGeometry& geometry)
{
    const std::size_t index = std::size_t(work.Index());
    if (!m_pass || !m_pass->ordered || !m_pieces || index >= m_pieces->pieces.size())
        return nullptr;
    WorkPieces& kept = m_pieces->pieces[index];
    if (!kept.known) {
        kept.known = true;
        SplitWorkPolyline(work, geometry.shortened, kept.wave, kept.dotted, kept.solid, false);
        m_pass->makingRank = m_pass->rank[index];
        BuildCrossings(kept.solid, kept.crossings, kept.kinds);
        m_pass->makingRank = -1;
        kept.arrow = NeedArrowHead(kept.solid, kept.dotted, geometry.shortened.back(), kept.wave);
    }
    return &kept;
}

void TVYRNetworkAddDraw::CrossingCandidates(const QRect& bounds, const QRect& near, std::vector<TWorkItem*>& out)
{
    out.clear();
    TWorks& works = Works();
    if (!m_pass) {
        for (int i = 0; i < works.Count(); ++i) {
            TWorkItem& other = *works.Items(i);
            if (!other.Drawn())
                continue;
            TPointList polyline = ComputeWorkPolyline(other);
            if (polyline.size() < 2)
                continue;
            ShortenPolyline(polyline);
            if (RectsMeet(bounds, PolylineBounds(polyline)))
                out.push_back(&other);
        }
        return;
    }
    if (!m_pass->gridBuilt) {
        m_pass->gridBuilt = true;
        m_pass->grid = WorkGrid(works.Count());
        for (int i = 0; i < works.Count(); ++i) {
            const TPointList& line = Geometry(*works.Items(i)).shortened;
            if (line.size() >= 2)
                for (std::size_t k = 0; k + 1 < line.size(); ++k)
                    m_pass->grid.Insert(i, PolylineBounds({line[k], line[k + 1]}));
        }
    }
    m_pass->grid.Query(near, m_pass->found);
    const int before = m_pass->makingRank;
    for (const int i : m_pass->found) {
        TWorkItem& other = *works.Items(i);
        const bool drawn = before >= 0 ? m_pass->rank[std::size_t(i)] < before : other.Drawn();
        if (drawn && RectsMeet(bounds, Geometry(other).bounds))
            out.push_back(&other);
    }
}

void TVYRNetworkAddDraw::BuildCrossings(TPointList& solid, TPointList& crossPoints, std::vector<int>& crossKinds,
                                        const QRect* reach)
{
    if (solid.size() < 2)
        return;
    // Every drawn work whose bounds meet those of the whole solid line is
    // tested; in a paint pass only those with a line near the piece are
    // looked at, as no other can meet it.
    const QRect bounds = PolylineBounds(solid);
    std::vector<TWorkItem*> candidates;
    TPointList others;
    if (!m_pass) {
        CrossingCandidates(bounds, bounds, candidates);
        for (TWorkItem* other : candidates)
            AppendNoGapSolid(*other, others);
    }
    TPointList result;
    TPointList working;
    TPointList next;
    TPointList out;
    const auto add = [](TPointList& list, QPoint a, QPoint b) {
        list.insert(list.end(), {a, b});
    };
    for (std::size_t s = 0; s + 1 < solid.size(); s += 2) {
        working = {solid[s], solid[s + 1]};
        if (reach && !PolylineBounds(working).intersects(*reach)) {
            result.insert(result.end(), working.begin(), working.end());
            continue;
        }
        if (m_pass) {
            CrossingCandidates(bounds, PolylineBounds(working), candidates);
            others.clear();
            for (TWorkItem* other : candidates)
                AppendNoGapSolid(*other, others);
        }
        // A segment whose bounds miss the piece's meets none of its parts.
        const QRect piece = PolylineBounds(working);
        for (std::size_t o = 0; o + 1 < others.size() && !working.empty(); o += 2) {
            const QPoint o1 = others[o];
            const QPoint o2 = others[o + 1];
            if (std::max(o1.x(), o2.x()) < piece.left() || std::min(o1.x(), o2.x()) > piece.right()
                || std::max(o1.y(), o2.y()) < piece.top() || std::min(o1.y(), o2.y()) > piece.bottom())
                continue;
            next.clear();
            for (std::size_t k = 0; k + 1 < working.size(); k += 2) {
                const QPoint a = working[k];
                const QPoint b = working[k + 1];
                if (!SegmentOverlap(a, b, o1, o2, out)) {
                    add(next, a, b);
                    continue;
                }
                if (out.empty())
                    continue;
                if (out.size() == 2) {
                    add(next, out[0], out[1]);
                    continue;
                }
                if (out.size() == 4) {
                    add(next, out[0], out[1]);
                    add(next, out[2], out[3]);
                    continue;
                }
                const QPoint x = out[0];
                if (x == a || x == b || x == o1 || x == o2) {
                    add(next, a, b);
                    continue;
                }
                const bool vertical = IsVerticalPiece(a, b);
                crossPoints.push_back(x);
                crossKinds.push_back(vertical ? 1 : 0);
                // A gap of 5 pixels either side of x in the piece's own
                // direction; a rest that would run past the piece's end (a
                // crossing within 5 pixels of it) is empty and dropped.
                const int along = vertical ? x.y() : x.x();
                const int from = vertical ? a.y() : a.x();
                const int to = vertical ? b.y() : b.x();
                const int step = to > from ? 5 : -5;
                const auto at = [&](int v) { return vertical ? QPoint(x.x(), v) : QPoint(v, x.y()); };
                if (step > 0 ? along - step > from : along - step < from)
                    add(next, a, at(along - step));
                if (step > 0 ? along + step < to : along + step > to)
                    add(next, at(along + step), b);
            }
            working.swap(next);
        }
        result.insert(result.end(), working.begin(), working.end());
    }
    solid.swap(result);
}

bool TVYRNetworkAddDraw::NeedArrowHead(const TPointList& solid, const TPointList& dotted, QPoint endPoint,
                                       const TPointList& wave)
{
    for (const TPointList* list : {&solid, &dotted, &wave})
        if (!list->empty() && list->back() == endPoint)
            return true;
    return solid.empty() && !dotted.empty() && !wave.empty();
}

QRect TVYRNetworkAddDraw::PolylineBounds(const TPointList& polyline)
{
    if (polyline.empty())
        return {};
    int left = polyline[0].x();
    int right = left;
    int top = polyline[0].y();
    int bottom = top;
    for (const QPoint& p : polyline) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QRect TVYRNetworkAddDraw::GetWorkBounds(TWorkItem& work)
{
    if (m_pass) {
        const WorkGeometry& geometry = Geometry(work);
        return geometry.shortened.size() >= 2 ? geometry.bounds : QRect();
    }
    TPointList polyline = ComputeWorkPolyline(work);
    if (polyline.size() < 2)
        return {};
    ShortenPolyline(polyline);
    return PolylineBounds(polyline);
}

bool TVYRNetworkAddDraw::RectsMeet(const QRect& a, const QRect& b)
{
    const auto strictlyInside = [](int x, int y, const QRect& r) {
        return r.left() < x && x < r.right() && r.top() < y && y < r.bottom();
    };
    const auto cornerInside = [&](const QRect& r, const QRect& other) {
        return strictlyInside(r.left(), r.top(), other) || strictlyInside(r.right(), r.top(), other)
               || strictlyInside(r.left(), r.bottom(), other) || strictlyInside(r.right(), r.bottom(), other);
    };
    const auto spansHorizontally = [](const QRect& r, const QRect& other) {
        return r.left() <= other.left() && other.right() <= r.right();
    };
    const auto spansVertically = [](const QRect& r, const QRect& other) {
        return r.top() <= other.top() && other.bottom() <= r.bottom();
    };
    return cornerInside(a, b) || cornerInside(b, a) || (spansHorizontally(a, b) && spansVertically(b, a))
           || (spansHorizontally(b, a) && spansVertically(a, b));
}

namespace {

// True when every character of text is one whose glyph is at most a
// full-width character wide (letters, digits, punctuation, CJK), so that
// the text's width is bounded by its length.
bool HasCommonGlyphs(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x0600 || (u >= 0x2000 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF);
    });
}

WorkTextMetrics MeasureText(platform::Canvas& canvas, const platform::TFont& font)
{
    canvas.Font = font;
    WorkTextMetrics metrics;
    metrics.w = canvas.TextWidth(QStringLiteral("国"));
    metrics.h = canvas.TextHeight(QStringLiteral("8"));
    metrics.most = 2 * std::max({metrics.w, canvas.TextWidth(QStringLiteral("W")), canvas.TextWidth(QStringLiteral("@")),
                                 canvas.TextHeight(QStringLiteral("国"))});
    return metrics;
}

} // namespace

// The text box of a work: its first horizontal stretch, kept clear of the
// node circles and of the bend lines. A work drawn as a single vertical
// line has none; its texts then sit right of the line at its middle, in a
// box as wide as the node circle.
static QRect WorkTextRect(const TPointList& p, int radius, int bendWidth)
{
    const int k = p[0].x() == p[1].x() ? 1 : 0;
    if (k == 0 || p.size() > 2) {
        const std::size_t next = std::size_t(k) + 1;
        const std::int64_t left = std::int64_t{p[std::size_t(k)].x()} + (k == 1 ? bendWidth : radius);
        const std::int64_t right = std::int64_t{p[next].x()} - (next + 1 == p.size() ? radius : bendWidth);
        return Ltrb(left, p[std::size_t(k)].y(), right, p[next].y());
    }
    const std::int64_t left = std::int64_t{p[0].x()} + bendWidth;
    const std::int64_t middle = (std::int64_t{p[0].y()} + p[1].y()) / 2;
    return Ltrb(left, middle, left + 2 * std::int64_t{radius}, middle);
}

WorkTextMetrics TVYRNetworkAddDraw::TextMetricsOf(platform::Canvas& canvas, const TWorkItem& work)
{
    if (!work.ParentFont() || !m_pass)
        return MeasureText(canvas, work.ParentFont() ? Works().Font() : work.Font());
    return WorksFontMetrics(canvas);
}

const WorkTextMetrics& TVYRNetworkAddDraw::WorksFontMetrics(platform::Canvas& canvas)
{
    if (!m_pass->metricsKnown) {
        m_pass->worksFont = MeasureText(canvas, Works().Font());
        m_pass->metricsKnown = true;
    }
    return m_pass->worksFont;
}

QRect TVYRNetworkAddDraw::PaintBox(platform::Canvas& canvas, const TWorkItem& work, const WorkGeometry& geometry)
{
    // A box that holds everything DrawWork can paint for the work: its lines
    // with pen, arcs and arrowhead, and its texts at their largest.
    const std::int64_t radius = ScreenCoordinate(Nodes().Radii());
    const std::int64_t margin = std::int64_t{ScreenCoordinate(GetWorkPenWidth(work))} + 8
                                + ScreenCoordinate(Works().ArrowHeight()) + ScreenCoordinate(Works().ArrowWidth())
                                + radius;
    QRect box = PolylineBounds(geometry.polyline).united(geometry.bounds);
    box = QRect(QPoint(ScreenCoordinate(box.left() - margin), ScreenCoordinate(box.top() - margin)),
                QPoint(ScreenCoordinate(box.right() + margin), ScreenCoordinate(box.bottom() + margin)));
    if (!(work.IsVirtual() && work.Diapause() <= 0.0f)) {
        if (!HasCommonGlyphs(work.Caption()))
            return QRect(QPoint(-kScreenLimit, -kScreenLimit), QPoint(kScreenLimit, kScreenLimit));
        const QRect text = WorkTextRect(geometry.polyline, int(radius), ScreenCoordinate(Works().KeyLineWidth()));
        const WorkTextMetrics metrics = TextMetricsOf(canvas, work);
        // Neither text is wider than its characters at twice the widest
        // common glyph, and the name has at most one line per character.
        const std::int64_t characters = std::max(work.Caption().size(), KeptValueTextOf(work).size()) + 1;
        const std::int64_t wide = characters * metrics.most + metrics.w;
        const std::int64_t gap = std::llabs(std::int64_t{Works().CapInterval()});
        const std::int64_t above = (characters + 1) * metrics.most + gap;
        const std::int64_t below = gap + 2 * std::int64_t{metrics.most};
        box = box.united(QRect(QPoint(ScreenCoordinate(text.left() - wide), ScreenCoordinate(text.top() - above)),
                               QPoint(ScreenCoordinate(std::int64_t{text.right()} + wide),
                                      ScreenCoordinate(text.top() + below))));
    }
    return box;
}

bool TVYRNetworkAddDraw::WorkMayShow(platform::Canvas& canvas, const TWorkItem& work, const WorkGeometry& geometry,
                                     const QRect& clip)
{
    if (geometry.boxKnown && m_pass && m_pass->boxMetrics == WorksFontMetrics(canvas))
        return geometry.box.intersects(clip);
    return PaintBox(canvas, work, geometry).intersects(clip);
}

TVYRNetworkAddDraw::WorkGeometry TVYRNetworkAddDraw::SingleGeometry(TWorkItem& work)
{
    WorkGeometry single;
    single.polyline = ComputeWorkPolyline(work);
    single.shortened = single.polyline;
    ShortenPolyline(single.shortened);
    single.bounds = PolylineBounds(single.shortened);
    return single;
}

QRect TVYRNetworkAddDraw::WorkPaintBox(TWorkItem& work)
{
    if (!HasBothNodes(work))
        return {};
    platform::Canvas& canvas = m_canvas ? *m_canvas : MeasureCanvas();
    if (m_pass)
        return PaintBox(canvas, work, Geometry(work));
    return PaintBox(canvas, work, SingleGeometry(work));
}

void TVYRNetworkAddDraw::DrawWork(platform::Canvas& canvas, TWorkItem& work, QPoint origin)
{
    // Outside a paint pass everything is computed here, and the crossings
    // test every drawn work.
    WorkGeometry single;
    if (!m_pass)
        single = SingleGeometry(work);
    const WorkGeometry& geometry = m_pass ? Geometry(work) : single;
    // A work without both its nodes has no line to draw (its polyline
    // has a point at most).
    if (geometry.polyline.size() < 2)
        return;
    const bool screen = &canvas == m_canvas;
    QRect reach;
    if (screen) {
        QRect clip = canvas.ClipRect();
        clip.translate(-origin);
        if (!WorkMayShow(canvas, work, geometry, clip))
            return;
        // What a piece far enough outside the clip area can still paint
        // there: a jump-over arc, or the arrowhead after the piece.
        const int margin = ScreenCoordinate(std::int64_t{ScreenCoordinate(GetWorkPenWidth(work))} + 16
                                            + ScreenCoordinate(Works().ArrowHeight())
                                            + ScreenCoordinate(Works().ArrowWidth())
                                            + ScreenCoordinate(Nodes().Radii()));
        reach = QRect(QPoint(ScreenCoordinate(std::int64_t{clip.left()} - margin),
                             ScreenCoordinate(std::int64_t{clip.top()} - margin)),
                      QPoint(ScreenCoordinate(std::int64_t{clip.right()} + margin),
                             ScreenCoordinate(std::int64_t{clip.bottom()} + margin)));
    }
    const TPointList& p = geometry.polyline;
    const int direction = ArrowDirection(p);
    const QPoint end = p.back();
    QRect textRect = WorkTextRect(p, ScreenCoordinate(Nodes().Radii()), ScreenCoordinate(Works().KeyLineWidth()));
    const QPoint last = geometry.shortened.back();
    const platform::TColor color = screen && work.Selected() ? platform::clAqua : GetWorkColor(work);
    canvas.Pen.Width = GetWorkPenWidth(work);
    canvas.Pen.Mode = platform::TPenMode::pmCopy;
    canvas.Pen.Color = color;
    // The pieces are the kept ones where they may be kept, else made here.
    WorkPieces made;
    const WorkPieces* pieces = KeptPieces(work, geometry);
    if (!pieces) {
        SplitWorkPolyline(work, geometry.shortened, made.wave, made.dotted, made.solid, false);
        BuildCrossings(made.solid, made.crossings, made.kinds, screen ? &reach : nullptr);
        made.arrow = NeedArrowHead(made.solid, made.dotted, last, made.wave);
        pieces = &made;
    }
    const bool arrow = pieces->arrow;
    const auto at = [origin](QPoint p) {
        return QPoint(ScreenCoordinate(std::int64_t{p.x()} + origin.x()),
                      ScreenCoordinate(std::int64_t{p.y()} + origin.y()));
    };
    const TPointList& solid = pieces->solid;
    const TPointList& dotted = pieces->dotted;
    const TPointList& wave = pieces->wave;
    for (std::size_t i = 0; i + 1 < solid.size(); i += 2)
        DrawSolidLine(canvas, at(solid[i]), at(solid[i + 1]));
    for (std::size_t i = 0; i + 1 < dotted.size(); i += 2)
        DrawDottedLine(canvas, at(dotted[i]), at(dotted[i + 1]));
    if (!wave.empty()) {
        canvas.Pen.Color = Works().WaveLineColor();
        for (std::size_t i = 0; i + 1 < wave.size(); i += 2)
            DrawWaveLine(canvas, at(wave[i]), at(wave[i + 1]));
        canvas.Pen.Color = color;
    }
    for (std::size_t i = 0; i < pieces->crossings.size(); ++i)
        DrawJumpArc(canvas, at(pieces->crossings[i]), pieces->kinds[i] == 1, 5);
    if (arrow) {
        canvas.Pen.Color = GetWorkColor(work);
        DrawArrowHead(canvas, QPoint(ScreenCoordinate(std::int64_t{end.x()} + origin.x()),
                                     ScreenCoordinate(std::int64_t{end.y()} + origin.y())),
                      direction, ScreenCoordinate(Works().ArrowHeight()), ScreenCoordinate(Works().ArrowWidth()),
                      ScreenCoordinate(Nodes().Radii()));
    }
    textRect.translate(origin);
    DrawWorkText(canvas, work, textRect);
}

QString TVYRNetworkAddDraw::WorkValueText(const TWorkItem& work)
{
    if (work.IsVirtual())
        return platform::FloatToStr(work.Diapause());
    QString value = platform::FloatToStr(work.ContinueTime());
    if (work.Diapause() > 0.0f)
        value += QStringLiteral("(") + platform::FloatToStr(work.Diapause()) + QStringLiteral(")");
    return value;
}

QString TVYRNetworkAddDraw::KeptValueTextOf(const TWorkItem& work)
{
    const std::size_t index = std::size_t(work.Index());
    if (!m_pieces || index >= m_pieces->values.size())
        return WorkValueText(work);
    KeptValueText& kept = m_pieces->values[index];
    if (!kept.known || kept.continueTime != work.ContinueTime() || kept.diapause != work.Diapause())
        kept = KeptValueText{true, work.ContinueTime(), work.Diapause(), WorkValueText(work)};
    return kept.text;
}

void TVYRNetworkAddDraw::DrawWorkText(platform::Canvas& canvas, const TWorkItem& work, const QRect& r)
{
    const bool dummy = work.IsVirtual();
    if (dummy && work.Diapause() == 0.0f)
        return;
    const WorkTextMetrics metrics = TextMetricsOf(canvas, work);
    canvas.Font = work.ParentFont() ? Works().Font() : work.Font();
    const int w = metrics.w;
    const int h = metrics.h;
    const QString name = work.Caption();
    const QString value = KeptValueTextOf(work);
    std::int64_t left = r.left();
    std::int64_t right = RightEdge(r);
    if (right - left < w) {
        left -= w / 2;
        right += w / 2 + 1;
    }
    // A stretch shorter than a node circle (half a day at the default
    // scale) leaves no room at all: the texts get a box of their own width
    // centred on the stretch.
    if (right - left < w) {
        const std::int64_t centre = (std::int64_t{r.left()} + RightEdge(r)) / 2;
        const std::int64_t width = std::max(w, canvas.TextWidth(dummy ? value : name));
        left = centre - width / 2;
        right = left + width;
    }
    const std::int64_t y = r.top();
    const std::int64_t gap = Works().CapInterval();
    unsigned align = platform::dt::Center;
    if (Works().TextPosition() == 0)
        align = platform::dt::Left;
    else if (Works().TextPosition() == 2)
        align = platform::dt::Right;
    // On the screen a text that cannot reach the clip area is neither
    // measured nor drawn: each is at most a character of twice the widest
    // common glyph per character wide, the name one such line per
    // character high.
    const bool screen = &canvas == m_canvas;
    const QRect clip = screen ? canvas.ClipRect() : QRect();
    const auto mayShow = [&](const QString& text, std::int64_t top, std::int64_t bottom) {
        if (!screen || !HasCommonGlyphs(text))
            return true;
        const std::int64_t reach = std::max<std::int64_t>(right, left + std::int64_t{text.size()} * metrics.most);
        return Ltrb(left, top, reach + 1, bottom + 1).intersects(clip);
    };
    if (!dummy && mayShow(name, y - gap - (std::int64_t{name.size()} + 1) * metrics.most, y - gap)) {
        QRect measured = Ltrb(left, 0, right, 0);
        const int height =
            canvas.DrawText(name, measured, platform::dt::CalcRect | platform::dt::WordBreak | align);
        QRect box = Ltrb(left, y - height - gap, right, y - gap);
        if (measured.width() > right - left)
            box = Ltrb(measured.left(), box.top(), RightEdge(measured), BottomEdge(box));
        canvas.DrawText(name, box, platform::dt::WordBreak | align);
    }
    if (!mayShow(value, y + gap, y + gap + metrics.most))
        return;
    QRect measured = Ltrb(left, y + gap, right, y + gap + h);
    canvas.DrawText(value, measured, platform::dt::CalcRect | platform::dt::SingleLine | align);
    QRect box = Ltrb(left, measured.top(), right, BottomEdge(measured));
    if (measured.width() > right - left)
        box = Ltrb(measured.left(), box.top(), RightEdge(measured), BottomEdge(box));
    canvas.DrawText(value, box, platform::dt::VCenter | align);
}

void TVYRNetworkAddDraw::DrawNode(platform::Canvas& canvas, TNodeItem& node, QPoint origin)
{
    DrawNodeAt(canvas, node, origin, GetNodePosition(&node));
}

void TVYRNetworkAddDraw::DrawNodeAt(platform::Canvas& canvas, TNodeItem& node, QPoint origin, QPoint position)
{
    const bool screen = &canvas == m_canvas;
    if (screen && node.Selected())
        canvas.Pen.Color = platform::clAqua;
    else if (GetNodeEarliest(&node) == GetNodeLatest(&node))
        canvas.Pen.Color = Works().KeyLineColor();
    else
        canvas.Pen.Color = Works().LineColor();
    const std::int64_t cx = ScreenCoordinate(std::int64_t{origin.x()} + position.x());
    const std::int64_t cy = ScreenCoordinate(std::int64_t{origin.y()} + position.y());
    const std::int64_t r = ScreenCoordinate(Nodes().Radii());
    const QRect square = Ltrb(cx - r, cy - r, cx + r, cy + r);
    if (screen && !square.intersects(canvas.ClipRect()))
        return;
    canvas.Ellipse(square.left(), square.top(), RightEdge(square), BottomEdge(square));
    canvas.Font = Nodes().Font();
    const QString number = QString::number(node.Number());
    const QSize size = canvas.TextExtent(number);
    canvas.TextOut(int(cx - size.width() / 2), int(cy - size.height() / 2), number);
    if (!m_showRedFlag || &node != Nodes().Items(Nodes().Count() - 1))
        return;
    const std::int64_t x0 = cx + r;
    const std::int64_t y0 = cy;
    const auto at = [](std::int64_t x, std::int64_t y) { return QPoint(ScreenCoordinate(x), ScreenCoordinate(y)); };
    const std::array<QPoint, 5> flag{at(x0 + r, y0 - 2 * r), at(x0 + 3 * r, y0 - 2 * r),
                                     at(x0 + 2 * r + r / 2, y0 - r), at(x0 + r / 2, y0 - r), at(x0, y0)};
    if (!screen)
        canvas.Pen.Color = platform::clBlack;
    const platform::TColor brush = canvas.Brush.Color;
    canvas.Brush.Color = m_redFlagColor;
    canvas.Polygon(flag);
    canvas.Brush.Color = brush;
}

} // namespace network
