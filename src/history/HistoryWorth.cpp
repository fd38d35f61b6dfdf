#include "history/HistoryWorth.h"

#include "core/NumberText.h"
#include "core/TextCase.h"

namespace corvane {

namespace {

std::string loggedKey(std::string_view call) {
    while (!call.empty() && call.front() == ' ') {
        call.remove_prefix(1);
    }
    while (!call.empty() && call.back() == ' ') {
        call.remove_suffix(1);
    }
    std::string key(call);
    for (char& c : key) {
        c = upper(c);
    }
    return key;
}

} // namespace

void HistoryWorth::setStation(std::string ownGrid, GeoPosition own) {
    m_ownGrid = std::move(ownGrid);
    m_own = own;
}

void HistoryWorth::setLog(const std::vector<QsoRecord>& records) {
    m_fromLog = CallHistory();
    m_fromLog.addLog(records);
    m_logged.clear();
    for (const QsoRecord& record : records) {
        m_logged.insert(loggedKey(record.call));
    }
}

void HistoryWorth::addLogged(const QsoRecord& record) {
    m_fromLog.addLog({record});
    m_logged.insert(loggedKey(record.call));
}

const HistoryEntry* HistoryWorth::known(std::string_view call) const {
    if (const HistoryEntry* own = m_fromLog.find(call)) {
        return own;
    }
    return m_history ? m_history->find(call) : nullptr;
}

bool HistoryWorth::logged(std::string_view call) const {
    return !call.empty() && m_logged.contains(loggedKey(call));
}

std::optional<GridFigures> HistoryWorth::figures(std::string_view call) const {
    const HistoryEntry* entry = known(call);
    if (entry == nullptr) {
        return std::nullopt;
    }
    const GridDisplay display = computeGridDisplay(entry->grid, m_ownGrid, m_own, "");
    GridFigures out;
    out.grid = entry->grid;
    out.kilometres = display.kilometres;
    out.points = display.points;
    out.portable = !equalsIgnoringCase(entry->call, loggedKey(call));
    return out;
}

SpotWorth HistoryWorth::worthOf(std::string_view call) const {
    SpotWorth worth;
    if (logged(call)) {
        worth.duplicate = true;
        return worth;
    }
    if (const auto known = figures(call)) {
        worth.grid = known->grid;
        if (const auto points = parseNumber(known->points); points && *points >= 1 && *points < 1000) {
            worth.points = static_cast<int>(*points);
        }
    }
    return worth;
}

std::optional<std::string> HistoryWorth::mismatchMessage(const QsoRecord& record, const HistoryEntry* before) {
    // A portable station known only by its base call may well be somewhere else tonight.
    if (before == nullptr || !equalsIgnoringCase(before->call, loggedKey(record.call))) {
        return std::nullopt;
    }
    const auto received = historyGrid(record.gridR.substr(0, std::min<std::size_t>(record.gridR.size(), 4)));
    if (received && *received == before->grid) {
        return std::nullopt;
    }
    return "Check grid: " + record.call + " sent " + record.gridR + ", history has " + before->grid;
}

} // namespace corvane
