#pragma once
// Contacts shared by the export tests.

#include "support/Contacts.h"

#include <string>

namespace corvane::test {

// K1ABC in FN31, worked from FM19 on 2012/12/29 at 23:15:02 UTC for 3 points, no frequency.
inline QsoRecord k1abcContact() {
    return Contact().ownGrid("FM19");
}

} // namespace corvane::test
