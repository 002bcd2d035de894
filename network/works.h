// The ordered work collection of a network and the drawing settings of
// works. Changes of durations, overlaps, intervals, links and membership
// recompute the schedule of the owning control.
#pragma once

#include "network/collection.h"
#include "network/work_item.h"
#include "platform/canvas.h"
#include "platform/colors.h"

#include <cstdint>
#include <vector>

namespace network {

class TVYRNetworkAddNodeWork;

class TWorks : public TCollection<TWorkItem> {
public:
    explicit TWorks(TVYRNetworkAddNodeWork* owner);

    TVYRNetworkAddNodeWork* Owner() const { return m_owner; }

    TWorkItem& Add();

    TWorkItem* GetSelectedWork() const;
    // The start and end nodes of the selected works, each NewID once, in
    // collection order.
    void GetSelectedNodeIDs(std::vector<int>& ids) const;
    // Selects work (nullptr: none); add toggles it, without add the others
    // are deselected unless work is already selected.
    void SelectWork(TWorkItem* work, bool add);

    void Assign(const TWorks& source);

    // Puts the works in the order given (new index -> old index), without
    // reporting.
    void ReorderWorks(std::span<const int> permutation) { Reorder(permutation); }
    // The same where only the works from first on moved among themselves
    // (stretch: their old indices in their new order).
    void ReorderWorks(int first, std::span<const int> stretch) { Reorder(first, stretch); }

    int LineWidth() const { return m_lineWidth; }
    void SetLineWidth(int value);
    int ArrowWidth() const { return m_arrowWidth; }
    void SetArrowWidth(int value);
    int IntersectionRadii() const { return m_intersectionRadii; }
    void SetIntersectionRadii(int value);
    int ArrowHeight() const { return m_arrowHeight; }
    void SetArrowHeight(int value);
    int LineOffset() const { return m_lineOffset; }
    void SetLineOffset(int value);
    int KeyLineWidth() const { return m_keyLineWidth; }
    void SetKeyLineWidth(int value);
    platform::TColor KeyLineColor() const { return m_keyLineColor; }
    void SetKeyLineColor(platform::TColor value);
    platform::TColor LineColor() const { return m_lineColor; }
    void SetLineColor(platform::TColor value);
    const platform::TFont& Font() const { return m_font; }
    void SetFont(const platform::TFont& value);
    int CapInterval() const { return m_capInterval; }
    void SetCapInterval(int value);
    std::uint16_t TextPosition() const { return m_textPosition; }
    void SetTextPosition(std::uint16_t value);
    platform::TColor WaveLineColor() const { return m_waveLineColor; }
    void SetWaveLineColor(platform::TColor value);

    // False holds back all reports of this collection.
    bool UpdateEnabled() const { return m_updateEnabled; }
    void SetUpdateEnabled(bool value) { m_updateEnabled = value; }

    // The font new works and the collection start with.
    static platform::TFont DefaultFont();

    // Records that a duration, overlap or interval of work changed.
    void ValueChanged(TWorkItem& work);
    // The works whose values changed since the last call, in no particular
    // order; false when too many changed to list (every work may have).
    bool TakeChangedValues(std::vector<TWorkItem*>& changed);

protected:
    void Update(TWorkItem* item) override;

private:
    TVYRNetworkAddNodeWork* m_owner;
    int m_lineWidth = 1;
    int m_arrowWidth = 10;
    int m_intersectionRadii = 5;
    int m_arrowHeight = 5;
    int m_lineOffset = 4;
    int m_keyLineWidth = 3;
    platform::TColor m_keyLineColor = platform::clRed;
    platform::TColor m_lineColor = platform::clBlue;
    platform::TFont m_font;
    int m_capInterval = 5;
    std::uint16_t m_textPosition = 1;
    bool m_updateEnabled = true;
    platform::TColor m_waveLineColor = platform::clGreen;
    std::vector<TWorkItem*> m_changedValues;
    bool m_tooManyChanged = false;
};

} // namespace network
