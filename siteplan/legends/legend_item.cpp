#include "legend_item.h"

#include "legends.h"

namespace legends {

TLegendItem::TLegendItem(TLegends* collection) : collection_(collection) {}

void TLegendItem::Assign(const TLegendItem& source)
{
    mapHint_ = source.mapHint_;
    showPanel_ = source.showPanel_;
    picture_ = source.picture_;
}

int TLegendItem::Index() const
{
    return collection_ ? collection_->IndexOf(this) : -1;
}

const stream::PropertyTable& TLegendItem::Properties() const
{
    using I = TLegendItem;
    static const stream::PropertyTable table = stream::TableBuilder<I>()
        .Text("MapHint", [](const I& i) { return i.mapHint_.Bytes(); },
            [](I& i, const QByteArray& v) { i.mapHint_ = platform::StoredText::FromBytes(v); })
        .Text("ShowPanel", [](const I& i) { return i.showPanel_.Bytes(); },
            [](I& i, const QByteArray& v) { i.showPanel_ = platform::StoredText::FromBytes(v); })
        .Boolean("Visible", [](const I& i) { return i.visible_; }, [](I& i, bool v) { i.visible_ = v; })
        .Object("Picture", [](I& i) { return &i.storedPicture_; })
        .Build();
    return table;
}

} // namespace legends
