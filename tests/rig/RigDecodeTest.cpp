// Replies of every radio family as byte transcripts, malformed ones included.
#include "RigTestBytes.h"
#include "rig/Decoders.h"
#include "rig/RigModels.h"

#include <gtest/gtest.h>

namespace corvane::rig {
namespace {

using test::bytes;

RigCommands commandsOf(std::string_view model) {
    const RigModel* row = findRigModel(model);
    EXPECT_NE(row, nullptr) << model;
    return {std::string(row->frequencyCommand), std::string(row->modeCommand), row->convertToHex};
}

DecodeResult decodeAs(std::string_view model, std::string_view reply, int modeTurn = 0) {
    PollState state;
    state.modeTurn = modeTurn;
    return findRigModel(model)->decode(commandsOf(model), state, reply);
}

// --- Kenwood and Elecraft ---

TEST(KenwoodDecode, FrequencyAndModeOfOneReply) {
    for (const auto* model : {"Kenwood", "Elecraft"}) {
        const auto r = decodeAs(model, "FA00001830500;MD3;");
        ASSERT_TRUE(r.frequencyMHz) << model;
        EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
        EXPECT_EQ(r.mode, "CW");
        EXPECT_EQ(r.status, DecodeStatus::Decoded);
    }
    EXPECT_EQ(decodeAs("Kenwood", "MD7;").mode, "CW");
    EXPECT_EQ(decodeAs("Kenwood", "MD2;").mode, "PH");
    EXPECT_FALSE(decodeAs("Kenwood", "MD2;").frequencyMHz);
}

TEST(KenwoodDecode, ShortOrBrokenFrequencyKeepsTheLastValue) {
    // Twelve characters after the marker are not enough: the ";" must have come too.
    auto r = decodeAs("Kenwood", "FA00001830500");
    EXPECT_FALSE(r.frequencyMHz);
    EXPECT_EQ(r.status, DecodeStatus::NeedMore);
    r = decodeAs("Kenwood", "FA0000183X500;MD3;");
    EXPECT_FALSE(r.frequencyMHz);
    EXPECT_EQ(r.mode, "CW");
    r = decodeAs("Kenwood", "?;");
    EXPECT_EQ(r.status, DecodeStatus::Garbage);
    // Noise before the reply is skipped by the marker search.
    r = decodeAs("Kenwood", std::string("\xFF\x00zzFA00014025000;", 18));
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 14.025F);
}

TEST(KenwoodDecode, MarkerComesFromTheFrequencyCommand) {
    RigCommands commands{"FB;", "MD;", false};
    PollState state;
    const auto r = decodeKenwood(commands, state, "FA00001830500;FB00003550000;");
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 3.55F);
    // A command too short to hold a marker reads no frequency.
    EXPECT_FALSE(decodeKenwood({"FA", "", false}, state, "FA00001830500;").frequencyMHz);
}

TEST(Kenwood2Decode, IfReplyGivesFrequencyModeAndVfo) {
    //          IF  frequency  step  rit    ...     mode vfo
    std::string reply = "IF00001830500     +0000000000030100;";
    //                   123456789012345678901234567890123456
    reply[29] = '3';
    reply[30] = '1';
    const auto r = decodeAs("Kenwood 2", reply);
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
    EXPECT_EQ(r.mode, "CW");
    EXPECT_EQ(r.kenwoodVfo, 1);
    reply[29] = '2';
    reply[30] = '0';
    EXPECT_EQ(decodeAs("Kenwood 2", reply).mode, "PH");
    EXPECT_EQ(decodeAs("Kenwood 2", reply).kenwoodVfo, 0);
}

TEST(Kenwood2Decode, CutShortReplyKeepsModeAndVfo) {
    const auto r = decodeAs("Kenwood 2", "IF00001830500     +00");
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FALSE(r.mode);
    EXPECT_FALSE(r.kenwoodVfo);
    EXPECT_EQ(decodeAs("Kenwood 2", "IF0000").status, DecodeStatus::NeedMore);
}

// --- CI-V ---

