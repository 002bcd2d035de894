#include "legend_files.h"

#include "platform/stream/class_registry.h"

namespace legends {

void TLegendFiles::DeletePage(const QString& name)
{
    const int page = Pages.IndexOf(name);
    if (page < 0)
        return;
    Pages.Lines.removeAt(page);
    for (int i = Legends.Count() - 1; i >= 0; --i)
        if (Legends.Items(i).ShowPanel() == name)
            Legends.Delete(i);
}

void TLegendFiles::RenamePage(const QString& oldName, const QString& newName)
{
    for (int i = 0; i < Legends.Count(); ++i)
        if (Legends.Items(i).ShowPanel() == oldName)
            Legends.Items(i).SetShowPanel(newName);
}

const stream::PropertyTable& TLegendFiles::Properties() const
{
    using F = TLegendFiles;
    static const stream::PropertyTable table = stream::TableBuilder<F>()
        .Integer("Tag", [](const F& f) { return f.Tag; },
            [](F& f, std::int64_t v) { f.Tag = static_cast<std::int32_t>(v); }, 0)
        .Integer("HasPaper", [](const F& f) { return f.HasPaper; },
            [](F& f, std::int64_t v) { f.HasPaper = static_cast<std::int32_t>(v); })
        .Object("Pages", [](F& f) { return &f.Pages; })
        .Collection("Legends", [](F& f) { return &f.Legends; })
        .Build();
    return table;
}

void RegisterLegendClasses()
{
    stream::RegisterClass("TLegendFiles", [] { return std::make_unique<TLegendFiles>(); });
}

} // namespace legends
