// A Preferences dialog opened on a fresh settings record in a private
// configuration folder, with message boxes recorded.
#pragma once

#include "common/tempconfig.h"
#include "common/testutil.h"
#include "dialogs/tab.h"
#include "dialogtest.h"
#include "settings/ini.h"

class PrefsTest : public ::testing::Test {
protected:
    void SetUp() override { InitAppInto(ini); }
    void TearDown() override {
        if (QDialog* d = PreferencesDialog())
            d->reject();
        FlushDeletes();
    }
    QDialog* Open() {
        OpenPreferences(nullptr, &ini, [this] { ++nRefresh; });
        return PreferencesDialog();
    }
    void Ok(QDialog* dlg) { // presses OK and lets the dialog go
        Click(dlg, 100);
        FlushDeletes();
    }

    TempConfig cfg;
    testutil::BoxRecorder boxes;
    INISTRUCT ini{};
    int nRefresh = 0;
};
