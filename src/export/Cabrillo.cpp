#include "export/Cabrillo.h"

#include "core/DateTime.h"
#include "core/NumberText.h"
#include "export/ExportText.h"
#include "log/station/Preferences.h"

namespace corvane {

using exchange::detail::kCrLf;
using exchange::detail::trimBlanks;

namespace {

// Builds lines in fixed 1-based columns.
class ColumnWriter {
public:
    explicit ColumnWriter(std::string& out) : m_out(out) {}

    void put(int column, std::string_view item) {
        const int nextColumn = m_lineLength + 1;
        if (nextColumn > column) {
            m_out.append(kCrLf);
            m_lineLength = 0;
        }
        const int blanks = column - 1 - m_lineLength;
        m_out.append(static_cast<std::size_t>(blanks), ' ');
        m_out.append(item);
        m_lineLength += blanks + static_cast<int>(item.size());
    }

    void endLine() {
        m_out.append(kCrLf);
        m_lineLength = 0;
    }

private:
    std::string& m_out;
    int m_lineLength = 0;
};

std::string cabrilloDate(const std::string& qsoDate) {
    const auto date = parseDate(qsoDate);
    if (!date || !isValidDate(date->year, date->month, date->day)) {
        return qsoDate;
    }
    return formatDateDash(DateTime{date->year, date->month, date->day, 0, 0, 0});
}

std::string cabrilloTime(const std::string& qsoTime) {
    std::string hhmm = qsoTime.substr(0, 2);
    if (qsoTime.size() > 3) {
        hhmm += qsoTime.substr(3, 2);
    }
    return hhmm;
}

constexpr std::string_view kFrequencyText = "1800";

} // namespace

std::string callFileStem(std::string_view ownCall) {
    const std::string_view call = trimBlanks(ownCall);
    std::size_t n = 0;
    while (n < call.size() && ((call[n] >= '0' && call[n] <= '9') || (call[n] >= 'A' && call[n] <= 'Z'))) {
        ++n;
    }
    return n == 0 ? std::string("YourCall") : std::string(call.substr(0, n));
}

std::string_view categoryText(OperatorCategory category) {
    return category == OperatorCategory::Multi ? "MULTI-ONE" : "SINGLE-OP";
}

std::string_view powerCategoryText(int powerCategory) {
    switch (powerCategory) {
    case 1:
        return "QRP";
    case 2:
        return "LOW";
    case 3:
        return "HIGH";
    default:
        return "";
    }
}

std::string totalScoreText(float totalPoints, int powerCategory) {
    const float score = totalPoints * static_cast<float>(powerMultiplier(powerCategory));
    return formatSingle(score);
}

std::string formatCabrilloQso(const QsoRecord& record, std::string_view ownCall) {
    std::string out;
    out.reserve(84);
    ColumnWriter w(out);
    w.put(1, "QSO:");
    w.put(11 - static_cast<int>(kFrequencyText.size()), kFrequencyText);
    w.put(12, record.mode);
    w.put(15, cabrilloDate(record.qsoDate));
    w.put(26, cabrilloTime(record.qsoTime));
    w.put(31, ownCall);
    w.put(45, "599");
    w.put(49, record.gridS);
    w.put(56, record.call);
    w.put(70, "599");
    w.put(74, record.gridR);
    w.endLine();
    return out;
}

std::string buildCabrillo(const CabrilloInput& input) {
    const std::string ownCall(trimBlanks(input.ownCall));
    std::string out;
    out.reserve(600 + input.records.size() * 84);
    auto line = [&out](std::string_view a, std::string_view b = {}) {
        out.append(a);
        out.append(b);
        out.append(kCrLf);
    };
    line("START-OF-LOG: 2.0");
    line("CREATED-BY: ", exchange::detail::titleForHeader(input.programTitle));
    line("CONTEST: ", "CORVANE");
    line("CALLSIGN: ", ownCall);
    line("CATEGORY: ", std::string(categoryText(input.category)) + " 160M " +
                           std::string(powerCategoryText(input.powerCategory)) + " ");
    line("CLAIMED-SCORE: ", input.totalScoreText);
    line("OPERATORS: ", input.operators.empty() ? ownCall : input.operators);
    line("CLUB: ", input.club);
    line("NAME: ", input.name);
    line("ADDRESS: ", input.addressLine1);
    line("ADDRESS: ", input.addressLine2);
    line("ADDRESS: (e-mail) ", input.email);
    line("SOAPBOX: ", input.soapbox);
    line("SOAPBOX:");
    line("SOAPBOX:");
    for (const QsoRecord& record : input.records) {
        out += formatCabrilloQso(record, ownCall);
    }
    line("END-OF-LOG:");
    return out;
}

FileResult writeCabrilloFile(const std::string& path, const CabrilloInput& input) {
    return replaceAtomically(path, buildCabrillo(input));
}

std::string cabrilloWrittenMessage(std::string_view fullPath) {
    std::string text = "The file was successfully written to the directory:\r\n\r\n";
    text.append(fullPath);
    text.append(".\r\n\r\nAttach this file to an e-mail addressed for contest submission.  If you wish to print "
                "this file, you can open it with Notepad or Wordpad to print.");
    return text;
}

} // namespace corvane
