// Received cluster text, fuzzed: the TNC line splitter in one read and in many (the same
// lines, shown and taken as spots, whatever the pieces), and the Telnet path with its
// option filter. Memory stays bounded whatever arrives.

#include "spots/SpotIntake.h"
#include "spots/StatusText.h"
#include "spots/TelnetFilter.h"
#include "support/FuzzCheck.h"

#include <cstddef>
#include <cstdint>

using namespace corvane::spots;

namespace {

void checkHandOffs(const std::vector<SpotHandOff>& spots) {
    for (const SpotHandOff& spot : spots) {
        FUZZ_CHECK(spot.frequencyText.size() <= 9);
        FUZZ_CHECK(spot.call.size() <= 13);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t pieceSize = 1 + data[0] % 97;
    const std::string_view text = corvane::fuzz::textOf(data + 1, size - 1);

    StatusText wholeStatus;
    SpotIntake whole(wholeStatus);
    whole.setDxOnly(data[0] & 0x80);
    const auto wholeSpots = whole.tncReceived(text);
    checkHandOffs(wholeSpots);
    FUZZ_CHECK(wholeStatus.size() <= kStatusTrimAbove + text.size());

    StatusText partStatus;
    SpotIntake parts(partStatus);
    parts.setDxOnly(data[0] & 0x80);
    std::size_t partSpots = 0;
    for (std::size_t at = 0; at < text.size(); at += pieceSize) {
        const auto spots = parts.tncReceived(text.substr(at, pieceSize));
        checkHandOffs(spots);
        partSpots += spots.size();
        FUZZ_CHECK(parts.tncPending().size() <= kMaxPendingChars + pieceSize);
    }
    if (text.size() < kMaxPendingChars) {
        FUZZ_CHECK(partSpots == wholeSpots.size());
        FUZZ_CHECK(partStatus.text() == wholeStatus.text());
    }

    TelnetFilter filter;
    StatusText telnetStatus;
    SpotIntake telnet(telnetStatus);
    for (std::size_t at = 0; at < text.size(); at += pieceSize) {
        const std::string_view piece = text.substr(at, pieceSize);
        const TelnetFilter::Result result = filter.feed(piece);
        FUZZ_CHECK(result.text.size() <= piece.size());
        FUZZ_CHECK(result.reply.size() <= 3 * piece.size());
        checkHandOffs(telnet.telnetReceived(result.text));
        FUZZ_CHECK(telnetStatus.size() <= kStatusTrimAbove);
        FUZZ_CHECK(telnetStatus.text().find('\0') == std::string::npos);
    }
    return 0;
}
