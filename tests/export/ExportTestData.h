#pragma once
// Contacts shared by the export tests.

#include "core/QsoRecord.h"

#include <string>

namespace corvane::test {

// K1ABC in FN31, worked from FM19 on 2012/12/29 at 23:15:02 UTC for 3 points, no frequency.
inline QsoRecord k1abcContact() {
    QsoRecord r;
    r.call = "K1ABC";
    r.kilometers = "1,234";
    r.gridR = "FN31";
    r.gridS = "FM19";
    r.qsoDate = "2012/12/29";
    r.qsoTime = "23:15:02";
    r.points = "3";
    r.mode = "CW";
    return r;
}

} // namespace corvane::test
