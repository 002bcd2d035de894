// One print job as the preview sends it: a titled document of pages drawn
// on a canvas in printer pixels, (0, 0) at the printable area's top-left.
// Every step that fails throws std::runtime_error with a message for the
// user, so a job never reports pages as printed that were not.
#pragma once

#include "platform/canvas.h"

#include <QString>

namespace common {

class PrintJob {
public:
    virtual ~PrintJob() = default;

    virtual void SetTitle(const QString& title) = 0;
    // Starts the document; the canvas is valid until EndDoc.
    virtual void BeginDoc() = 0;
    virtual platform::Canvas& PageCanvas() = 0;
    virtual void NewPage() = 0;
    // Ends the document; throws when the printer did not take it.
    virtual void EndDoc() = 0;
};

} // namespace common
