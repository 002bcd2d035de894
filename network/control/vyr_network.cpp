#include "network/control/vyr_network.h"

#include "network/control/network_records.h"

#include "platform/stream/stream_error.h"

#include <algorithm>
#include <unordered_set>

namespace network {

namespace {

// Largest point size a stored font draws at.
constexpr int kLargestFontSize = 500;
constexpr int kNetFontSize = 9;
constexpr int kCapFontSize = 18;

// New control fonts: 宋体 in black with the Chinese character set.
stream::StoredFont NewControlFont(int size)
{
    stream::StoredFont font;
    font.Font.Name = QStringLiteral("宋体");
    font.Font.Size = size;
    font.Font.Color = platform::clBlack;
    font.Charset = stream::GB2312_CHARSET;
    return font;
}

// Copies font into record unless record already draws as font, so that a
// stored height is kept while the font stays as read.
void TakeFont(stream::StoredFont& record, const platform::TFont& font, int fallbackSize)
{
    if (SaneFont(record.Font, fallbackSize) != font)
        record.Font = font;
}

} // namespace

platform::TFont SaneFont(platform::TFont font, int fallbackSize)
{
    const int size = font.Size < 0 ? -font.Size : font.Size;
    font.Size = size >= 1 && size <= kLargestFontSize ? size : fallbackSize;
    return font;
}

TVYRNetwork::TVYRNetwork(platform::WindowServices& services)
    : TVYRNetworkAddDraw(services)
    , m_fontRecord(NewControlFont(kNetFontSize))
    , m_capFont(NewControlFont(kCapFontSize))
    , m_dutyFont(NewControlFont(kNetFontSize))
    , m_netFont(NewControlFont(kNetFontSize))
    , m_nodeRecords(std::make_unique<NodeRecords>(*this))
    , m_workRecords(std::make_unique<WorkRecords>(*this))
{
    m_fontRecord.Font = TVYRNetworkAddDraw::Font();
    for (auto& record : m_panelRecords)
        record = std::make_unique<StoredLankPanel>();
    SetModified(false);
}

TVYRNetwork::~TVYRNetwork() = default;

void TVYRNetwork::SetText(const QString& value)
{
    m_text.SetText(value);
    Invalidate();
}

platform::TFont TVYRNetwork::CapFont() const { return SaneFont(m_capFont.Font, kCapFontSize); }
void TVYRNetwork::SetCapFont(const platform::TFont& value) { TakeFont(m_capFont, value, kCapFontSize); }
platform::TFont TVYRNetwork::DutyFont() const { return SaneFont(m_dutyFont.Font, kNetFontSize); }
void TVYRNetwork::SetDutyFont(const platform::TFont& value) { TakeFont(m_dutyFont, value, kNetFontSize); }
platform::TFont TVYRNetwork::NetFont() const { return SaneFont(m_netFont.Font, kNetFontSize); }
void TVYRNetwork::SetNetFont(const platform::TFont& value) { TakeFont(m_netFont, value, kNetFontSize); }

void TVYRNetwork::SetTopStyle(TTableTopStyle value)
{
    m_topStyle = static_cast<TTableTopStyle>(value & TableTopStyleAll);
    Invalidate();
}

void TVYRNetwork::SetBottomStyle(TTableTopStyle value)
{
    m_bottomStyle = static_cast<TTableTopStyle>(value & TableTopStyleAll);
}

void TVYRNetwork::SetScheduleInterval(int value) { m_scheduleInterval = std::max(value, 2); }
void TVYRNetwork::SetLeftLank(int value) { m_leftLank = std::max(value, 2); }
void TVYRNetwork::SetRightLank(int value) { m_rightLank = std::max(value, 2); }
void TVYRNetwork::SetTopLank(int value) { m_topLank = std::max(value, 5); }
void TVYRNetwork::SetBottomLank(int value) { m_bottomLank = std::max(value, 2); }
void TVYRNetwork::SetLankLineWidth(int value) { m_lankLineWidth = std::max(value, 2); }

void TVYRNetwork::SetScheduleHeight(int value)
{
    m_scheduleHeight = std::max(value, 5);
    Invalidate();
}

int TVYRNetwork::CursorOfDrawState() const
{
    return m_drawState == 4 ? platform::cursor::kHandPoint : platform::cursor::kDefault;
}

void TVYRNetwork::SetDrawState(std::uint8_t value)
{
    if (value == m_drawState)
        return;
    m_drawState = value;
    EnterDrawState();
}

void TVYRNetwork::EnterDrawState()
{
    m_cursor = CursorOfDrawState();
    Services().SetCursor(m_cursor);
    SelectItems(nullptr, nullptr, false);
    m_startNode = nullptr;
    m_pickedWork = nullptr;
    m_pendingPoints.clear();
    HideHandles();
    // The selection colours and the handles change all over the view.
    Invalidate();
    if (m_onDrawStateChanged)
        m_onDrawStateChanged(*this);
}

stream::StoredFont* TVYRNetwork::FontRecord() const
{
    if (!Loading())
        TakeFont(m_fontRecord, TVYRNetworkAddDraw::Font(), kNetFontSize);
    return &m_fontRecord;
}

stream::StoredFont& TVYRNetwork::StoredWorkFont(const TWorkItem& work)
{
    const auto [it, added] = m_workFonts.try_emplace(work.ID());
    if (added)
        it->second.Font = work.Font();
    return it->second;
}

stream::StoredFont TVYRNetwork::WorkFontToWrite(const TWorkItem& work) const
{
    const auto it = m_workFonts.find(work.ID());
    if (it != m_workFonts.end() && SaneFont(it->second.Font, TWorks::DefaultFont().Size) == work.Font())
        return it->second;
    return stream::StoredFont(work.Font());
}

void TVYRNetwork::AddChild(std::unique_ptr<StreamObject> child)
{
    const auto* panel = dynamic_cast<const StoredLankPanel*>(child.get());
    if (!panel || m_panelsRead >= 3)
        return;
    TLankPanel* handles[3] = {&StartHandle(), &EndHandle(), &BendHandle()};
    TLankPanel& handle = *handles[m_panelsRead++];
    handle.Left = panel->Left;
    handle.Top = panel->Top;
}

std::vector<const stream::StreamObject*> TVYRNetwork::Children() const
{
    // The handles in tab order 0, 1, 2: start, end, bend. They belong to a
    // selection, which is not stored, so they are stored hidden.
    auto* self = const_cast<TVYRNetwork*>(this);
    const TLankPanel* handles[3] = {&self->StartHandle(), &self->EndHandle(), &self->BendHandle()};
    std::vector<const stream::StreamObject*> children;
    for (int i = 0; i < 3; ++i) {
        StoredLankPanel& record = *m_panelRecords[i];
        const TLankPanel& handle = *handles[i];
        record.Left = handle.Left;
        record.Top = handle.Top;
        record.Width = handle.Width;
        record.Height = handle.Height;
        record.Cursor = handle.Cursor;
        record.Color = handle.Color;
        record.TabOrder = i;
        record.Visible = false;
        children.push_back(&record);
    }
    return children;
}

void TVYRNetwork::FinishLoading()
{
    std::unordered_set<int> ids;
    for (int i = 0; i < Nodes().Count(); ++i)
        if (!ids.insert(Nodes().Items(i)->NewID()).second) {
            SetLoading(false);
            throw stream::StreamError(QStringLiteral("文件中有两个节点的标识相同，不能打开。"));
        }
    // An empty font name is not written, so a stored one reads as the name
    // every font of the control is made with.
    for (stream::StoredFont* font : {&m_fontRecord, &m_capFont, &m_dutyFont, &m_netFont})
        if (font->Font.Name.isEmpty())
            font->Font.Name = QStringLiteral("宋体");
    for (auto& [id, font] : m_workFonts)
        if (font.Font.Name.isEmpty())
            font.Font.Name = TWorks::DefaultFont().Name;
    for (int i = 0; i < Works().Count(); ++i) {
        TWorkItem& work = *Works().Items(i);
        const auto it = m_workFonts.find(work.ID());
        if (it != m_workFonts.end())
            work.SetFont(SaneFont(it->second.Font, TWorks::DefaultFont().Size));
    }
    TVYRNetworkAddDraw::SetFont(SaneFont(m_fontRecord.Font, kNetFontSize));
    SetLoading(false);
    m_cursor = CursorOfDrawState();
    RecalcNetwork();
    BuildOffsetColumns();
    SetModified(false);
}

} // namespace network
