#pragma once
// The entry line's rules without the window: completeness, the post-contest date and
// time, the record built for a logged contact, and the clocks' texts.

#include "core/DateTime.h"
#include "core/QsoRecord.h"

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

enum class EntryFocus { Unchanged, Call, Grid };

struct CompletenessCheck {
    bool incomplete = false;
    int beeps = 0;
    std::string message; // for the message line, when not empty
    EntryFocus focus = EntryFocus::Unchanged;
};
// A contact is complete with a grid and a call of at least three characters.
CompletenessCheck checkCompleteness(std::string_view call, std::string_view grid);

// What was wrong with a post-contest date or time.
enum class StampFault { None, Date, Time };

struct PostContestStamp {
    bool ok = false;
    StampFault fault = StampFault::None;
    std::string error;    // for the message line: "Invalid date format!" or "Invalid time format!"
    std::string dateText; // what the date field holds afterwards
    std::string timeText; // what the time field holds afterwards
};
// Checks and reformats the typed date (yyyy/mm/dd) and time (hh:mm; 2315 -> 23:15).
PostContestStamp stampPostContest(std::string_view dateText, std::string_view timeText);

struct ContactEntry {
    std::string call;
    std::string grid;
    std::string kilometers; // the distance display
    std::string points;     // the points display
    std::string ownGrid;
    std::string frequency; // the frequency handed over by the rig link
};
// The record of a contact logged now (UTC date and time) or with a post-contest stamp.
QsoRecord buildRecord(const ContactEntry& entry, const DateTime& utcNow, const PostContestStamp* postContest);

// The Time On clock: |running seconds + accumulated| as hh:mm:ss (hours may grow past 99).
float timeOnTotalSeconds(const DateTime& start, const DateTime& now, float accumulatedSeconds);
std::string formatDuration(float totalSeconds);

// The local clock's text: 12-hour, the hour without a leading zero (h:nn:ss).
std::string formatLocalClock(const DateTime& local);

// Upper-cases a to z; other characters stay.
char capital(char c);

} // namespace corvane
