// A work (activity) of an activity-on-arrow network: an arrow from the node
// PriorNode to the node NextNode (both by NewID) with its duration, overlap
// and interval in days, its texts and drawing options. A work of duration 0
// is a dummy work. Owned by a TWorks collection.
#pragma once

#include "network/collection.h"
#include "platform/canvas.h"

#include <QString>

namespace network {

class TWorks;

// What the last item report of a work changed.
enum TWorkChange : int {
    wkContinueTime = 1,
    wkDiapause = 2,
    wkNextNode = 3,
    wkParallelTime = 4,
    wkPriorNode = 5,
    wkSelected = 6,
};

class TWorkItem : public TCollectionItem {
public:
    explicit TWorkItem(TWorks& collection);

    TWorks& Collection() const { return *m_collection; }

    bool HorizontalLine() const { return m_horizontalLine; }
    void SetHorizontalLine(bool value);

    bool Selected() const { return m_selected; }
    void SetSelected(bool value);

    // Scratch flag of the painter.
    bool Drawn() const { return m_drawn; }
    void SetDrawn(bool value) { m_drawn = value; }

    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool value);

    int NextNode() const { return m_nextNode; }
    void SetNextNode(int value);

    int Workforce() const { return m_workforce; }
    void SetWorkforce(int value);

    int PriorNode() const { return m_priorNode; }
    void SetPriorNode(int value);

    // Days; stored as a whole multiple of half a day.
    float ContinueTime() const { return m_continueTime; }
    void SetContinueTime(float value);
    // Stores a finite duration as given, without rounding to half days (the
    // generator's rhythms and pasted durations keep their exact values).
    void SetExactContinueTime(float value);

    float Labor() const { return m_labor; }
    void SetLabor(float value);

    float ParallelTime() const { return m_parallelTime; }
    void SetParallelTime(float value);

    float Diapause() const { return m_diapause; }
    void SetDiapause(float value);

    const QString& WorkPoints() const { return m_workPoints; }
    void SetWorkPoints(const QString& value);

    const platform::TFont& Font() const { return m_font; }
    void SetFont(const platform::TFont& value);

    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& value);

    int ChangeKind() const { return m_changeKind; }

    int Offset() const { return m_offset; }
    void SetOffset(int value);

    bool IsVirtual() const { return m_continueTime == 0.0f; }

    void Assign(const TWorkItem& source);

private:
    friend class TWorks;
    friend class NetworkIndex;
    friend class ScheduleGraph;

    void Report(int kind);
    void ReportCollection();

    TWorks* m_collection;
    bool m_horizontalLine = true;
    bool m_selected = false;
    bool m_drawn = false;
    bool m_parentFont = true;
    int m_nextNode = 0;
    int m_workforce = 0;
    int m_priorNode = 0;
    float m_continueTime = 0.0f;
    float m_labor = 0.0f;
    float m_parallelTime = 0.0f;
    float m_diapause = 0.0f;
    QString m_workPoints;
    platform::TFont m_font;
    QString m_caption;
    int m_changeKind = 0;
    int m_offset = 0;
    // Positions of the two NewIDs in the control's lookup index.
    int m_priorKey = -1;
    int m_nextKey = -1;
};

} // namespace network
