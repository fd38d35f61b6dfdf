#include "export/Adif.h"

#include "core/DateTime.h"
#include "export/ExportText.h"

#include <cstdio>

namespace corvane {

using exchange::detail::kCrLf;
using exchange::detail::trimBlanks;

namespace {

void appendField(std::string& out, std::string_view name, std::string_view value) {
    out.push_back('<');
    out.append(name);
    out.push_back(':');
    out.append(std::to_string(value.size()));
    out.push_back('>');
    out.append(value);
}

} // namespace

std::string adifTime(std::string_view qsoTime) {
    std::string_view time = trimBlanks(qsoTime);
    std::string text;
    if (const auto colon = time.find(':'); colon != std::string_view::npos) {
        text = std::string(time.substr(0, colon)) + std::string(time.substr(colon + 1, 2));
    } else {
        text = std::string(time);
    }
    text = text.substr(0, 4);
    if (text.size() < 4) {
        text.insert(0, 4 - text.size(), '0');
    }
    return text;
}

std::string adifDate(std::string_view qsoDate) {
    const auto date = parseDate(qsoDate);
    if (!date || !isValidDate(date->year, date->month, date->day)) {
        return {};
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", date->year, date->month, date->day);
    return buffer;
}

std::string formatAdifRecord(const QsoRecord& record, std::string_view power, std::string_view comment) {
    std::string out;
    out.reserve(160);
    if (!record.call.empty()) {
        appendField(out, "Call", record.call);
        out.push_back(' ');
    }
    if (const std::string date = adifDate(record.qsoDate); !date.empty()) {
        out.append("<Qso_Date:8:d>");
        out.append(date);
        out.push_back(' ');
    }
    out.append("<Band:4>160M");
    out.append(kCrLf);
    // Every contact of this contest is CW, whatever the record says.
    out.append("<Mode:2>CW");
    out.append(kCrLf);
    if (!power.empty()) {
        appendField(out, "Tx_Pwr", power);
        out.push_back(' ');
    }
    if (const std::string_view frequency = trimBlanks(record.frequency); !frequency.empty()) {
        appendField(out, "Freq", frequency);
        out.push_back(' ');
    }
    if (const std::string time = adifTime(record.qsoTime); time >= "0000") {
        out.append("<Time_On:4>");
        out.append(time);
        out.push_back(' ');
    }
    if (!record.gridR.empty()) {
        // The length counts the grid as written, so a reader never runs into the next field.
        appendField(out, "Gridsquare", exchange::detail::trimTrailingBlanks(record.gridR));
        out.push_back(' ');
    }
    if (!comment.empty()) {
        appendField(out, "Comment", comment);
        out.append(kCrLf);
    }
    out.append("<eor>");
    out.append(kCrLf);
    out.append(kCrLf);
    return out;
}

std::string buildAdif(const AdifInput& input) {
    const std::string_view title = exchange::detail::titleForHeader(input.programTitle);
    std::string_view program = title.substr(0, title.size() >= 4 ? title.size() - 4 : 0);
    program = trimBlanks(program);

    std::string out;
    out.reserve(200 + input.records.size() * 140);
    out.append("ADIF Export from ");
    out.append(title);
    out.append(kCrLf);
    appendField(out, "PROGRAMID", program);
    out.append(kCrLf);
    out.append("Log exported on: ");
    out.append(input.exportDateText);
    out.append(kCrLf);
    out.append(kCrLf);
    out.append("<EOH>");
    out.append(kCrLf);
    for (const QsoRecord& record : input.records) {
        out += formatAdifRecord(record, input.power, input.comment);
    }
    return out;
}

FileResult writeAdifFile(const std::string& path, const AdifInput& input) {
    return replaceAtomically(path, buildAdif(input));
}

std::string adifWrittenMessage(std::string_view fullPath) {
    std::string text = "The file was successfully written to the directory:\r\n\r\n";
    text.append(fullPath);
    text.push_back('.');
    return text;
}

} // namespace corvane
