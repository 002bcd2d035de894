// First layer of the network control: it owns the node and work collections,
// turns their change reports into recomputation, repaint and notification,
// keeps the selection, and computes the schedule (earliest and latest times,
// floats, critical works, the node and work orders). The drawing and editing
// layers derive from it and attach through the virtual operations.
#pragma once

#include "network/network_index.h"
#include "network/nodes.h"
#include "network/reach_through_falls.h"
#include "network/schedule_graph.h"
#include "network/works.h"
#include "platform/window_services.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace network {

struct TOffsetPoint {
    float Time = 0.0f;
    float Offset = 0.0f;
    friend bool operator==(const TOffsetPoint&, const TOffsetPoint&) = default;
};

class TVYRNetworkAddNodeWork {
public:
    using TNotifyEvent = std::function<void(TVYRNetworkAddNodeWork& sender)>;

    // A network with one node on row 101. Messages and repaints go to the
    // services of the host, which outlive the control.
    explicit TVYRNetworkAddNodeWork(platform::WindowServices& services);
    TVYRNetworkAddNodeWork(const TVYRNetworkAddNodeWork&) = delete;
    TVYRNetworkAddNodeWork& operator=(const TVYRNetworkAddNodeWork&) = delete;
    virtual ~TVYRNetworkAddNodeWork();

    TNodes& Nodes() { return *m_nodes; }
    const TNodes& Nodes() const { return *m_nodes; }
    void SetNodes(const TNodes& source) { m_nodes->Assign(source); }
    TWorks& Works() { return *m_works; }
    const TWorks& Works() const { return *m_works; }
    void SetWorks(const TWorks& source) { m_works->Assign(source); }

    bool Modified() const { return m_modified; }
    void SetModified(bool value) { m_modified = value; }

    const TNotifyEvent& OnNetChanged() const { return m_onNetChanged; }
    void SetOnNetChanged(TNotifyEvent handler) { m_onNetChanged = std::move(handler); }

    // While loading from a stream no change is reported.
    bool Loading() const { return m_loading; }
    void SetLoading(bool value) { m_loading = value; }

    platform::WindowServices& Services() const { return m_services; }
    // A refusal shown to the user.
    void ShowMessage(const QString& text) const { m_services.ShowMessage(text); }

    // Seams of the drawing and editing layers. Invalidate asks the host to
    // repaint the whole control.
    virtual void Invalidate();
    virtual void NodeSelectChanged(TNodeItem* node);
    virtual void WorkSelectChanged(TWorkItem* work);
    virtual void RearrangeWithOffsets();
    virtual void Rearrange();
    virtual void RecalcTimes();
    virtual void RecalcNetwork();
    virtual void HideHandles();

    TNodeItem& AddNode(int row, float offset);
    // Inserts a node at index; row and offset are stored as given.
    TNodeItem& InsertNode(int index, int row, float offset);
    void SelectItems(TNodeItem* node, TWorkItem* work, bool add);
    void DoNetChanged();

    // Works at a node in collection order, counted from 1.
    int CountWorksInto(int newID) const;
    int CountWorksFrom(int newID) const;
    TWorkItem* GetWorkInto(int newID, int n) const;
    TWorkItem* GetWorkFrom(int newID, int n) const;
    int CountInWorks(const TNodeItem* node) const;
    TWorkItem* GetInWork(const TNodeItem* node, int n) const;
    int CountOutWorks(const TNodeItem* node) const;
    TWorkItem* GetOutWork(const TNodeItem* node, int n) const;

    int GetMaxRow() const;
    int GetMinRow() const;

    // Schedule. Times are days from the project start, one entry per node in
    // collection order.
    const std::vector<float>& EarliestTimes() const { return m_earliestTimes; }
    const std::vector<float>& LatestTimes() const { return m_latestTimes; }
    const std::vector<TOffsetPoint>& OffsetPoints() const { return m_offsetPoints; }
    // Bumped by every BuildOffsetPoints, so that layers above can keep what
    // they derive from the pairs.
    std::uint64_t OffsetPointsRevision() const { return m_offsetPointsRevision; }

