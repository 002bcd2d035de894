// Open and save dialogs for the main-window tests: each answer is queued
// beforehand; a dialog shown without a queued answer fails the test.
#pragma once

#include "apps/arrowplan/file_dialogs.h"

#include <gtest/gtest.h>

#include <deque>

class FakeNetworkDialogs final : public arrowplan::TFileDialogs {
public:
    ~FakeNetworkDialogs() override
    {
        if (!openNames.empty() || !saveNames.empty())
            ADD_FAILURE() << "queued dialog answers were never asked for";
    }

    QString OpenNetworkFile(const QString& folder) override { return Next(openNames, folder, "open"); }
    QString SaveNetworkFile(const QString& folder) override { return Next(saveNames, folder, "save"); }

    // An empty name is a cancelled dialog.
    std::deque<QString> openNames;
    std::deque<QString> saveNames;
    QString lastFolder;

private:
    QString Next(std::deque<QString>& names, const QString& folder, const char* which)
    {
        lastFolder = folder;
        if (names.empty()) {
            ADD_FAILURE() << "unexpected " << which << " dialog";
            return {};
        }
        QString name = names.front();
        names.pop_front();
        return name;
    }
};
