// A Preferences dialog opened on a fresh settings record in a private
// configuration folder.
#pragma once

#include "common/tempconfig.h"
#include "dialogs/tab.h"
#include "dialogtest.h"
#include "platform/messagebox.h"
#include "settings/ini.h"

#include <string>
#include <vector>

class PrefsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitAppInto(ini);
        SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override {
        if (QDialog* d = PreferencesDialog())
            d->reject();
        FlushDeletes();
        SetMessageBoxHandler({});
    }
    QDialog* Open() {
        OpenPreferences(nullptr, &ini, [this] { ++nRefresh; });
        return PreferencesDialog();
    }
    // Presses OK and lets the dialog go.
    void Ok(QDialog* dlg) {
        Click(dlg, 100);
        FlushDeletes();
    }

    TempConfig cfg;
    INISTRUCT ini{};
    int nRefresh = 0;
    std::vector<std::string> messages;
};