    void CalcEarliestTimes();
    void CalcLatestTimes();
    float GetTotalTime() const;
    float GetNodeEarliest(const TNodeItem* node) const;
    float GetNodeLatest(const TNodeItem* node) const;
    float GetWorkEarliestStart(const TWorkItem& work) const;
    float GetWorkEarliestFinish(const TWorkItem& work) const;
    float GetWorkLatestStart(const TWorkItem& work) const;
    float GetWorkLatestFinish(const TWorkItem& work) const;
    float GetWorkFreeTime(const TWorkItem& work) const;
    float GetWorkTotalFloat(const TWorkItem& work) const;
    bool IsKeyWork(const TWorkItem& work) const;
    // True when no chain of works leads from node b to node a.
    bool HasNoPathTo(int a, int b) const;
    // True when other reaches node along works.
    bool IsPredecessor(const TNodeItem* node, const TNodeItem* other) const;
    void SortNodes();
    void RenumberNodes();
    void SortWorks();
    void BuildOffsetPoints();

    // The NewID index of the current nodes and works, refreshed on demand:
    // NodeLookup finds nodes by NewID, LookupIndex also lists the works at
    // each NewID.
    const NetworkIndex& NodeLookup() const;
    const NetworkIndex& LookupIndex() const;

private:
    // Runs the recomputation until the node and work orders stop moving.
    void RecalcUntilSettled();
    const ScheduleGraph& Graph() const;
    TNodeItem* PriorNodeOf(const TWorkItem& work) const;
    TNodeItem* NextNodeOf(const TWorkItem& work) const;
    static float TimeAt(const std::vector<float>& times, const TNodeItem* node);
    // Per-node scratch arrays of SortNodes: a node's place in the group
    // being ordered (-1 outside it) and the search that saw it last.
    struct GroupScratch {
        std::vector<int> position;
        std::vector<int> seen;
        int stamp = 0;
    };
    // What the last OrderEqualTimes found: linksChecked when it had groups
    // and so tested the links, rising as CheckLinks gave it, forward when
    // every link runs forward in the order it left, groupsKept when it left
    // every group of equal times in the order it found it.
    struct GroupsOutcome {
        bool linksChecked = false;
        bool rising = false;
        bool forward = false;
        bool groupsKept = true;
    };
    void StableSortByTime(std::vector<int>& order) const;
    // Renumbers from node first on, up to the first node from last on that
    // keeps its number, where the numbers before were renumbered already.
    void RenumberFrom(int first, int last);
    // True when every group's new order meets the ordering rules, so that
    // sorting it again moves nothing.
    bool OrderEqualTimes(std::vector<int>& order, bool resorted) const;
    std::vector<std::vector<int>> ReachingMembers(std::span<const int> members, GroupScratch& scratch) const;
    std::vector<std::vector<int>> DirectPredecessors(std::span<const int> members,
                                                     const GroupScratch& scratch) const;
    // On a network where no work falls back in time: whether the group's
    // current order meets every rule, judged from its direct links alone
    // (false may also mean that it cannot tell).
    bool ChainsMeetOffsets(std::span<const int> members, std::span<const float> offsets,
                           const GroupScratch& scratch) const;
    // After a pass in order over works that all run forward, only the
    // values of logged works changed: the times are redone only where those
    // changes reach, downstream for the earliest times and upstream for the
    // latest ones (with chainOn). False when a whole pass is needed, which
    // then redoes every time, also those redone before it gave up.
    bool UpdateEarliestTimes();
    bool UpdateLatestTimes(float total);
    // Starts an empty set of node indices to visit; Push marks one.
    void BeginPending(int count);
    void Push(int index);
    // After so many visits: true, with every mark cleared, when a whole
    // pass costs less.
    bool TooManyVisited(int visited);
    // rising: no work ends at an earlier time than it starts; forward: every
    // work between two nodes runs from a lower to a higher index.
    void CheckLinks(bool& rising, bool& forward) const;
    void ComputeKeyWorks() const;
    bool KeyWorksInNodeOrder() const;
    void KeyWorksDepthFirst() const;
    float LatestAt(int index) const;

