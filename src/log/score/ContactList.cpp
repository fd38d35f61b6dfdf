#include "log/score/ContactList.h"

#include "core/DateTime.h"
#include "core/TextCase.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace corvane {

namespace {

bool lessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(upper(x)) < static_cast<unsigned char>(upper(y));
    });
}

std::string twoDigits(int a, char separator, int b) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d%c%02d", a % 100, separator, b % 100);
    return buffer;
}

} // namespace

const std::array<ListColumnInfo, kListColumnCount>& listColumns() {
    static const std::array<ListColumnInfo, kListColumnCount> columns{{
        {"Rec#", 560},
        {"Call", 940},
        {"Grid R", 690},
        {"Date / Time", 1050},
        {"Kilometers", 1000},
        {"Points", 650},
        {"Grid S", 690},
    }};
    return columns;
}

std::string_view listModeCaption(bool listAll) {
    return listAll ? "All" : "Last 20";
}

std::string listDateTimeText(std::string_view qsoDate, std::string_view qsoTime) {
    const auto date = parseDate(qsoDate);
    const auto time = parseTime(qsoTime);
    std::string text = date ? twoDigits(date->month, '/', date->day) : std::string(qsoDate);
    text += "  ";
    text += time ? twoDigits(time->hour, ':', time->minute) : std::string(qsoTime);
    return text;
}

std::string listCellText(const QsoRecord& record, int recordNumber, ListColumn column) {
    switch (column) {
    case ListColumn::RecordNumber:
        return std::to_string(recordNumber);
    case ListColumn::Call:
        return record.call;
    case ListColumn::GridR:
        return record.gridR;
    case ListColumn::DateTime:
        return listDateTimeText(record.qsoDate, record.qsoTime);
    case ListColumn::Kilometers:
        return record.kilometers;
    case ListColumn::Points:
        return record.points;
    case ListColumn::GridS:
        return record.gridS;
    }
    return {};
}

std::array<std::string, kListColumnCount> listRowTexts(const ContactLog& log, int recordNumber) {
    std::array<std::string, kListColumnCount> texts;
    const QsoRecord& record = log.record(recordNumber);
    for (int c = 0; c < kListColumnCount; ++c) {
        texts[static_cast<std::size_t>(c)] = listCellText(record, recordNumber, static_cast<ListColumn>(c));
    }
    return texts;
}

void ContactListRows::rebuild(int qsoCount) {
    m_sortedRecords.clear();
    m_newest = std::max(0, qsoCount);
    m_rowCount = m_listAll ? m_newest : std::min(kLastListedCount, m_newest);
}

void ContactListRows::setListAll(bool listAll) {
    m_listAll = listAll;
    rebuild(m_newest);
}

int ContactListRows::rowCount() const {
    return isSorted() ? static_cast<int>(m_sortedRecords.size()) : m_rowCount;
}

int ContactListRows::recordAt(int row) const {
    if (row < 0 || row >= rowCount()) {
        return 0;
    }
    return isSorted() ? m_sortedRecords[static_cast<std::size_t>(row)] : m_newest - row;
}

ContactListRows::AppendPlan ContactListRows::planAppend(int newQsoCount) const {
    AppendPlan plan;
    if (isSorted() || newQsoCount != m_newest + 1) {
        plan.reset = true;
        return plan;
    }
    plan.removeLastRow = !m_listAll && m_rowCount >= kLastListedCount;
    return plan;
}

void ContactListRows::removeLastRow() {
    if (m_rowCount > 0) {
        --m_rowCount;
    }
}

void ContactListRows::insertNewestRow() {
    ++m_newest;
    ++m_rowCount;
}

void ContactListRows::sortByColumn(const ContactLog& log, ListColumn column) {
    const int n = rowCount();
    std::vector<int> records(static_cast<std::size_t>(n));
    std::vector<std::string> keys(static_cast<std::size_t>(n));
    for (int row = 0; row < n; ++row) {
        const int recordNumber = recordAt(row);
        records[static_cast<std::size_t>(row)] = recordNumber;
        keys[static_cast<std::size_t>(row)] = listCellText(log.record(recordNumber), recordNumber, column);
    }
    std::vector<std::size_t> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return lessIgnoringCase(keys[a], keys[b]); });
    std::vector<int> sorted;
    sorted.reserve(order.size());
    for (std::size_t i : order) {
        sorted.push_back(records[i]);
    }
    m_sortedRecords = std::move(sorted);
    // An empty list sorted is still "not sorted": nothing to keep.
}

} // namespace corvane
