// Window services for tests: records every message, cursor change,
// repaint, capture and clip, and answers prompts from a queue.
//
// A box with more than one button takes the next queued answer; a box with
// a single button answers with it and leaves the queue alone. A prompt with
// no answer queued, an answer the box does not offer, and answers still
// queued when the fake is destroyed each fail the running test.
#pragma once

#include "platform/window_services.h"

#include <QStringList>
#include <deque>
#include <vector>

class FakeWindowServices : public platform::WindowServices {
public:
    struct Message {
        QString text;
        QString title;
        platform::MessageIcon icon;
        platform::MessageButtons buttons;
        platform::MessageButton answer;
    };

    ~FakeWindowServices() override;

    void QueueAnswer(platform::MessageButton answer) { answers_.push_back(answer); }
    QStringList MessageTexts() const;

    platform::MessageButton MessageBox(const QString& text, platform::MessageIcon icon,
                                       platform::MessageButtons buttons, const QString& title) override;
    void SetCursor(int cursorId) override { cursors.push_back(cursorId); }
    void InvalidateRect(const QRect& rect) override { invalidatedRects.push_back(rect); }
    void Invalidate() override { ++fullInvalidations; }
    void CaptureMouse() override;
    void ReleaseMouse() override;
    void ClipCursor(const QRect& rect) override { clips.push_back(rect); }

    std::vector<Message> messages;
    std::vector<int> cursors;
    std::vector<QRect> invalidatedRects;
    int fullInvalidations = 0;
    bool captured = false;
    int captureCount = 0;
    std::vector<QRect> clips; // an empty rectangle is a release

private:
    std::deque<platform::MessageButton> answers_;
};
