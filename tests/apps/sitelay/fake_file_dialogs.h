// File and colour dialogs for the main-window tests: each answer is queued
// beforehand; a dialog shown without a queued answer fails the test.
#pragma once

#include "apps/sitelay/file_dialogs.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>

class FakeFileDialogs final : public sitelay::TFileDialogs {
public:
    ~FakeFileDialogs() override
    {
        if (!openNames.empty() || !saveNames.empty() || !colors.empty())
            ADD_FAILURE() << "queued dialog answers were never asked for";
    }

    QString OpenPlanFile() override { return Next(openNames, openShown, "open"); }
    QString SavePlanFile() override { return Next(saveNames, saveShown, "save"); }
    std::optional<platform::TColor> ChooseColor(platform::TColor initial) override
    {
        colorInitials.push_back(initial);
        if (colors.empty()) {
            ADD_FAILURE() << "unexpected colour dialog";
            return std::nullopt;
        }
        const std::optional<platform::TColor> answer = colors.front();
        colors.pop_front();
        return answer;
    }

    // An empty name is a cancelled dialog.
    std::deque<QString> openNames;
    std::deque<QString> saveNames;
    std::deque<std::optional<platform::TColor>> colors;
    std::vector<platform::TColor> colorInitials;
    int openShown = 0;
    int saveShown = 0;

private:
    static QString Next(std::deque<QString>& names, int& shown, const char* which)
    {
        ++shown;
        if (names.empty()) {
            ADD_FAILURE() << "unexpected " << which << " dialog";
            return {};
        }
        QString name = names.front();
        names.pop_front();
        return name;
    }
};
