#pragma once
// Where the call history comes from, read in one go (on a worker thread in the program, or by
// the command line): the call history file, the operator's own logs (the backups and
// archives in the BACKUP folder, any log.txt) and ADIF files. Every file is read whole;
// a file that is not a regular file, is larger than a call history can be, or cannot be
// read is refused with a message and the others are still read.

#include "history/CallHistory.h"

#include <optional>
#include <string>
#include <vector>

namespace corvane {

struct HistorySources {
    std::string historyFile;            // a call history file; empty: none
    std::string backupFolder;           // every *.log file in it is a log; empty: none
    std::vector<std::string> logFiles;  // further logs in the log.txt format
    std::vector<std::string> adifFiles; // ADIF files
};

struct HistoryLoad {
    CallHistory history;
    bool historyFileRead = false;      // a call history file was read
    int historyCalls = 0;              // stations read from it
    int skippedLines = 0;              // its damaged lines
    int logContacts = 0;               // contacts taken from logs and ADIF files
    int logFilesRead = 0;              // logs and ADIF files read
    int skippedRecords = 0;            // damaged ADIF records
    std::vector<std::string> problems; // one line per file refused: "<path>: <why>"
};

HistoryLoad loadHistory(const HistorySources& sources);

// The history file to use: CallHistory.txt in the working folder, else in the per-user data
// folder (the name's letter case as the operator wrote it); empty when there is none.
std::string findCallHistoryFile(const std::string& workingFolder, const std::string& userDataFolder);

// Whether a file name names an ADIF file (.adi or .adif, any letter case).
bool isAdifFileName(std::string_view path);

// What was read, in one line for the operator: "12345 calls from the call history (3 damaged
// lines skipped), 210 contacts from 4 logs; 12400 known calls". `knownCalls`: the size of the
// whole history now (the load's own when it is not given).
std::string describeLoad(const HistoryLoad& load, std::optional<std::size_t> knownCalls = std::nullopt);

} // namespace corvane