TEST(CivDecode, EchoThenAnswerGivesTheFrequency) {
    const std::string reply = bytes("FE FE 64 E0 03 FD FE FE E0 64 03 00 05 83 01 00 FD");
    const auto r = decodeAs("Icom", reply, 1);
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
    EXPECT_FALSE(r.mode);
    // The same bytes read while a mode question is out give nothing.
    EXPECT_FALSE(decodeAs("Icom", reply, 0).frequencyMHz);
    EXPECT_FALSE(decodeAs("Icom", reply, 0).mode);
}

TEST(CivDecode, Icom735SendsFourBytes) {
    const auto r = decodeAs("Icom 735", bytes("FE FE 64 E0 03 FD FE FE E0 64 03 00 05 83 01 FD"), 1);
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
}

TEST(CivDecode, HighFrequenciesKeepTheirLeadingDigits) {
    // 145.250 MHz: 00 00 25 45 01, least significant byte first.
    const auto r = decodeAs("Icom", bytes("FE FE E0 64 03 00 00 25 45 01 FD"), 1);
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 145.25F);
}

TEST(CivDecode, ModeAnswer) {
    EXPECT_EQ(decodeAs("Icom", bytes("FE FE 64 E0 04 FD FE FE E0 64 04 03 01 FD"), 0).mode, "CW");
    EXPECT_EQ(decodeAs("Icom", bytes("FE FE E0 64 04 07 01 FD"), 0).mode, "PH"); // CW-R
    EXPECT_EQ(decodeAs("Ten Tec Omni VI", bytes("FE FE E0 04 04 01 FD"), 0).mode, "PH");
}

TEST(CivDecode, SplitAndBrokenFrames) {
    // Only the echo and the start of the answer: wait for the rest.
    auto r = decodeAs("Icom", bytes("FE FE 64 E0 03 FD FE FE E0 64 03 00 05"), 1);
    EXPECT_FALSE(r.frequencyMHz);
    EXPECT_EQ(r.status, DecodeStatus::NeedMore);
    // The echo alone is a frame without data.
    r = decodeAs("Icom", bytes("FE FE 64 E0 03 FD"), 1);
    EXPECT_FALSE(r.frequencyMHz);
    EXPECT_EQ(r.status, DecodeStatus::Garbage);
    // The radio's "not good" frame (FA) and a lone preamble byte change nothing.
    EXPECT_FALSE(decodeAs("Icom", bytes("FE FE E0 64 FA FD"), 1).frequencyMHz);
    EXPECT_FALSE(decodeAs("Icom", bytes("FE 03 00 05 83 01 00 FD"), 1).frequencyMHz);
    // Hex digits that are not decimal (a collision) are not a number.
    EXPECT_FALSE(decodeAs("Icom", bytes("FE FE E0 64 03 0A 05 83 01 00 FD"), 1).frequencyMHz);
}

TEST(CivDecode, ScanKeepsTheFirstAnswerFrame) {
    const CivScan scan = scanCiv(bytes("FE FE E0 64 03 00 05 83 01 00 FD FE FE E0 64 03 00 00 50 03 00 FD"), 0x03);
    EXPECT_TRUE(scan.complete);
    EXPECT_EQ(scan.digits, "0001830500");
}

// --- Yaesu ---

TEST(YaesuDecode, BcdFrequencyAndModeByte) {
    auto r = decodeAs("Yaesu", bytes("00 18 30 50 02"));
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
    EXPECT_EQ(r.mode, "CW");
    EXPECT_EQ(decodeAs("Yaesu", bytes("00 18 30 50 84")).mode, "PH");
    EXPECT_EQ(decodeAs("Yaesu", bytes("00 18 30 50 83")).mode, "CW");
    // A decimal value outside the lists leaves the mode but the frequency is read.
    r = decodeAs("Yaesu", bytes("01 40 25 00 06"));
    EXPECT_FALSE(r.mode);
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 14.025F);
}

