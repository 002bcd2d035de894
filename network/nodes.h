// The ordered node collection of a network. The first node is the start of
// the network, the last its end. Node changes repaint and notify through the
// owning control but never recompute the schedule.
#pragma once

#include "network/collection.h"
#include "network/node_item.h"
#include "platform/canvas.h"

#include <cstdint>
#include <vector>

namespace network {

class TVYRNetworkAddNodeWork;

class TNodes : public TCollection<TNodeItem> {
public:
    explicit TNodes(TVYRNetworkAddNodeWork* owner);

    TVYRNetworkAddNodeWork* Owner() const { return m_owner; }

    // Radius of node circles in pixels.
    int Radii() const { return m_radii; }
    void SetRadii(int value);

    // Font of node numbers.
    const platform::TFont& Font() const { return m_font; }
    void SetFont(const platform::TFont& value);

    // A new node with the next free NewID (one above the largest in use).
    TNodeItem& Add();
    // Adds a node and moves it to index.
    TNodeItem& Insert(int index);

    TNodeItem* FindByNewID(int id) const;
    TNodeItem* GetSelectedNode() const;

    // Shifts the rows of all selected nodes, with one collection report.
    void MoveSelectedRows(int delta);

    // Selects node (nullptr: none); without add the others are deselected.
    void SelectNode(TNodeItem* node, bool add);

    // Copies the items of source.
    void Assign(const TNodes& source);

    // Bumped by every change of a node's Number or AutoNumber.
    std::uint64_t NumbersRevision() const { return m_numbersRevision; }
    void BumpNumbers() { ++m_numbersRevision; }

    // Puts the nodes in the order given (new index -> old index), without
    // reporting.
    void ReorderNodes(std::span<const int> permutation) { Reorder(permutation); }
    // The same where only the nodes from first on moved among themselves
    // (stretch: their old indices in their new order).
    void ReorderNodes(int first, std::span<const int> stretch) { Reorder(first, stretch); }

protected:
    void Update(TNodeItem* item) override;
    void Removed() override { m_largestKnown = false; }

private:
    friend class TNodeItem;

    void NewIDChanged(int oldID, int newID);
    int LargestNewID();

    TVYRNetworkAddNodeWork* m_owner;
    int m_radii = 10;
    platform::TFont m_font;
    // Largest NewID in use (at least 0), kept while m_largestKnown.
    int m_largestNewID = 0;
    bool m_largestKnown = true;
    std::uint64_t m_numbersRevision = 0;
};

} // namespace network
