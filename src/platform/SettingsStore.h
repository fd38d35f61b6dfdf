#pragma once
// The per-user settings store: text values by key in the "Settings" section of the
// "Varkel_Software" application. A key never set reads as empty text.

#include <memory>
#include <string>

namespace corvane {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string get(const std::string& key) const = 0;
    virtual void set(const std::string& key, const std::string& value) = 0;
};

// The store of the logged-in user (QSettings, INI format under the user's config folder).
std::unique_ptr<SettingsStore> makeUserSettingsStore();
// A store kept in an INI file at the given path (tests, command line with --settings).
std::unique_ptr<SettingsStore> makeFileSettingsStore(const std::string& iniPath);

} // namespace corvane