TEST(YaesuDecode, HexLetterInModeByteDiscardsTheReply) {
    for (const auto* reply : {"00 18 30 50 0A", "00 18 30 50 0C"}) {
        const auto r = decodeAs("Yaesu", bytes(reply));
        EXPECT_FALSE(r.frequencyMHz) << reply;
        EXPECT_FALSE(r.mode) << reply;
    }
}

TEST(YaesuDecode, ShortOrNonBcdReply) {
    EXPECT_EQ(decodeAs("Yaesu", bytes("00 18 30 50")).status, DecodeStatus::NeedMore);
    const auto r = decodeAs("Yaesu", bytes("00 1B 30 50 02"));
    EXPECT_FALSE(r.frequencyMHz);
    EXPECT_EQ(r.mode, "CW"); // read before the frequency failed
}

TEST(YaesuDecode, BinaryStatusFamilies) {
    // 1.8305 MHz = 183050 ten-Hz units = 02 CB 0A; mode digit 16 in byte 8.
    const std::string status890 = bytes("00 00 02 CB 0A 00 00 02");
    auto r = decodeAs("Yaesu 890", status890);
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
    EXPECT_EQ(r.mode, "CW");
    r = decodeAs("Yaesu 990", bytes("00 02 CB 0A 00 00 00 01"));
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
    EXPECT_EQ(r.mode, "PH");
    EXPECT_FLOAT_EQ(*decodeAs("Yaesu 1000 D", bytes("00 02 CB 0A 00")).frequencyMHz, 1.8305F);
    r = decodeAs("Yaesu 1000", bytes("00 00 2C B0 A0 00 00 08"));
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
    EXPECT_FALSE(r.mode); // digit 8 is no mode
    // Five bytes carry no mode byte: the mode stays.
    EXPECT_FALSE(decodeAs("Yaesu 890", bytes("00 00 02 CB 0A")).mode);
}

TEST(YaesuDecode, Yaesu920) {
    // 1830500 Hz = 00 1B EE 64.
    auto r = decodeAs("Yaesu 920", bytes("00 00 1B EE 64 00 00 01"));
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
    EXPECT_EQ(r.mode, "CW");
    EXPECT_EQ(decodeAs("Yaesu 920", bytes("00 00 1B EE 64 00 00 02")).mode, "PH");
    // Cut short before the mode byte: the frequency is read, the mode stays.
    EXPECT_FALSE(decodeAs("Yaesu 920", bytes("00 00 1B EE 64")).mode);
}

TEST(YaesuDecode, Yaesu757ReadsBytesNineToSixBackwards) {
    const auto r = decodeAs("Yaesu 757 GX II", bytes("00 00 00 00 00 50 30 18 00 0A"));
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
    EXPECT_EQ(r.mode, "PH"); // "0A" reads as 0
    EXPECT_EQ(decodeAs("Yaesu 757 GX II", bytes("00 00 00 00 00 50 30 18 00 02")).mode, "CW");
    EXPECT_EQ(decodeAs("Yaesu 757 GX II", bytes("00 00 00 00 00 50 30 18 00 04")).mode, "AM");
    EXPECT_EQ(decodeAs("Yaesu 757 GX II", bytes("00 00 00 00 00 50 30 18 00 05")).mode, "FM");
    EXPECT_EQ(decodeAs("Yaesu 757 GX II", bytes("00 00 00 00 00 50 30")).status, DecodeStatus::NeedMore);
}

TEST(YaesuDecode, Ftdx9000TextReplies) {
    const auto r = decodeAs("Yaesu FTdx9000", "FA01830500;MD03;");
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
    EXPECT_EQ(r.mode, "CW");
    EXPECT_EQ(decodeAs("Yaesu FTdx9000", "MD02;").mode, "PH");
    // Seven of the eight digits are not a frequency of a tenth of the value.
    EXPECT_FALSE(decodeAs("Yaesu FTdx9000", "FA0183050").frequencyMHz);
}

// --- Ten-Tec ---

