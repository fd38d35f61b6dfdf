#pragma once
// What the operator types for the AGW packet engine, and what received frames do to the
// connection with a partner station.
//
// Typed text: ":C call" asks the engine to connect to the call (upper-cased), ":D" to end the
// connection; any other ":" letter does nothing; other text is connected data, sent with a
// CR to the partner. Long keyboard text leaves in pieces: once the field holds more than 70
// characters and ends with a blank, the text without that blank is sent.

#include <optional>
#include <string>
#include <string_view>

namespace corvane::spots {

struct AgwInput {
    enum class Kind { Data, Connect, ConnectWithoutCall, Disconnect, Ignored };
    Kind kind = Kind::Data;
    std::string call; // Connect: the station to call
    std::string data; // Data: the text with its CR
};

AgwInput parseAgwInput(std::string_view typed);

// The piece to send when the send field holds `fieldText`, or nothing yet.
std::optional<std::string> agwAutoSendPiece(std::string_view fieldText);

// A "d" frame from the partner (compared ignoring case) ends the connection; a "c" frame while
// there is no partner makes its sender the partner.
enum class PartnerChange { None, Connected, Disconnected };
PartnerChange partnerChange(char kind, std::string_view sender, std::string_view partner);

} // namespace corvane::spots
