// Bytes from an AGW packet engine, fuzzed: decoding in one read and in many gives the same
// frames; a decoded frame encodes back to the bytes it came from; the link's queue and
// texts stay bounded; a frame's sender and the bytes as typed text change the partner and
// the sent text only as the rules say.

#include "spots/AgwCommand.h"
#include "spots/AgwFrame.h"
#include "spots/AgwLink.h"
#include "support/FuzzCheck.h"

#include <cstddef>
#include <cstdint>

using namespace corvane::spots;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t pieceSize = 1 + data[0] % 61;
    const std::string_view bytes = corvane::fuzz::textOf(data + 1, size - 1);

    AgwDecoder whole;
    const std::vector<AgwFrame> all = whole.feed(bytes);
    AgwDecoder parts;
    std::vector<AgwFrame> joined;
    for (std::size_t at = 0; at < bytes.size(); at += pieceSize) {
        for (AgwFrame& frame : parts.feed(bytes.substr(at, pieceSize))) {
            joined.push_back(std::move(frame));
        }
    }
    FUZZ_CHECK(joined == all);
    FUZZ_CHECK(whole.failed() == parts.failed());

    std::size_t consumed = 0;
    for (const AgwFrame& frame : all) {
        FUZZ_CHECK(frame.data.size() <= kAgwMaxDataLength);
        FUZZ_CHECK(frame.callFrom.size() <= kAgwCallField && frame.callTo.size() <= kAgwCallField);
        const std::string again = encodeAgwFrame(frame);
        // Fields the encoder writes as zeros, and calls that filled their field, differ.
        if (frame.callFrom.size() < kAgwCallField && frame.callTo.size() < kAgwCallField) {
            AgwDecoder decoder;
            const auto back = decoder.feed(again);
            FUZZ_CHECK(back.size() == 1 && back[0] == frame);
        }
        consumed += again.size();
    }
    FUZZ_CHECK(consumed <= bytes.size());

    std::string partner;
    for (const AgwFrame& frame : all) {
        const PartnerChange change = partnerChange(frame.kind, frame.callFrom, partner);
        FUZZ_CHECK(change != PartnerChange::Connected || partner.empty());
        FUZZ_CHECK(change != PartnerChange::Disconnected || !partner.empty());
        if (change == PartnerChange::Connected) {
            partner = frame.callFrom;
        } else if (change == PartnerChange::Disconnected) {
            partner.clear();
        }
    }
    const AgwInput typed = parseAgwInput(bytes);
    FUZZ_CHECK(typed.kind != AgwInput::Kind::Connect || !typed.call.empty());
    FUZZ_CHECK(typed.data.size() <= bytes.size() + 1);
    if (const auto piece = agwAutoSendPiece(bytes)) {
        FUZZ_CHECK(piece->size() < bytes.size());
    }

    AgwLink link;
    (void)link.start("W1AW");
    for (std::size_t at = 0; at < bytes.size(); at += pieceSize) {
        const bool ok = link.received(bytes.substr(at, pieceSize));
        FUZZ_CHECK(link.queued() <= kAgwMaxQueuedFrames);
        if (!ok) {
            FUZZ_CHECK(link.decoderError().has_value());
            break;
        }
    }
    while (const auto frame = link.get()) {
        FUZZ_CHECK(frame->text.size() <= kAgwMaxText);
    }
    return 0;
}
