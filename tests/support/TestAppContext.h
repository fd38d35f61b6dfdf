#pragma once
// What a window test hands the windows as the program's context: a temporary working folder,
// scripted dialogs, a clock that stands still, a settings file, the per-user folders (made, under
// docs/) with the shared preferences document, and a recorded exit.

#include "TempDir.h"
#include "core/SharedPrefs.h"
#include "core/UserFolders.h"
#include "platform/QtSettingsStore.h"
#include "support/ManualClock.h"
#include "support/ScriptedDialogs.h"
#include "ui/AppContext.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace corvane::test {

class TestAppContext {
public:
    explicit TestAppContext(DateTime local = DateTime{2012, 12, 29, 18, 15, 2}, double utcMinusLocalHours = 0.0)
        : clock(local, utcMinusLocalHours), settings(makeFileSettingsStore(dir.file("settings.ini"))),
          folders{dir.file("docs/Corvane"), dir.file("docs/Shared")}, app{dialogs,
                                                                          clock,
                                                                          *settings,
                                                                          sharedPrefs,
                                                                          dir.path().string(),
                                                                          folders,
                                                                          [this](int code) { exitCodes.push_back(code); }} {
        std::filesystem::create_directories(folders.backupFolder());
        std::filesystem::create_directories(folders.sharedFolder);
        sharedPrefs.load(folders.sharedFolder + "/SharedUserPreferences.xml");
    }
    TestAppContext(const TestAppContext&) = delete;
    TestAppContext& operator=(const TestAppContext&) = delete;

    TempDir dir;
    ManualClock clock;
    ScriptedDialogs dialogs;
    std::unique_ptr<SettingsStore> settings;
    SharedPrefs sharedPrefs;
    UserFolders folders;
    std::vector<int> exitCodes; // what the program was ended with, in order
    AppContext app;
};

} // namespace corvane::test
