#pragma once
// The ADIF export for other logging programs: a short header, then every contact as
// <Name:length>value fields on three lines closed by <eor>.

#include "core/DurableFile.h"
#include "core/QsoRecord.h"
#include "export/Cabrillo.h"

#include <span>
#include <string>
#include <string_view>

namespace corvane {

struct AdifInput {
    std::span<const QsoRecord> records; // records 1..QsoCount in log order
    std::string power;                  // empty: no Tx_Pwr field
    std::string comment;                // empty: no Comment field
    std::string exportDateText;         // the local date and time of the export, as the platform writes it
    std::string programTitle{kProgramTitle};
};

// "2315" from "23:15:02", "0915" from "9:15", "0000" from an empty time.
std::string adifTime(std::string_view qsoTime);
// "20121229" from a valid date, otherwise empty.
std::string adifDate(std::string_view qsoDate);

std::string formatAdifRecord(const QsoRecord& record, std::string_view power, std::string_view comment);

// The whole file, CR LF line ends.
std::string buildAdif(const AdifInput& input);

// Writes the file complete or not at all.
FileResult writeAdifFile(const std::string& path, const AdifInput& input);

// The texts of the ADIF export. (The export subsystem's own names live in corvane::exchange:
// "export" is a word of the language.)
namespace exchange::adif {
inline constexpr std::string_view kDefaultFileName = "Corvane.adi";
inline constexpr std::string_view kFileFilter = "ADIF Files (*.adi)";
inline constexpr std::string_view kPowerTitle = "Please enter your transmitter output power.";
inline constexpr std::string_view kPowerPrompt =
    "Please enter the power value that you would like to record.  This is an optional value that will be included "
    "in each QSO record and displayed in Tessary's power output column.";
inline constexpr std::string_view kPowerDefault = "100";
inline constexpr std::string_view kCommentTitle = "Please enter a comment.";
inline constexpr std::string_view kCommentPrompt =
    "Please enter a comment that you would like to appear on each QSO record.  This is an optional description "
    "that will be displayed in Tessary's Comments column.";
inline constexpr std::string_view kCommentDefault = "Corvane Contest";
} // namespace exchange::adif

// "The file was successfully written to the directory:", an empty line, the file name and ".".
std::string adifWrittenMessage(std::string_view fullPath);

} // namespace corvane
