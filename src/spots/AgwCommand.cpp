#include "spots/AgwCommand.h"

#include "core/TextCase.h"

namespace corvane::spots {

namespace {

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

AgwInput parseAgwInput(std::string_view typed) {
    AgwInput input;
    if (typed.empty() || typed.front() != ':') {
        input.data = std::string(typed) + "\r";
        return input;
    }
    const char letter = typed.size() > 1 ? upper(typed[1]) : '\0';
    if (letter == 'D') {
        input.kind = AgwInput::Kind::Disconnect;
    } else if (letter == 'C') {
        for (char c : trimmed(typed.substr(2))) {
            input.call += upper(c);
        }
        input.kind = input.call.empty() ? AgwInput::Kind::ConnectWithoutCall : AgwInput::Kind::Connect;
    } else {
        input.kind = AgwInput::Kind::Ignored;
    }
    return input;
}

std::optional<std::string> agwAutoSendPiece(std::string_view fieldText) {
    if (fieldText.size() > 70 && fieldText.back() == ' ') {
        return std::string(fieldText.substr(0, fieldText.size() - 1));
    }
    return std::nullopt;
}

PartnerChange partnerChange(char kind, std::string_view sender, std::string_view partner) {
    if (kind == 'd' && !partner.empty() && equalsIgnoringCase(sender, partner)) {
        return PartnerChange::Disconnected;
    }
    if (kind == 'c' && partner.empty()) {
        return PartnerChange::Connected;
    }
    return PartnerChange::None;
}

} // namespace corvane::spots
