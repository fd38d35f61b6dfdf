// The bytes a WinKeyer sends, fuzzed: the decoder alone (one read against many) and the
// link while it opens and while it is open.

#include "cw/winkey/WinKeyer.h"
#include "cw/winkey/WinKeyerProtocol.h"
#include "support/FakeSerialPort.h"
#include "support/ManualTimer.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace corvane;
using namespace corvane::cw;

void fail(int line) {
    std::fprintf(stderr, "winkey_decoder_fuzz: check on line %d failed\n", line);
    std::abort();
}
#define require(condition)                                                                                             \
    if (!(condition)) {                                                                                                \
        fail(__LINE__);                                                                                                \
    }

// Decoding in one read and in many gives the same events; every byte makes one event.
void decoderAgrees(std::string_view bytes, int expected, std::size_t splitEvery) {
    KeyerByteDecoder whole;
    whole.expectReplies(expected);
    const auto all = whole.decode(bytes);
    require(all.size() == bytes.size());

    KeyerByteDecoder parts;
    parts.expectReplies(expected);
    std::vector<KeyerEvent> joined;
    for (std::size_t at = 0; at < bytes.size(); at += splitEvery) {
        const auto some = parts.decode(bytes.substr(at, splitEvery));
        joined.insert(joined.end(), some.begin(), some.end());
    }
    require(joined == all);
    require(whole.repliesExpected() == parts.repliesExpected());

    int replies = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(bytes[i]);
        switch (all[i].kind) {
        case KeyerEvent::Kind::Status:
            require(classifyKeyerByte(byte) == KeyerByteKind::Status && all[i].value == byte);
            require(sendStatusValue(decodeStatus(byte)) >= 0);
            break;
        case KeyerEvent::Kind::SpeedPot:
            require(classifyKeyerByte(byte) == KeyerByteKind::SpeedPot && all[i].value < 64);
            break;
        case KeyerEvent::Kind::Reply:
            ++replies;
            require(byte < 0x80);
            break;
        case KeyerEvent::Kind::Echo:
            require(byte < 0x80 && replies == expected); // replies come first
            break;
        }
    }
    require(replies <= expected);
}

// The link takes whatever arrives while it opens and while it is open without breaking its
// promises: the open ends once, open means version above 0, a closed link writes nothing,
// an open link is lost at most once.
void linkHolds(std::string_view bytes, std::size_t splitEvery) {
    FakeSerialPort port;
    test::ManualTimeline time;
    test::ManualTimer timer(time);
    WinKeyer keyer(port, timer);
    int calls = 0;
    int result = 1;
    int lost = 0;
    keyer.setLostHandler([&](const std::string&) { ++lost; });
    keyer.open(1, [&](int r, std::uint8_t version) {
        ++calls;
        result = r;
        require((r == 0) == (version != 0));
    });
    for (std::size_t at = 0; at < bytes.size(); at += splitEvery) {
        port.replies.emplace_back(bytes.substr(at, splitEvery));
        keyer.dataArrived();
        require(calls <= 1);
        if (keyer.isOpen()) {
            require(keyer.version() != 0);
            const int status = keyer.status();
            require(status == 0 || status == kSendingStatus || status == kHoldStatus);
            keyer.sendCharacter(static_cast<char>(bytes[at]));
        } else if (calls == 1) {
            require(!port.isOpen());
            const std::size_t before = port.written.size();
            keyer.setSpeed(20);
            require(port.written.size() == before);
        }
        time.advance(static_cast<std::uint8_t>(bytes[at]) * 8);
    }
    time.advance(10000);
    require(calls == 1);
    require(lost <= 1);
    require(keyer.isOpen() ? result == 0 && lost == 0 : result != 0 || lost == 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const int expected = data[0] % 4;
    const std::size_t splitEvery = 1 + data[1] % 7;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
    decoderAgrees(bytes, expected, splitEvery);
    linkHolds(bytes, splitEvery);
    return 0;
}
