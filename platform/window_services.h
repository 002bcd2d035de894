// What the engines ask of the window that hosts them: message boxes and
// prompts, the mouse cursor's shape, repainting, mouse capture and keeping
// the cursor inside a rectangle. The host implements these (platform_qt for
// the programs); tests use a fake that records every call. Engine objects
// hold a reference to the services of their host and never own them.
//
// Rectangles and points are in the control's own coordinates: (0, 0) is the
// top-left of what the control draws; the host adds any scroll offset.
#pragma once

#include <QFlags>
#include <QRect>
#include <QString>

namespace platform {

enum class MessageIcon { None, Information, Warning, Error, Question };

enum class MessageButton : unsigned { None = 0, Ok = 1, Cancel = 2, Yes = 4, No = 8 };
Q_DECLARE_FLAGS(MessageButtons, MessageButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageButtons)

// Cursor numbers as the controls name them: the standard shapes are
// negative, the programs' own cursors are 100 to 103.
namespace cursor {
inline constexpr int kDefault = 0;
inline constexpr int kArrow = -2;
inline constexpr int kCross = -3;
inline constexpr int kIBeam = -4;
inline constexpr int kSizeNESW = -6;
inline constexpr int kSizeNS = -7;
inline constexpr int kSizeNWSE = -8;
inline constexpr int kSizeWE = -9;
inline constexpr int kHourGlass = -11;
inline constexpr int kHandPoint = -21;
inline constexpr int kSizeAll = -22;
inline constexpr int kDrawMap = 100;  // "DRAWMAP": drawing a shape
inline constexpr int kZoomIn = 101;   // "ZOOMIN"
inline constexpr int kZoomOut = 102;  // "ZOOMOUT"
inline constexpr int kRevolver = 103; // "REVOLVER": the rotation handle
} // namespace cursor

class WindowServices {
public:
    virtual ~WindowServices() = default;

    // Shows a modal message box with the given buttons (Ok when none are
    // given) and returns the button pressed. The caption is the
    // application title unless a title is given.
    virtual MessageButton MessageBox(const QString& text, MessageIcon icon, MessageButtons buttons,
                                     const QString& title) = 0;

    // A plain message with an OK button.
    void ShowMessage(const QString& text) { MessageBox(text, MessageIcon::None, MessageButton::Ok, {}); }
    // The application's error box for a failed operation.
    void ShowError(const QString& text) { MessageBox(text, MessageIcon::Error, MessageButton::Ok, {}); }
    // A confirmation with the question icon; returns the button pressed.
    MessageButton Confirm(const QString& text, MessageButtons buttons)
    {
        return MessageBox(text, MessageIcon::Question, buttons, {});
    }

    // Shows the cursor with this number over the control.
    virtual void SetCursor(int cursorId) = 0;

    // Repaints a part of the control, or all of it.
    virtual void InvalidateRect(const QRect& rect) = 0;
    virtual void Invalidate() = 0;

    // While captured, the control receives every mouse move and the release
    // even outside its area.
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;

    // Keeps the mouse on the pixels of the rectangle (right and bottom
    // included, as QRect counts them); an empty rectangle releases it.
    virtual void ClipCursor(const QRect& rect) = 0;
};

} // namespace platform
