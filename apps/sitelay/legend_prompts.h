// The prompts of the legend-library dialogs behind a small interface, so
// that tests can answer them: the input box for a page name and the
// open-picture dialog of a legend's picture.
#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace sitelay {

class TLegendPrompts {
public:
    virtual ~TLegendPrompts() = default;

    // The text typed into an input box with the application title; none
    // when cancelled.
    virtual std::optional<QString> InputText(QWidget* parent, const QString& prompt, const QString& initial) = 0;
    // The chosen picture file; empty when cancelled.
    virtual QString OpenPictureFile(QWidget* parent) = 0;
};

// The Qt input box and file dialog.
TLegendPrompts& QtLegendPrompts();

// Whether the text survives the library's code page unchanged.
bool StorableText(const QString& text);

} // namespace sitelay
