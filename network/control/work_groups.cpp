// Copy and paste of work groups: the selected works travel as a templet in
// the control's own copy stream and are rebuilt from a node or in place of
// a work.
#include "network/control/glide_templet.h"
#include "network/control/vyr_network.h"

#include "platform/numbers.h"

#include <unordered_map>
#include <vector>

namespace network {

namespace {

const QString kSeveralStarts = QStringLiteral("所选工作组成了一个多起点的工作组合，不能复制!");

void AddTempletNode(TGlideTemplet& templet, const TNodeItem* node)
{
    if (!node || templet.FindNode(node->NewID()))
        return;
    TGNodeItem& item = templet.GNodes().Add();
    item.NewID = node->NewID();
    item.NodeY = node->NodeY();
    item.Offset = node->Offset();
    item.Number = node->Number();
}

} // namespace

void TVYRNetwork::CopyWorks()
{
    TGlideTemplet templet;
    for (int i = 0; i < Works().Count(); ++i) {
        const TWorkItem& work = *Works().Items(i);
        if (!work.Selected())
            continue;
        TGWorkItem& item = templet.GWorks().Add();
        item.Caption = work.Caption();
        item.PriorNode = work.PriorNode();
        item.NextNode = work.NextNode();
        item.ContinueTime = work.ContinueTime();
        item.Labor = work.Labor();
        item.Workforce = work.Workforce();
        item.ParallelTime = work.ParallelTime();
        item.Diapause = work.Diapause();
        item.Offset = work.Offset();
        item.HorizontalLine = work.HorizontalLine();
        item.SetFont(work.Font());
        item.ParentFont = work.ParentFont();
        AddTempletNode(templet, Nodes().FindByNewID(work.PriorNode()));
        AddTempletNode(templet, Nodes().FindByNewID(work.NextNode()));
    }
    for (int i = 0; i < templet.GNodes().Count(); ++i)
        templet.GNodes().Item(i).New = -1;
    if (!templet.HasSingleStart()) {
        ShowMessage(kSeveralStarts);
        return;
    }
    m_copyStream = WriteGlideTemplet(templet);
}

bool TVYRNetwork::CanPaste() const
{
    return (Works().GetSelectedWork() || Nodes().GetSelectedNode()) && m_copyStream.has_value();
}

void TVYRNetwork::PasteWorks(TNodeItem* node, TWorkItem* work)
{
    if ((!node && !work) || !m_copyStream)
        return;
    const std::unique_ptr<TGlideTemplet> templet = ReadGlideTemplet(*m_copyStream);
    PasteTemplet(*templet, node, work);
}

void TVYRNetwork::PasteTemplet(TGlideTemplet& templet, TNodeItem* node, TWorkItem* work)
{
    if (!node && !work)
        return;
    TNodeItem* s = node ? node : Nodes().FindByNewID(work->PriorNode());
    TNodeItem* e = node ? nullptr : Nodes().FindByNewID(work->NextNode());
    if (node)
        work = nullptr;
    if (!s || (work && !e) || templet.GNodes().Count() == 0)
        return;

    Nodes().BeginUpdate();
    Works().BeginUpdate();
    // The network node of each placed template node, by template NewID.
    std::unordered_map<int, TNodeItem*> placed;
    for (int i = 0; i < templet.GNodes().Count(); ++i)
        templet.GNodes().Item(i).New = -1;
    TGNodeItem& g0 = templet.GNodes().Item(0);
    const int r0 = g0.NodeY;
    g0.NodeY = s->NodeY();
    g0.New = s->NewID();
    placed[g0.NewID] = s;

    // Works are placed once their start node is: in template order where
    // the copy's order allows it, else in dependency order. Works naming a
    // node the template lacks are left out.
    std::vector<const TGWorkItem*> pending;
    for (int i = 0; i < templet.GWorks().Count(); ++i) {
        const TGWorkItem& item = templet.GWorks().Item(i);
        if (templet.FindNode(item.PriorNode) && templet.FindNode(item.NextNode))
            pending.push_back(&item);
    }
    TNodeItem* lastEnd = nullptr;
    bool progress = true;
    while (progress && !pending.empty()) {
        progress = false;
        std::vector<const TGWorkItem*> waiting;
        for (const TGWorkItem* item : pending) {
            const auto found = placed.find(item->PriorNode);
            if (found == placed.end()) {
                waiting.push_back(item);
                continue;
            }
            TNodeItem* from = found->second;
            TGNodeItem& t = *templet.FindNode(item->NextNode);
            TNodeItem*& to = placed[t.NewID];
            if (!to) {
                to = &Nodes().Insert(from->Index() + 1);
                to->SetNodeY(platform::SaturateInt(std::int64_t{s->NodeY()} + t.NodeY - r0));
                to->SetOffset(t.Offset);
                t.New = to->NewID();
            }
            TWorkItem& pasted = Works().Add();
            pasted.SetPriorNode(from->NewID());
            pasted.SetNextNode(to->NewID());
            pasted.SetCaption(item->Caption);
            pasted.SetExactContinueTime(item->ContinueTime);
            pasted.SetLabor(item->Labor);
            pasted.SetWorkforce(item->Workforce);
            pasted.SetParallelTime(item->ParallelTime);
            pasted.SetDiapause(item->Diapause);
            pasted.SetOffset(item->Offset);
            pasted.SetHorizontalLine(item->HorizontalLine);
            pasted.SetParentFont(item->ParentFont);
            pasted.SetFont(SaneFont(item->Font(), TWorks::DefaultFont().Size));
            lastEnd = to;
            progress = true;
        }
        pending = std::move(waiting);
    }

    if (work && lastEnd) {
        // Nothing may keep pointing at the replaced work or its end node.
        HideHandles();
        if (m_pickedWork == work)
            m_pickedWork = nullptr;
        Works().Delete(work->Index());
        if (e != s && e != lastEnd) {
            const int target = lastEnd->NewID();
            for (int i = 0; i < Works().Count(); ++i) {
                TWorkItem& other = *Works().Items(i);
                if (other.PriorNode() == e->NewID())
                    other.SetPriorNode(target);
                if (other.NextNode() == e->NewID())
                    other.SetNextNode(target);
            }
            if (m_startNode == e)
                m_startNode = nullptr;
            Nodes().Delete(e->Index());
        }
    }
    Nodes().EndUpdate();
    Works().EndUpdate();
    DoWorkChanged(nullptr);
}

} // namespace network
