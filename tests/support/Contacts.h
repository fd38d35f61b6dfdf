#pragma once
// Contacts for tests, built from one typical contact: K1ABC in FN31, worked from FN20 on
// 2012/12/29 at 23:15:02 UTC, 1,234 km for 3 points, CW, no miles and no frequency. Each call
// changes one field; a Contact converts to the QsoRecord it describes:
//     const QsoRecord r = Contact("W1AW").grid("FN42").points("5");

#include "core/QsoRecord.h"

#include <string>
#include <utility>

namespace corvane::test {

class Contact {
public:
    explicit Contact(std::string call = "K1ABC") {
        m_record.call = std::move(call);
        m_record.kilometers = "1,234";
        m_record.gridR = "FN31";
        m_record.gridS = "FN20";
        m_record.qsoDate = "2012/12/29";
        m_record.qsoTime = "23:15:02";
        m_record.points = "3";
        m_record.mode = "CW";
    }

    Contact& grid(std::string value) { return set(m_record.gridR, std::move(value)); }    // received
    Contact& ownGrid(std::string value) { return set(m_record.gridS, std::move(value)); } // sent
    Contact& kilometers(std::string value) { return set(m_record.kilometers, std::move(value)); }
    Contact& miles(std::string value) { return set(m_record.miles, std::move(value)); }
    Contact& date(std::string value) { return set(m_record.qsoDate, std::move(value)); }
    Contact& time(std::string value) { return set(m_record.qsoTime, std::move(value)); }
    Contact& points(std::string value) { return set(m_record.points, std::move(value)); }
    Contact& mode(std::string value) { return set(m_record.mode, std::move(value)); }
    Contact& frequency(std::string value) { return set(m_record.frequency, std::move(value)); }

    operator QsoRecord() const { return m_record; } // NOLINT(google-explicit-constructor): reads as a record

private:
    Contact& set(std::string& field, std::string value) {
        field = std::move(value);
        return *this;
    }

    QsoRecord m_record;
};

} // namespace corvane::test
