// The check that a host widget shows what its document holds: after every
// step of a user sequence, the pixels the platform shows for the viewport
// must equal a fresh full render of the document at the same scroll
// position and zoom, with the same overlay of rubber bands and handles.
//
// A test gives the view and a function that renders the document afresh
// into an image of the viewport's size (and draws the overlay the step
// leaves, when there is one); the steps drive the viewport with real Qt
// mouse and key events. A failing check saves the shown and the fresh
// picture and their difference under screen-invariant/ in the current
// folder.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace screentest {

// The fresh picture of the document at the view's current state.
using TFreshRender = std::function<QImage()>;

struct TStep {
    QString Name;
    std::function<void()> Do;
};

struct TSequence {
    QString Name;
    std::vector<TStep> Steps;
};

class ScreenInvariant {
public:
    // The view is shown (if it is not) and stays owned by the caller.
    ScreenInvariant(QAbstractScrollArea& view, TFreshRender fresh);

    // The viewport's pixels as the platform shows them, after every
    // pending paint has reached the window.
    QImage Shown() const;
    // Shown() compared with a fresh render.
    testing::AssertionResult Check(const QString& where) const;
    // Runs the steps in order and checks after each; stops at the first
    // difference.
    testing::AssertionResult Run(const TSequence& sequence) const;

    // Real input on the viewport, in viewport pixels.
    void Press(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) const;
    void Move(QPoint p) const;
    void Release(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) const;
    void Click(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) const;
    // Press, release, then the second press as a double click and its release.
    void DoubleClick(QPoint p) const;
    // Press, moves in steps of about 20 pixels, release.
    void Drag(QPoint from, QPoint to) const;
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) const;
    // Covers part of the viewport (viewport pixels) with a window of its
    // own, as a closing dialog or menu does, and closes it again.
    void CoverAndUncover(const QRect& area) const;

private:
    void Flush() const;

    QAbstractScrollArea& FView;
    TFreshRender FFresh;
    // The buttons held by the sequence's own presses: events sent straight
    // to the viewport never reach the application's button state, which a
    // move would otherwise report as no button held.
    mutable Qt::MouseButtons FHeld;
};

// Compares two pictures pixel by pixel (RGB); on a difference the result
// names the first differing pixel and how many differ, and the pictures
// are saved under name.
testing::AssertionResult SameImage(const QImage& shown, const QImage& fresh, const QString& name);

} // namespace screentest
