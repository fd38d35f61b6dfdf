#pragma once
// One run of the program on one working folder: the log store, the station preferences and
// the frequency last polled from the radio. It outlives the windows, which all read and
// change the log through it.

#include "log/LogStore.h"
#include "log/station/Preferences.h"

#include <string>

namespace corvane {

class Session {
public:
    explicit Session(std::string workingDirectory);

    const std::string& workingDirectory() const { return m_workingDirectory; }
    std::string workingFile(const std::string& name) const { return m_workingDirectory + "/" + name; }

    LogStore& store() { return m_store; }
    const ContactLog& log() const { return m_store.log(); }
    Preferences& prefs() { return m_prefs; }
    const Preferences& prefs() const { return m_prefs; }

    // True once log.txt was read this run. Until then memory does not mirror the file, so
    // nothing may be logged, edited, restored or erased on the strength of it.
    bool logLoaded() const { return m_logLoaded; }
    // Reads log.txt; on a fault memory stays empty and logLoaded() false.
    LogParseResult loadLog();

    // The frequency the rig link polled last (RigFrequencyText), taken by the next contact.
    const std::string& rigFrequencyText() const { return m_rigFrequencyText; }
    void setRigFrequencyText(std::string text) { m_rigFrequencyText = std::move(text); }
    std::string takeRigFrequencyText();

private:
    std::string m_workingDirectory;
    LogStore m_store;
    Preferences m_prefs;
    bool m_logLoaded = false;
    std::string m_rigFrequencyText;
};

} // namespace corvane