TEST(TenTecDecode, FrontPanelAlternatesFrequencyAndMode) {
    const auto r = decodeAs("Ten Tec Fnt Pnl", bytes("41 00 1B EE 64 0D"), 1);
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
    EXPECT_EQ(decodeAs("Ten Tec Fnt Pnl", bytes("4D 33 0D"), 0).mode, "CW");
    EXPECT_EQ(decodeAs("Ten Tec Fnt Pnl", bytes("4D 31 0D"), 0).mode, "PH");
    EXPECT_FALSE(decodeAs("Ten Tec Fnt Pnl", bytes("4D 39 0D"), 0).mode);
    EXPECT_FALSE(decodeAs("Ten Tec Fnt Pnl", bytes("41 00 1B EE"), 1).frequencyMHz);
}

TEST(TenTecDecode, OrionTextReplies) {
    const auto r = decodeAs("Ten Tec Orion", "@AF1830500\r@RMM3\r");
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
    EXPECT_EQ(r.mode, "CW");
    EXPECT_EQ(decodeAs("Ten Tec Orion", "@RMM2\r").mode, "CW");
    EXPECT_EQ(decodeAs("Ten Tec Orion", "@RMM0\r").mode, "PH");
    EXPECT_FALSE(decodeAs("Ten Tec Orion", "@RMM").mode); // the mode digit has not come yet
    EXPECT_FALSE(decodeAs("Ten Tec Orion", "@AF18x0500\r").frequencyMHz);
    // Without its carriage return the frequency may not be complete yet.
    const auto part = decodeAs("Ten Tec Orion", "@AF18305");
    EXPECT_FALSE(part.frequencyMHz);
    EXPECT_EQ(part.status, DecodeStatus::NeedMore);
}

TEST(OtherDecode, NothingIsDecoded) {
    EXPECT_EQ(decodeAs("Other", "FA00001830500;").status, DecodeStatus::NoDecoder);
    EXPECT_FALSE(decodeAs("Other", "FA00001830500;").frequencyMHz);
}

// --- Read phase ---

TEST(ReplyBuffer, FloodIsCappedAndCounted) {
    ReplyBuffer buffer;
    const std::string chunk(700, 'F');
    buffer.append(chunk);
    buffer.append(chunk);
    EXPECT_EQ(buffer.bytes().size(), kMaxReplyBytes);
    EXPECT_EQ(buffer.droppedBytes(), 2 * chunk.size() - kMaxReplyBytes);
    buffer.clear();
    EXPECT_TRUE(buffer.empty());
    EXPECT_EQ(buffer.droppedBytes(), 0U);
}

TEST(ReplyDecoder, RepliesSplitAcrossReads) {
    PollState state;
    state.modeTurn = 1;
    const RigModel* icom = findRigModel("Icom");
    ReplyDecoder decoder(icom->decode, commandsOf("Icom"), state);
    const std::string reply = bytes("FE FE 64 E0 03 FD FE FE E0 64 03 00 05 83 01 00 FD");
    DecodeResult r;
    for (std::size_t i = 0; i < reply.size(); ++i) {
        r = decoder.feed(reply.substr(i, 1));
        if (i + 1 < reply.size()) {
            EXPECT_NE(r.status, DecodeStatus::Decoded) << i;
        }
    }
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
}

TEST(ReplyDecoder, RadioThatNeverStopsTalking) {
    ReplyDecoder decoder(findRigModel("Kenwood")->decode, commandsOf("Kenwood"), {});
    DecodeResult r;
    for (int i = 0; i < 10000; ++i) {
        r = decoder.feed("FA00007025000;MD3;");
    }
    EXPECT_EQ(decoder.buffer().bytes().size(), kMaxReplyBytes);
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 7.025F);
}

TEST(DecodeResult, UnsetValuesKeepTheLastOnes) {
    PollState state;
    state.frequencyMHz = 7.0F;
    state.mode = "CW";
    DecodeResult r;
    r.mode = "PH";
    r.applyTo(state);
    EXPECT_FLOAT_EQ(state.frequencyMHz, 7.0F);
    EXPECT_EQ(state.mode, "PH");
    EXPECT_EQ(state.kenwoodVfo, 10);
}

} // namespace
} // namespace corvane::rig
