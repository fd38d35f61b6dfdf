#pragma once
// The settings store over QSettings.

#include "core/SettingsStore.h"

#include <memory>
#include <string>

namespace corvane {

// The store of the logged-in user (QSettings, INI format under the user's config folder).
std::unique_ptr<SettingsStore> makeUserSettingsStore();
// A store kept in an INI file at the given path (tests, command line with --settings).
std::unique_ptr<SettingsStore> makeFileSettingsStore(const std::string& iniPath);

} // namespace corvane
