#pragma once
// Rules of the contact edit window and of deleting a contact: key filters, the checks
// on leaving a field and on Done, the duplicate test among the other records, and the
// record lists to write back after an edit or a deletion.

#include "log/ContactLog.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr std::string_view kEditWindowTitle = "Edit Contact Entry";
inline constexpr std::string_view kInvalidDateTitle = "Invalid Date Format!";
inline constexpr std::string_view kInvalidDateText = "You have entered an invalid date format!";
inline constexpr std::string_view kInvalidTimeTitle = "Invalid Time Format!";
inline constexpr std::string_view kInvalidTimeText = "You have entered an invalid time format!";
inline constexpr std::string_view kAreYouSureText = "Are you sure?"; // title and text of the delete question

enum class EditField { Call, GridR, GridS, Date, Time, Points, Kilometers };

// What a typed character becomes in an edit field: a to z up-cased, a double quote
// discarded, the date field only "/" and digits, the time field only ":" and digits.
// Backspace (8) passes everywhere. nullopt: the key is discarded. Enter is the window's
// (it presses Done).
std::optional<char> filterEditKey(EditField field, char key);

bool isValidEditDate(std::string_view date);
bool isValidEditTime(std::string_view time);
// The points field on leaving it: non-numeric text becomes "0".
std::string pointsOnLeave(std::string_view points);

// The fields of the edit window; Miles and Mode are carried in hidden fields.
struct EditFields {
    std::string call;
    std::string gridR;
    std::string gridS;
    std::string date;
    std::string time;
    std::string points;
    std::string kilometers;
    std::string miles;
    std::string mode;
};
EditFields editFieldsOf(const QsoRecord& record);

// Record numbers, other than editedIndex, whose Call equals `call` exactly (case counts).
std::vector<int> otherRecordsWithCall(const ContactLog& log, int editedIndex, std::string_view call);

// Done. Invalid time is refused first, then invalid date; a call another record has
// leaves the window open with "Dupe!" and "Delete Dupe" shown and one beep per such
// record; otherwise the record to store.
struct EditDoneResult {
    enum class Outcome { InvalidTime, InvalidDate, Duplicate, Stored };
    Outcome outcome = Outcome::Stored;
    std::vector<int> duplicateRecords; // Duplicate: the other records with the call
    QsoRecord record;                  // Stored: the edited record
};
EditDoneResult editDone(const ContactLog& log, int editedIndex, const EditFields& fields);

// The record as Done stores it: the call in upper case, trailing blanks cut from Grid(R)
// and Grid(S); the Frequency stays that of the original record.
QsoRecord editedRecord(const QsoRecord& original, const EditFields& fields);

// The whole log to write back after storing `record` at `index`, and after deleting
// record `index` (the later records move up by one).
std::vector<QsoRecord> recordsWithReplaced(const ContactLog& log, int index, const QsoRecord& record);
std::vector<QsoRecord> recordsWithDeleted(const ContactLog& log, int index);

} // namespace corvane
