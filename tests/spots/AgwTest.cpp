#include "spots/AgwCommand.h"
#include "spots/AgwFrame.h"
#include "spots/AgwLink.h"

#include <gtest/gtest.h>

using namespace corvane::spots;

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) {
        out += static_cast<char>(v);
    }
    return out;
}

std::string callField(std::string_view call) {
    std::string out(call);
    out.resize(kAgwCallField, '\0');
    return out;
}

// An engine frame written out by hand, field by field.
std::string rawFrame(char kind, std::string_view from, std::string_view to, std::string_view data, int pid = 0) {
    const auto n = static_cast<std::uint32_t>(data.size());
    return bytes({0, 0, 0, 0}) + std::string(1, kind) + bytes({0, pid, 0}) + callField(from) + callField(to) +
           bytes({static_cast<int>(n & 0xFF), static_cast<int>((n >> 8) & 0xFF), static_cast<int>((n >> 16) & 0xFF),
                  static_cast<int>(n >> 24)}) +
           bytes({0, 0, 0, 0}) + std::string(data);
}

} // namespace

TEST(AgwFrame, EncodesTheHeaderByteForByte) {
    AgwFrame frame;
    frame.port = 1;
    frame.kind = 'D';
    frame.pid = 0xF0;
    frame.callFrom = "W1AW";
    frame.callTo = "K1ABC-15";
    frame.data = std::string(300, 'x');
    const std::string out = encodeAgwFrame(frame);
    const std::string header = bytes({1, 0, 0, 0, 'D', 0, 0xF0, 0}) + callField("W1AW") + callField("K1ABC-15") +
                               bytes({0x2C, 0x01, 0, 0, 0, 0, 0, 0});
    ASSERT_EQ(out.size(), kAgwHeaderSize + 300);
    EXPECT_EQ(out.substr(0, kAgwHeaderSize), header);
    EXPECT_EQ(out.substr(kAgwHeaderSize), frame.data);

    // A call too long for its field is cut so that a NUL still ends it.
    frame.callFrom = "ABCDEFGHIJKL";
    EXPECT_EQ(encodeAgwFrame(frame).substr(8, 10), callField("ABCDEFGHI"));
}

TEST(AgwFrame, DecodesFramesFromAnyPieces) {
    AgwFrame a{0, 'U', 0xF0, "K1ABC-1", "DX", "DX de K1ABC: 1825.5 W1AW\r"};
    AgwFrame b{2, 'C', 0, "W1AW", "K1ABC", "*** CONNECTED With Station W1AW\r"};
    const std::string stream = encodeAgwFrame(a) + encodeAgwFrame(b);

    AgwDecoder whole;
    EXPECT_EQ(whole.feed(stream), (std::vector<AgwFrame>{a, b}));

    AgwDecoder byByte;
    std::vector<AgwFrame> got;
    for (char c : stream) {
        for (AgwFrame& f : byByte.feed(std::string_view(&c, 1))) {
            got.push_back(std::move(f));
        }
    }
    EXPECT_EQ(got, (std::vector<AgwFrame>{a, b}));

    // A call that fills its whole field (no NUL) is taken whole.
    std::string full = rawFrame('T', "0123456789", "", "");
    ASSERT_EQ(AgwDecoder().feed(full).at(0).callFrom, "0123456789");
}

TEST(AgwFrame, AHugeOrNegativeLengthStopsTheDecoderWithAMessage) {
    AgwDecoder decoder;
    std::string header = rawFrame('U', "X", "Y", "");
    header.replace(28, 4, bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    const std::string good = encodeAgwFrame({0, 'U', 0, "A", "B", "ok"});
    const auto frames = decoder.feed(good + header + good);
    EXPECT_EQ(frames.size(), 1u);
    ASSERT_TRUE(decoder.failed());
    EXPECT_NE(decoder.error()->find("4294967295"), std::string::npos);
    EXPECT_TRUE(decoder.feed(good).empty());
    decoder.reset();
    EXPECT_EQ(decoder.feed(good).size(), 1u);

    // The largest accepted length waits for its data instead.
    AgwDecoder patient;
    std::string big = rawFrame('U', "X", "Y", "");
    big.replace(28, 4, bytes({0x00, 0x00, 0x01, 0x00}));
    EXPECT_TRUE(patient.feed(big).empty());
    EXPECT_FALSE(patient.failed());
}

TEST(AgwLink, StartPutAndTheEnginesNames) {
    AgwLink link;
    EXPECT_EQ(link.start("W1AW"), rawFrame('X', "W1AW", "", "") + rawFrame('m', "", "", ""));
    EXPECT_EQ(link.put('c', "K1ABC", ""), rawFrame('C', "W1AW", "K1ABC", ""));
    EXPECT_EQ(link.put('P', "K1ABC", ""), "");
    EXPECT_EQ(link.put('D', "K1ABC", "hello\r"), rawFrame('D', "W1AW", "K1ABC", "hello\r", 0xF0));
    EXPECT_EQ(link.put('d', "K1ABC", ""), rawFrame('d', "W1AW", "K1ABC", ""));
    EXPECT_EQ(link.put('Q', "K1ABC", ""), "");
}

TEST(AgwLink, ReceivedFramesAreHandedOnOneAtATime) {
    AgwLink link;
    link.start("W1AW");
    EXPECT_FALSE(link.registered());
    ASSERT_TRUE(link.received(rawFrame('X', "W1AW", "", bytes({1}))));
    EXPECT_EQ(link.registered(), true);
    ASSERT_TRUE(link.received(rawFrame('C', "K1ABC", "W1AW", "*** CONNECTED With Station K1ABC\r") +
                              rawFrame('d', "W1AW", "K1ABC", "*** DISCONNECTED From Station K1ABC\r") +
                              rawFrame('R', "", "", bytes({1, 0, 0, 0})) +
                              rawFrame('U', "N0CALL", "ID", " 1:Fm N0CALL To ID <UI>\rhi\r")));
    auto f = link.get();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, 'c');
    EXPECT_EQ(f->sender, "K1ABC");
    f = link.get();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, 'd');
    EXPECT_EQ(f->sender, "K1ABC"); // the far station even when the engine names it second
    f = link.get();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, 'U');
    EXPECT_EQ(f->sender, "N0CALL");
    EXPECT_FALSE(link.get());
}

