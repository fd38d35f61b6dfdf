#include "history/HistorySources.h"

#include "core/DurableFile.h"
#include "core/TextCase.h"
#include "export/AdifRead.h"
#include "log/LogFile.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace corvane {

namespace {

// The largest log a backup can be: the capacity of the log and more, so that a long log
// still gives its calls.
constexpr int kLargestLog = 1'000'000;

bool endsWithIgnoringCase(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && equalsIgnoringCase(text.substr(text.size() - end.size()), end);
}

std::optional<std::string> readSource(const std::string& path, HistoryLoad& load) {
    std::string error;
    const auto fingerprint = fingerprintOf(path, &error);
    if (!fingerprint) {
        load.problems.push_back(path + ": " + (error.empty() ? std::string("not found") : error));
        return std::nullopt;
    }
    if (fingerprint->sizeBytes > kHistoryLargestFileBytes) {
        load.problems.push_back(path + ": too large for a call history (" +
                                std::to_string(fingerprint->sizeBytes / (1024 * 1024)) + " MB; at most " +
                                std::to_string(kHistoryLargestFileBytes / (1024 * 1024)) + " MB)");
        return std::nullopt;
    }
    auto bytes = readWholeFile(path, &error);
    if (!bytes) {
        load.problems.push_back(path + ": " + error);
    }
    return bytes;
}

void readLogFile(const std::string& path, HistoryLoad& load) {
    const auto bytes = readSource(path, load);
    if (!bytes) {
        return;
    }
    const LogParseResult parsed = parseLog(*bytes, kLargestLog);
    if (!parsed.ok) {
        load.problems.push_back(path + ": not a log (line " + std::to_string(parsed.errorLine) + ": " + parsed.problem +
                                ")");
        return;
    }
    load.logContacts += load.history.addLog(parsed.records);
    ++load.logFilesRead;
}

void readAdifFile(const std::string& path, HistoryLoad& load) {
    const auto bytes = readSource(path, load);
    if (!bytes) {
        return;
    }
    const AdifReadResult read = readAdifContacts(*bytes);
    load.skippedRecords += read.skippedRecords;
    for (const AdifContact& contact : read.contacts) {
        auto call = historyCall(contact.call);
        auto grid = historyGrid(contact.grid);
        if (call && grid) {
            load.history.add(HistoryEntry{std::move(*call), std::move(*grid), contact.stamp});
            ++load.logContacts;
        }
    }
    ++load.logFilesRead;
}

std::string plural(long long count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

bool isAdifFileName(std::string_view path) {
    return endsWithIgnoringCase(path, ".adi") || endsWithIgnoringCase(path, ".adif");
}

std::string findCallHistoryFile(const std::string& workingFolder, const std::string& userDataFolder) {
    for (const std::string& folder : {workingFolder, userDataFolder}) {
        if (folder.empty()) {
            continue;
        }
        for (const char* name : {"CallHistory.txt", "callhistory.txt", "CALLHISTORY.TXT", "Callhistory.txt"}) {
            const std::string path = folder + "/" + name;
            std::error_code error;
            if (std::filesystem::exists(path, error)) {
                return path; // whatever it is: a folder or a pipe there is refused with a message
            }
        }
    }
    return {};
}

HistoryLoad loadHistory(const HistorySources& sources) {
    HistoryLoad load;
    if (!sources.historyFile.empty()) {
        if (const auto bytes = readSource(sources.historyFile, load)) {
            HistoryReadResult read = parseCallHistory(*bytes);
            if (!read.problem.empty()) {
                load.problems.push_back(sources.historyFile + ": " + read.problem);
            } else {
                load.historyFileRead = true;
                load.historyCalls = static_cast<int>(read.entries.size());
                load.skippedLines = read.skippedLines;
                load.history.add(std::move(read.entries));
            }
        }
    }
    if (!sources.backupFolder.empty()) {
        std::vector<std::string> logs;
        std::error_code error;
        for (std::filesystem::directory_iterator it(sources.backupFolder, error), end; !error && it != end;
             it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (endsWithIgnoringCase(name, ".log") && it->is_regular_file(error)) {
                logs.push_back(it->path().string());
            }
        }
        std::sort(logs.begin(), logs.end());
        for (const std::string& path : logs) {
            readLogFile(path, load);
        }
    }
    for (const std::string& path : sources.logFiles) {
        readLogFile(path, load);
    }
    for (const std::string& path : sources.adifFiles) {
        readAdifFile(path, load);
    }
    return load;
}

std::string describeLoad(const HistoryLoad& load, std::optional<std::size_t> knownCalls) {
    std::string text;
    if (load.historyFileRead) {
        text = plural(load.historyCalls, "call", "calls") + " from the call history";
        if (load.skippedLines > 0) {
            text += " (" + plural(load.skippedLines, "damaged line", "damaged lines") + " skipped)";
        }
    }
    if (load.logFilesRead > 0 || !load.historyFileRead) {
        text += (text.empty() ? "" : ", ") + plural(load.logContacts, "contact", "contacts") + " from " +
                plural(load.logFilesRead, "log", "logs");
        if (load.skippedRecords > 0) {
            text += " (" + plural(load.skippedRecords, "damaged ADIF record", "damaged ADIF records") + " skipped)";
        }
    }
    text +=
        "; " + plural(static_cast<long long>(knownCalls.value_or(load.history.size())), "known call", "known calls");
    if (!load.problems.empty()) {
        text += "; " + plural(static_cast<long long>(load.problems.size()), "file", "files") + " refused";
    }
    return text;
}

} // namespace corvane
