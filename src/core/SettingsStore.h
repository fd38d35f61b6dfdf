#pragma once
// The per-user settings store: text values by key in the "Settings" section of the
// "Varkel_Software" application. A key never set reads as empty text.

#include <string>

namespace corvane {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string get(const std::string& key) const = 0;
    virtual void set(const std::string& key, const std::string& value) = 0;
};

} // namespace corvane
