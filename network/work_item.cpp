#include "network/work_item.h"

#include "network/half_days.h"
#include "network/works.h"

#include <cmath>

namespace network {

TWorkItem::TWorkItem(TWorks& collection)
    : m_collection(&collection)
{
}

void TWorkItem::Report(int kind)
{
    m_changeKind = kind;
    m_collection->ItemChanged(this);
}

void TWorkItem::ReportCollection() { m_collection->Changed(); }

void TWorkItem::SetHorizontalLine(bool value)
{
    if (m_horizontalLine == value)
        return;
    m_horizontalLine = value;
    ReportCollection();
}

void TWorkItem::SetSelected(bool value)
{
    if (m_selected == value)
        return;
    m_selected = value;
    Report(wkSelected);
}

void TWorkItem::SetParentFont(bool value)
{
    if (m_parentFont == value)
        return;
    m_parentFont = value;
    ReportCollection();
}

void TWorkItem::SetNextNode(int value)
{
    if (m_nextNode == value)
        return;
    m_nextNode = value;
    m_collection->BumpStructure();
    Report(wkNextNode);
}

void TWorkItem::SetWorkforce(int value)
{
    if (m_workforce == value)
        return;
    m_workforce = value;
    ReportCollection();
}

void TWorkItem::SetPriorNode(int value)
{
    if (m_priorNode == value)
        return;
    m_priorNode = value;
    m_collection->BumpStructure();
    Report(wkPriorNode);
}

void TWorkItem::SetContinueTime(float value)
{
    if (!std::isfinite(value) || m_continueTime == value)
        return;
    m_continueTime = RoundToHalfDay(value);
    m_collection->ValueChanged(*this);
    Report(wkContinueTime);
}

void TWorkItem::SetExactContinueTime(float value)
{
    if (!std::isfinite(value) || m_continueTime == value)
        return;
    m_continueTime = value;
    m_collection->ValueChanged(*this);
    Report(wkContinueTime);
}

void TWorkItem::SetLabor(float value)
{
    if (!std::isfinite(value) || m_labor == value)
        return;
    m_labor = value;
    ReportCollection();
}

void TWorkItem::SetParallelTime(float value)
{
    if (!std::isfinite(value) || m_parallelTime == value)
        return;
    m_parallelTime = value;
    m_collection->ValueChanged(*this);
    Report(wkParallelTime);
}

void TWorkItem::SetDiapause(float value)
{
    if (!std::isfinite(value) || m_diapause == value)
        return;
    m_diapause = value;
    m_collection->ValueChanged(*this);
    Report(wkDiapause);
}

void TWorkItem::SetWorkPoints(const QString& value)
{
    if (m_workPoints == value)
        return;
    m_workPoints = value;
    ReportCollection();
}

void TWorkItem::SetFont(const platform::TFont& value)
{
    if (&value == &m_font)
        return;
    m_font = value;
    ReportCollection();
}

void TWorkItem::SetCaption(const QString& value)
{
    if (m_caption == value)
        return;
    m_caption = value;
    ReportCollection();
}

void TWorkItem::SetOffset(int value)
{
    if (m_offset == value)
        return;
    m_offset = value;
    ReportCollection();
}

void TWorkItem::Assign(const TWorkItem& source)
{
    m_caption = source.m_caption;
    m_priorNode = source.m_priorNode;
    m_nextNode = source.m_nextNode;
    m_continueTime = source.m_continueTime;
    m_labor = source.m_labor;
    m_workforce = source.m_workforce;
    m_parallelTime = source.m_parallelTime;
    m_diapause = source.m_diapause;
    m_workPoints = source.m_workPoints;
    m_horizontalLine = source.m_horizontalLine;
    m_font = source.m_font;
    m_parentFont = source.m_parentFont;
    m_collection->BumpStructure();
    m_collection->BumpValues();
}

} // namespace network
