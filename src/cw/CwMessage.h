#pragma once
// Filling in a function-key message before it is sent.
//
//  "$" -> the call of the main window's call field, without leading and trailing blanks
//  "#" -> nothing (this contest exchanges no serial number)
//  "*" -> the report in cut numbers, "5NN" when the report is empty or "599"
//  "!" stays; it logs the contact when the sending reaches it.

#include <string>
#include <string_view>

namespace corvane::cw {

// The report as sent: "5NN" for an empty report or "599", else the report itself.
std::string sentReport(std::string_view report);

// Three passes over the text, first every "$", then every "#", then every "*", each pass
// left to right and resuming after the inserted text.
std::string substituteMessage(std::string_view message, std::string_view call, std::string_view report = "");

// Replaces every `marker` by `with`, left to right, resuming after the inserted text.
std::string replaceEach(std::string_view text, char marker, std::string_view with);

} // namespace corvane::cw
