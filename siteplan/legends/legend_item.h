// One symbol of the legend library: its name, the page it belongs to,
// whether it gets a palette button, and its picture (owned by the item).
#pragma once

#include "stored_picture.h"

#include "platform/stream/stream_object.h"

#include "platform/gbk_text.h"
#include "platform/picture/picture.h"

#include <QString>

namespace legends {

class TLegends;

class TLegendItem : public stream::StreamObject {
public:
    explicit TLegendItem(TLegends* collection = nullptr);
    TLegendItem(const TLegendItem&) = delete;
    TLegendItem& operator=(const TLegendItem&) = delete;

    QString MapHint() const { return mapHint_.Text(); }
    void SetMapHint(const QString& hint) { mapHint_.SetText(hint); }
    QString ShowPanel() const { return showPanel_.Text(); }
    void SetShowPanel(const QString& page) { showPanel_.SetText(page); }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    const platform::TPicture& Picture() const { return picture_; }
    void SetPicture(const platform::TPicture& picture) { picture_ = picture; }

    // Copies the name, the page and the picture; Visible stays.
    void Assign(const TLegendItem& source);

    // The position in the owning collection: the symbol's identity in the
    // palette and in the drawing tools (1000 + index); -1 without one.
    int Index() const;

    const stream::PropertyTable& Properties() const override;

private:
    TLegends* collection_;
    platform::StoredText mapHint_{QStringLiteral("新图例")};
    platform::StoredText showPanel_;
    bool visible_ = true;
    platform::TPicture picture_;
    StoredPicture storedPicture_{picture_};
};

} // namespace legends
