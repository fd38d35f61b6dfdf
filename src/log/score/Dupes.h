#pragma once
// Duplicate checking: the full check that refuses a call already in the log, the
// partial check that lists logged calls beginning with what is being typed, and the
// hold of keystrokes after a refused duplicate.

#include "log/ContactLog.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr std::string_view kPossibleDuplicateText = "Possible Duplicate!";
inline constexpr std::string_view kNotNumericText = "The second or third character is not numeric!";
inline constexpr std::string_view kPossibleDuplicatesCaption = "               Possible Duplicates";
// Once the list is longer than this, no further matches are added.
inline constexpr std::size_t kPartialListCutChars = 100;
inline constexpr std::int64_t kDupeHoldMs = 3000;

struct DupeHit {
    int recordIndex = 0; // 1-based record number
    std::string message; // for the message line, on red
};

// The first record (from record 1 on) whose call equals `call`, letter case ignored, with
// "Duplicate <call> <date> <time> ON <points>  Rec# <n>". On a hit the entry line shows the
// message on red, empties the possible-duplicates box, beeps, has the "Dupe" prompt played,
// holds the keys typed for the next three seconds, and clears the call and grid fields with
// the keyboard in the call field.
std::optional<DupeHit> findDuplicate(const ContactLog& log, std::string_view call);

struct PartialCheckInput {
    std::string_view callBefore; // the call field before the key
    char key = 0;                // the key, already upper-cased
    bool partialDupesOn = true;
    bool timeOnRunning = false;
};

// What one keystroke in the call field does to the entry line. The message line's
// background always becomes teal.
struct PartialCheckResult {
    std::string dupeList;                   // matching calls, newest first, each + " "
    bool dupeListTeal = false;              // the list on teal, else on the button face
    std::optional<std::string> messageText; // the message line's new text; nullopt leaves it
    bool beep = false;

    friend bool operator==(const PartialCheckResult&, const PartialCheckResult&) = default;
};

PartialCheckResult partialCheck(const ContactLog& log, const PartialCheckInput& input);

// Only the list of the partial check: the logged calls whose first typed.size()
// characters equal `typed` (letter case ignored), each followed by a blank, the newest
// first; the scan from record 1 stops once the list is longer than 100 characters.
std::string partialDupeList(const ContactLog& log, std::string_view typed);

// How long a keystroke typed at nowMs must wait after a duplicate refused at dupeTimeMs
// (both on the monotonic millisecond clock): 0 once the three seconds are over and the
// hold ends.
std::int64_t dupeHoldRemainingMs(std::int64_t dupeTimeMs, std::int64_t nowMs);

} // namespace corvane
