#pragma once
// Reading ADIF files of other logs, for what the call history takes from them: the call, the
// grid square and when the contact was made. Every field is <NAME:length[:type]>value; a
// header ends with <EOH>, a record with <EOR>. A record whose lengths do not match its
// text (a length running past the end, or text left over before the next field) is skipped
// and counted, and reading goes on with the next record.

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct AdifContact {
    std::string call;
    std::string grid;  // GRIDSQUARE as written; empty when the record has none
    std::string stamp; // "yyyy/mm/dd hh:mm:ss" from QSO_DATE and TIME_ON; "" when there is no date

    friend bool operator==(const AdifContact&, const AdifContact&) = default;
};

struct AdifReadResult {
    std::vector<AdifContact> contacts; // records with a call, in file order
    int skippedRecords = 0;            // damaged records, and records without a call
};

AdifReadResult readAdifContacts(std::string_view bytes);

} // namespace corvane
