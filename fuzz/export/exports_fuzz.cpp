// The Cabrillo and ADIF files and the clipboard text built from whatever log.txt held: the
// builders read dates, times, frequencies and points out of the record texts.

#include "export/Adif.h"
#include "export/Cabrillo.h"
#include "export/ClipboardText.h"
#include "log/ContactLog.h"
#include "log/LogFile.h"
#include "log/score/ContactList.h"
#include "support/FuzzCheck.h"

#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const LogParseResult parsed = parseLog(fuzz::textOf(data, size), 200);
    if (!parsed.ok) {
        return 0;
    }
    ContactLog log;
    log.assign(parsed.records);

    CabrilloInput cabrillo;
    cabrillo.records = log.records();
    cabrillo.ownCall = log.qsoCount() > 0 ? log.record(1).call : "W1XYZ";
    cabrillo.totalScoreText = totalScoreText(log.totalPoints(), 2);
    cabrillo.operators = log.qsoCount() > 1 ? log.record(2).gridR : "";
    const std::string cabrilloText = buildCabrillo(cabrillo);
    FUZZ_CHECK(cabrilloText.starts_with("START-OF-LOG:"));
    (void)callFileStem(cabrillo.ownCall);

    AdifInput adif;
    adif.records = log.records();
    adif.power = "100";
    adif.comment = "Corvane Contest";
    adif.exportDateText = "2012-12-29 23:15:02";
    (void)buildAdif(adif);

    std::vector<std::string> headers;
    for (const auto& column : listColumns()) {
        headers.emplace_back(column.header);
    }
    std::vector<std::vector<std::string>> rows;
    for (int n = log.qsoCount(); n >= 1; --n) {
        const auto texts = listRowTexts(log, n);
        rows.emplace_back(texts.begin(), texts.end());
    }
    (void)buildListClipboardText(headers, rows);
    return 0;
}