TEST(AgwLink, QueueAndTextsAreBounded) {
    AgwLink link;
    link.start("W1AW");
    std::string many;
    for (int i = 0; i < 300; ++i) {
        many += rawFrame('U', "N" + std::to_string(i), "ID", "x");
    }
    EXPECT_TRUE(link.received(many));
    EXPECT_EQ(link.queued(), kAgwMaxQueuedFrames);
    EXPECT_EQ(link.takeDroppedFrames(), 300 - kAgwMaxQueuedFrames);
    EXPECT_EQ(link.takeDroppedFrames(), 0u);
    EXPECT_EQ(link.get()->sender, "N44"); // the oldest were dropped

    link.stop();
    EXPECT_TRUE(link.received(rawFrame('D', "K1ABC", "W1AW", std::string(6000, 'y'))));
    EXPECT_EQ(link.get()->text.size(), kAgwMaxText);

    std::string bad = rawFrame('D', "K1ABC", "W1AW", "");
    bad.replace(28, 4, bytes({0, 0, 0, 0x80}));
    EXPECT_FALSE(link.received(bad));
    EXPECT_TRUE(link.decoderError().has_value());
}

TEST(AgwInput, CommandsDataAndLongText) {
    AgwInput connect = parseAgwInput(":c  w1aw ");
    EXPECT_EQ(connect.kind, AgwInput::Kind::Connect);
    EXPECT_EQ(connect.call, "W1AW");
    EXPECT_EQ(parseAgwInput(":C").kind, AgwInput::Kind::ConnectWithoutCall);
    EXPECT_EQ(parseAgwInput(":C   ").kind, AgwInput::Kind::ConnectWithoutCall);
    EXPECT_EQ(parseAgwInput(":d").kind, AgwInput::Kind::Disconnect);
    EXPECT_EQ(parseAgwInput(":X K1ABC").kind, AgwInput::Kind::Ignored);
    EXPECT_EQ(parseAgwInput(":").kind, AgwInput::Kind::Ignored);
    const AgwInput data = parseAgwInput("hello :C");
    EXPECT_EQ(data.kind, AgwInput::Kind::Data);
    EXPECT_EQ(data.data, "hello :C\r");
    EXPECT_EQ(parseAgwInput("").data, "\r");

    // The blank after the 70th character sends the 70; a 70th-character blank waits.
    EXPECT_FALSE(agwAutoSendPiece(std::string(70, 'x')));
    EXPECT_FALSE(agwAutoSendPiece(std::string(69, 'x') + " "));
    EXPECT_EQ(agwAutoSendPiece(std::string(70, 'x') + " "), std::string(70, 'x'));
    EXPECT_FALSE(agwAutoSendPiece(std::string(71, 'x')));
}

TEST(AgwInput, OnlyThePartnersDisconnectEndsTheConnection) {
    EXPECT_EQ(partnerChange('c', "W1AW", ""), PartnerChange::Connected);
    EXPECT_EQ(partnerChange('c', "K1ABC", "W1AW"), PartnerChange::None);
    EXPECT_EQ(partnerChange('d', "w1aw", "W1AW"), PartnerChange::Disconnected);
    EXPECT_EQ(partnerChange('d', "N0ONE", "W1AW"), PartnerChange::None);
    EXPECT_EQ(partnerChange('d', "W1AW", ""), PartnerChange::None);
    EXPECT_EQ(partnerChange('D', "W1AW", "W1AW"), PartnerChange::None);
}
