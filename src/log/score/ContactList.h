#pragma once
// The rows of the contact list: which records are listed in which order, the texts of
// their cells, and the one-contact update a list model needs after each logged contact,
// so that listing all 12000 contacts never formats more than the rows on screen.

#include "log/ContactLog.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

enum class ListColumn { RecordNumber, Call, GridR, DateTime, Kilometers, Points, GridS };
inline constexpr int kListColumnCount = 7;
inline constexpr int kLastListedCount = 20;

struct ListColumnInfo {
    std::string_view header;
    int widthTwips; // for a window 9600 twips wide; scales with the window width
};
const std::array<ListColumnInfo, kListColumnCount>& listColumns();

// cmdList caption: "All" when listing all contacts, "Last 20" otherwise.
std::string_view listModeCaption(bool listAll);

// "mm/dd  hh:nn" from a record's date and time. A date or time that cannot be read is
// shown as it is.
std::string listDateTimeText(std::string_view qsoDate, std::string_view qsoTime);

std::string listCellText(const QsoRecord& record, int recordNumber, ListColumn column);
std::array<std::string, kListColumnCount> listRowTexts(const ContactLog& log, int recordNumber);

// Rows of the list as record numbers: newest first (row 0 is the newest record), the
// last 20 or all of them, or the order of a column sort. Rows are computed, not stored,
// unless a sort has put them in its own order. `recordAt` is O(1).
//
// After a contact is logged a list model asks `planAppend`; unless it says `reset`, the
// model removes its last row (when asked) and inserts one row at the top:
//
//     const auto plan = rows.planAppend(log.qsoCount());
//     if (plan.reset) { beginResetModel(); rows.rebuild(log.qsoCount()); endResetModel(); }
//     else {
//         if (plan.removeLastRow) { beginRemoveRows({}, n - 1, n - 1); rows.removeLastRow(); endRemoveRows(); }
//         beginInsertRows({}, 0, 0); rows.insertNewestRow(); endInsertRows();
//     }
class ContactListRows {
public:
    // RebuildList: newest first for a log of qsoCount records; a column sort is dropped.
    void rebuild(int qsoCount);

    bool listAll() const { return m_listAll; }
    // cmdList: sets the mode and rebuilds for the same log.
    void setListAll(bool listAll);

    int rowCount() const;
    // Record number (1-based) shown in `row`; 0 for a row out of range.
    int recordAt(int row) const;
    bool isSorted() const { return !m_sortedRecords.empty(); }

    struct AppendPlan {
        bool reset = false;         // the model resets (a sort or a changed log is dropped)
        bool removeLastRow = false; // "Last 20" is full: its oldest row goes first
    };
    AppendPlan planAppend(int newQsoCount) const;
    void removeLastRow();
    void insertNewestRow();

    // Column header click: the rows sorted once by the cell texts, ascending, compared
    // as text (letter case ignored; equal texts keep their order). The model then resets
    // or emits a layout change; the next rebuild drops the sort.
    void sortByColumn(const ContactLog& log, ListColumn column);

private:
    int m_newest = 0;   // record number of row 0 while not sorted
    int m_rowCount = 0; // rows while not sorted
    bool m_listAll = false;
    std::vector<int> m_sortedRecords; // record numbers in sorted order; empty when not sorted
};

} // namespace corvane
