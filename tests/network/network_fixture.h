// A network control that records what its change reports set off, and
// helpers that build networks work by work.
#pragma once

#include "network/network_add_node_work.h"
#include "tests/support/fake_window_services.h"

#include <QString>
#include <QStringList>

namespace network_test {

using network::TNodeItem;
using network::TVYRNetworkAddNodeWork;
using network::TWorkItem;

// The fake services are built before the control that uses them.
struct ServicesHolder {
    FakeWindowServices services;
};

class RecordingNetwork : private ServicesHolder, public TVYRNetworkAddNodeWork {
public:
    RecordingNetwork()
        : TVYRNetworkAddNodeWork(ServicesHolder::services)
    {
        SetOnNetChanged([this](TVYRNetworkAddNodeWork&) { ++netChanged; });
    }

    int Invalidated() const { return ServicesHolder::services.fullInvalidations; }
    QStringList Messages() const { return ServicesHolder::services.MessageTexts(); }
    void NodeSelectChanged(TNodeItem*) override { ++nodeSelections; }
    void WorkSelectChanged(TWorkItem*) override { ++workSelections; }
    void HideHandles() override { ++handlesHidden; }
    void RecalcTimes() override
    {
        ++timesRecalculated;
        TVYRNetworkAddNodeWork::RecalcTimes();
    }
    void RecalcNetwork() override
    {
        ++networksRecalculated;
        TVYRNetworkAddNodeWork::RecalcNetwork();
    }

    void ResetCounts()
    {
        ServicesHolder::services.fullInvalidations = 0;
        ServicesHolder::services.messages.clear();
        nodeSelections = workSelections = handlesHidden = 0;
        timesRecalculated = networksRecalculated = netChanged = 0;
        SetModified(false);
    }

    int nodeSelections = 0;
    int workSelections = 0;
    int handlesHidden = 0;
    int timesRecalculated = 0;
    int networksRecalculated = 0;
    int netChanged = 0;
};

struct WorkSpec {
    int prior;
    int next;
    float duration;
    float overlap = 0.0f;
    float interval = 0.0f;
};

// Adds nodes until the network has count of them (NewIDs 1..count, in that
// order), without recomputing.
inline void AddNodes(TVYRNetworkAddNodeWork& net, int count)
{
    while (net.Nodes().Count() < count)
        net.AddNode(101 + net.Nodes().Count(), 0.0f);
}

// Adds one work; the work collection recomputes the schedule once.
inline TWorkItem& AddWork(TVYRNetworkAddNodeWork& net, const WorkSpec& spec)
{
    net.Works().BeginUpdate();
    TWorkItem& work = net.Works().Add();
    work.SetPriorNode(spec.prior);
    work.SetNextNode(spec.next);
    work.SetContinueTime(spec.duration);
    work.SetParallelTime(spec.overlap);
    work.SetDiapause(spec.interval);
    net.Works().EndUpdate();
    return work;
}

inline TWorkItem* FindWork(const TVYRNetworkAddNodeWork& net, int prior, int next)
{
    for (int i = 0; i < net.Works().Count(); ++i) {
        TWorkItem* work = net.Works().Items(i);
        if (work->PriorNode() == prior && work->NextNode() == next)
            return work;
    }
    return nullptr;
}

// NewIDs of the nodes in collection order.
inline std::vector<int> NodeOrder(const TVYRNetworkAddNodeWork& net)
{
    std::vector<int> ids;
    for (int i = 0; i < net.Nodes().Count(); ++i)
        ids.push_back(net.Nodes().Items(i)->NewID());
    return ids;
}

} // namespace network_test