    platform::WindowServices& m_services;
    std::unique_ptr<TWorks> m_works;
    std::unique_ptr<TNodes> m_nodes;
    std::vector<TOffsetPoint> m_offsetPoints;
    std::uint64_t m_offsetPointsRevision = 0;
    std::vector<float> m_earliestTimes;
    std::vector<float> m_latestTimes;
    std::vector<float> m_reorderedTimes; // kept for the next reordering
    std::vector<char> m_reorderedFlags;  // the same for chainOn
    std::vector<int> m_workOrder;        // the same for the works
    std::vector<int> m_fullWorkOrder;    // the same for the works
    mutable std::vector<float> m_paddedTimes;
    // The walk of CalcEarliestTimes, kept between calls: per node index its
    // state, and the nodes whose start nodes are still being computed.
    struct EarliestFrame {
        int node;
        std::size_t next;
        float result;
    };
    std::vector<char> m_earliestState;
    // Whether every work rises in time, as the pass in order found it, for
    // the times, node order and links of the revisions kept.
    struct RisingSeen {
        bool known = false;
        bool rising = false;
        std::uint64_t times = 0, nodeOrder = 0, links = 0;
    };
    mutable RisingSeen m_risingSeen;
    // Scratch of StableSortByTime.
    mutable std::vector<float> m_smallestAfter;
    mutable std::vector<int> m_keptNodes, m_movedNodes;
    std::vector<EarliestFrame> m_earliestStack;
    // What such an update starts from: the times of a pass in order over
    // forward works for the lists of the graph's change epoch and the node
    // order kept (SortNodes carries the times along when it moves nodes),
    // the value changes logged before `logged` taken in; the first node's
    // slot for the earliest times, the total time for the latest ones.
    struct PassBasis {
        bool valid = false;
        std::uint64_t epoch = 0, nodeOrder = 0;
        std::size_t logged = 0;
        int firstSlot = 0;
        std::uint32_t totalBits = 0;
    };
    PassBasis m_earliestBasis;
    mutable PassBasis m_latestBasis;
    // By slot: some work entering the node ends before the time of its start
    // node; and how many nodes are so.
    std::vector<char> m_fallsInto;
    int m_fallingNodes = 0;
    // Per node index: an update still has to visit it; and the lowest and
    // highest index marked.
    std::vector<char> m_pending;
    int m_pendingLow = 0, m_pendingHigh = -1;
    // The last earliest times depend only on the links and the first node:
    // no cycle and no work from a node to itself after the first node.
    bool m_timesFollowLinks = false;
    // The last SortNodes left every group in an order that meets the rules.
    bool m_orderMeetsRules = false;
    bool m_modified = false;
    bool m_loading = false;
    TNotifyEvent m_onNetChanged;

    mutable NetworkIndex m_index;
    mutable ScheduleGraph m_graph;
    mutable ReachThroughFalls m_reachThroughFalls;
    mutable GroupScratch m_groupScratch;
    mutable GroupsOutcome m_groupsOutcome;
    // The [begin, end) ranges of the groups of equal time SortNodes orders.
    mutable std::vector<std::pair<std::size_t, std::size_t>> m_groups;
    // Revisions of node order and numbers when the numbers were last made
    // ascending.
    std::uint64_t m_renumberedOrder = 0;
    std::uint64_t m_renumberedNumbers = 0;
    bool m_renumbered = false;
    // Revisions of node order, work order and gaps when the works were last
    // found in order.
    std::uint64_t m_worksSortedAt[3] = {};
    // The nodes in [first, last) moved between the node orders of revisions
    // from and to, the others stayed in place.
    struct MovedNodes {
        std::uint64_t from = 0, to = 0;
        int first = 0, last = 0;
    };
    MovedNodes m_nodesMoved;
    // What decides the critical works, valid for the revisions recorded.
    std::uint64_t m_timesRevision = 0;
    // By node index when every work runs forward, else by key of the
    // lookup index with the zero floats by work index.
    struct KeyFlags {
        bool byIndex = false;
        std::vector<char> zeroFloat;
        std::vector<char> chainOn, chainBack;
    };
    mutable KeyFlags m_keyFlags;
    // chainOn by node index, found by the pass of latest times when every
    // work runs forward, valid for the revisions kept (node order, work
    // links, work values, times).
    mutable bool m_chainOnKept = false;
    mutable std::uint64_t m_chainOnRevisions[4] = {};
    mutable bool m_keyWorksValid = false;
    mutable std::uint64_t m_keyRevisions[5] = {};
};

} // namespace network
