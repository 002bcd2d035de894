// A node of an activity-on-arrow network: its identity NewID (works refer to
// nodes only through it), its row, its extra horizontal shift and the number
// shown in its circle. Owned by a TNodes collection.
#pragma once

#include "network/collection.h"

namespace network {

class TNodes;

// What the last item report of a node changed.
enum TNodeChange : int { nkNodeY = 1, nkOffset = 2, nkSelected = 3 };

class TNodeItem : public TCollectionItem {
public:
    explicit TNodeItem(TNodes& collection);

    TNodes& Collection() const { return *m_collection; }

    bool Selected() const { return m_selected; }
    void SetSelected(bool value);

    int NodeY() const { return m_nodeY; }
    void SetNodeY(int value);

    // Days; stored as a whole multiple of half a day.
    float Offset() const { return m_offset; }
    void SetOffset(float value);

    // Unique within the collection; a plain field (no report).
    int NewID() const { return m_newID; }
    void SetNewID(int value);

    int ChangeKind() const { return m_changeKind; }

    // Refuses a number not above the previous node's with a message;
    // otherwise shifts the numbers of all later nodes by the same amount.
    int Number() const { return m_number; }
    void SetNumber(int value);

    bool AutoNumber() const { return m_autoNumber; }
    void SetAutoNumber(bool value);

    void Assign(const TNodeItem& source);

private:
    friend class TNodes;
    friend class TVYRNetworkAddNodeWork;
    friend class NetworkIndex;
    friend class ScheduleGraph;

    void Report(int kind);

    TNodes* m_collection;
    bool m_selected = false;
    int m_nodeY = 0;
    float m_offset = 0.0f;
    int m_newID = 0;
    int m_changeKind = 0;
    int m_number = 1;
    bool m_autoNumber = true;
    // Position of this node's NewID in the control's lookup index, and its
    // place in the schedule's arrays.
    int m_key = -1;
    int m_slot = -1;
};

} // namespace network
