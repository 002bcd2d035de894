// The edit-method panel at the main window's left edge: one button per
// point method of the single selected shape ("增加点", "插入点", "删除点"
// for the point shapes). Pressing a button arms that method in the plan;
// pressing it again disarms it.
//
// Ownership: the panel owns its buttons; the shape shown belongs to its plan.
// The window clears the panel (SetMapCom(nullptr)) before the plan goes.
#pragma once

#include <QWidget>

#include <functional>
#include <vector>

class QToolButton;

namespace siteplan {
class TVyrMapCom;
}

namespace sitelay {

class TMethodsPanle : public QWidget {
public:
    explicit TMethodsPanle(QWidget* parent = nullptr);

    void SetMapCom(siteplan::TVyrMapCom* shape);
    void SelectMethod(int index);
    void RebuildButtons(int count);
    void MethodButtonClick(QToolButton* button);

    siteplan::TVyrMapCom* MapCom() const { return FMapCom; }
    int MethodIndex() const { return FMethodIndex; }
    int ButtonCount() const { return FButtonCount; }
    QToolButton* Button(int index) const { return FButtons[static_cast<std::size_t>(index)]; }

    // Clicks the select button of the first tool page.
    std::function<void()> OnSelectTool;

private:
    std::vector<QToolButton*> FButtons;
    int FButtonCount = 0;
    siteplan::TVyrMapCom* FMapCom = nullptr;
    int FMethodIndex = -1;
};

} // namespace sitelay
