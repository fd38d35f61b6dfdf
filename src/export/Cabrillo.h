#pragma once
// The Cabrillo file (START-OF-LOG 2.0) that is sent in after the contest: a summary
// header from the summary sheet and one fixed-column QSO line per contact.

#include "core/DurableFile.h"
#include "core/QsoRecord.h"

#include <span>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr std::string_view kProgramTitle = "Varkel's Corvane Contest Log 1.2";

enum class OperatorCategory { Single, Multi };

struct CabrilloInput {
    std::span<const QsoRecord> records; // records 1..QsoCount in log order
    std::string ownCall;
    int powerCategory = 2; // 1 QRP, 2 LOW, 3 HIGH
    std::string totalScoreText;
    OperatorCategory category = OperatorCategory::Single;
    std::string operators; // empty: the own call is written
    std::string club;
    std::string name;
    std::string addressLine1;
    std::string addressLine2;
    std::string email;
    std::string soapbox;
    std::string programTitle{kProgramTitle};
};

// The file name stem for a call: the leading run of digits and upper-case letters of the
// trimmed call ("W1XYZ/P" gives "W1XYZ"), or "YourCall" when there is none.
std::string callFileStem(std::string_view ownCall);

// "SINGLE-OP" or "MULTI-ONE"; "QRP", "LOW", "HIGH" (empty for an unknown class).
std::string_view categoryText(OperatorCategory category);
std::string_view powerCategoryText(int powerCategory);

// The score as the total score display shows it: total points x the power factor, a plain number.
std::string totalScoreText(float totalPoints, int powerCategory);

// One contact as its QSO line(s), each ending with CR LF. An item that would start before
// the end of what is already written goes to its column on a new line.
std::string formatCabrilloQso(const QsoRecord& record, std::string_view ownCall);

// The whole file, CR LF line ends.
std::string buildCabrillo(const CabrilloInput& input);

// Writes the file complete or not at all.
FileResult writeCabrilloFile(const std::string& path, const CabrilloInput& input);

// The per-user settings store keys and shared document tags of the personal details.
namespace exchange::cabrillo::keys {
inline constexpr std::string_view kName = "UserAddressName";
inline constexpr std::string_view kAddressLine1 = "UserAddressLine1";
inline constexpr std::string_view kAddressLine2 = "UserAddressLine2";
inline constexpr std::string_view kEmail = "UserEMail";
inline constexpr std::string_view kClub = "UserClubName";
inline constexpr std::string_view kSharedName = "OWN_ADDRESS_NAME";
inline constexpr std::string_view kSharedAddressLine1 = "OWN_ADDRESS_LINE1";
inline constexpr std::string_view kSharedAddressLine2 = "OWN_ADDRESS_LINE2";
inline constexpr std::string_view kSharedEmail = "OWN_EMAIL";
inline constexpr std::string_view kSharedClub = "OWN_CLUB_NAME";
} // namespace exchange::cabrillo::keys

// Texts of the summary sheet window and its messages.
namespace exchange::cabrillo {
inline constexpr std::string_view kWindowTitle = "Summary Sheet Information";
inline constexpr std::string_view kFileFilter = "LOG Files (*.log)";
inline constexpr std::string_view kWrittenTitle = "File Written Successfully.";
inline constexpr std::string_view kFailedTitle = "Unable to write file.";
} // namespace exchange::cabrillo

// "The file was successfully written to the directory:" ... with the submission advice.
std::string cabrilloWrittenMessage(std::string_view fullPath);

} // namespace corvane
