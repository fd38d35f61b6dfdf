#pragma once
// What the history says about a call while this log is kept: the grid it is known from (this
// log's own contacts first, then the loaded call history), what that grid would score from
// the own station, and whether the call is already logged.

#include "core/SpotWorth.h"
#include "history/CallHistory.h"
#include "log/score/Grid.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace corvane {

// The figures the entry line would show for the grid, were it received.
struct GridFigures {
    std::string grid;       // "FN42"
    std::string kilometres; // as the Kilometers display writes them ("1,234")
    std::string points;     // as the Points display writes them; empty when they cannot be had
    bool portable = false;  // known from the base call of a portable call
};

class HistoryWorth final : public SpotWorthSource {
public:
    void setHistory(std::shared_ptr<const CallHistory> history) { m_history = std::move(history); }
    const CallHistory* history() const { return m_history.get(); }
    std::shared_ptr<const CallHistory> sharedHistory() const { return m_history; }
    void setStation(std::string ownGrid, GeoPosition own);
    // The log as it is now (after a load, an edit, a delete, a restore).
    void setLog(const std::vector<QsoRecord>& records);
    // One contact added at the end of the log.
    void addLogged(const QsoRecord& record);

    // The grid known for the call: from this log's contacts, else from the call history.
    const HistoryEntry* known(std::string_view call) const;
    std::optional<GridFigures> figures(std::string_view call) const;
    bool logged(std::string_view call) const;

    SpotWorth worthOf(std::string_view call) const override;

    // After a contact is logged: when the call history knew another grid for the call, the
    // message for the operator (a possible busted exchange); nullopt when they agree or the
    // history does not know the call itself (only its base call). `before` is what was known
    // before the contact.
    static std::optional<std::string> mismatchMessage(const QsoRecord& record, const HistoryEntry* before);

private:
    std::shared_ptr<const CallHistory> m_history;
    CallHistory m_fromLog;
    std::unordered_set<std::string> m_logged;
    std::string m_ownGrid;
    GeoPosition m_own;
};

} // namespace corvane
