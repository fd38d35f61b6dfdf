// Questions and frequency and mode commands as the bytes that go out, with their pauses.
#include "RigTestBytes.h"
#include "bandplan/BandPlan.h"
#include "rig/Commands.h"
#include "rig/HexText.h"
#include "rig/Pegasus.h"
#include "rig/RigFrequency.h"
#include "rig/RigModels.h"

#include <gtest/gtest.h>

namespace corvane::rig {
namespace {

using test::bytes;

RigCommands commandsOf(std::string_view model) {
    const RigModel* row = findRigModel(model);
    return {std::string(row->frequencyCommand), std::string(row->modeCommand), row->convertToHex};
}

BuiltCommand tune(std::string_view model, float mhz, PollState state = {}) {
    return findRigModel(model)->frequency(commandsOf(model), state, mhz);
}

BuiltCommand mode(std::string_view model, std::string_view name) {
    return findRigModel(model)->modeCommandFor(commandsOf(model), name);
}

std::vector<int> pauses(std::initializer_list<int> list) {
    return list;
}

TEST(ModelTable, ListOrderAndDefaults) {
    const std::vector<std::string_view> expected = {
        "None",         "Elecraft",        "Icom",           "Icom 735",        "Kenwood",
        "Kenwood 2",    "Ten Tec Omni VI", "Ten Tec Orion",  "Ten Tec Fnt Pnl", "Ten Tec Pegasus",
        "Yaesu",        "Yaesu 757 GX II", "Yaesu 890",      "Yaesu 920",       "Yaesu 990",
        "Yaesu 1000 D", "Yaesu 1000",      "Yaesu FTdx9000", "Other",           "Hamlib (rigctld)"};
    const auto models = rigModels();
    ASSERT_EQ(models.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(models[i].name, expected[i]);
        EXPECT_NE(models[i].question, nullptr);
        EXPECT_NE(models[i].decode, nullptr);
        EXPECT_NE(models[i].frequency, nullptr);
        EXPECT_NE(models[i].modeCommandFor, nullptr);
    }
    EXPECT_TRUE(findRigModel("Kenwood 2")->modeCommand.empty());
    const auto& ftdx = findRigModel("Yaesu FTdx9000")->line;
    EXPECT_EQ(ftdx.baud, "4800");
    EXPECT_FALSE(ftdx.dataBits || ftdx.stopBits || ftdx.parity);
    EXPECT_TRUE(findRigModel("Other")->hexBoxEnabled);
    EXPECT_TRUE(findRigModel("Icom 735")->icomNote);
    EXPECT_EQ(findRigModelNoCase("kenWOOD")->name, "Kenwood");
    EXPECT_EQ(findRigModel("kenwood"), nullptr);
}

TEST(ModelTable, OpeningAndClosingBytes) {
    for (const auto& model : rigModels()) {
        const bool yaesuBinary = model.name.starts_with("Yaesu") && model.name != "Yaesu FTdx9000";
        EXPECT_EQ(model.openBytes == bytes("00 00 00 00 00"), yaesuBinary) << model.name;
        EXPECT_EQ(model.closeBytes == bytes("00 00 00 00 80"), yaesuBinary) << model.name;
    }
    EXPECT_EQ(findRigModel("Ten Tec Orion")->openBytes, "X\r");
    EXPECT_TRUE(findRigModel("Ten Tec Orion")->rtsCtsHandshake);
    EXPECT_TRUE(findRigModel("Ten Tec Fnt Pnl")->rtsCtsHandshake);
    EXPECT_FALSE(findRigModel("Kenwood")->rtsCtsHandshake);
}

TEST(Questions, TextAndHexPerFamily) {
    PollState state;
    EXPECT_EQ(questionTextPair(commandsOf("Kenwood"), state), "FA;MD;");
    EXPECT_EQ(questionTextPair(commandsOf("Kenwood 2"), state), "IF;");
    EXPECT_EQ(questionYaesu(commandsOf("Yaesu"), state), bytes("00 00 00 00 03"));
    EXPECT_EQ(questionOrion(commandsOf("Ten Tec Orion"), state), "?AF\r?RMM\r");
    EXPECT_EQ(questionYaesu({"00 00 00 00", "", true}, state), ""); // too short
}

TEST(Questions, CivAlternatesFrequencyAndMode) {
    PollState state;
    const auto commands = commandsOf("Icom");
    EXPECT_EQ(questionCiv(commands, state), bytes("FE FE 64 E0 03 FD"));
    EXPECT_EQ(state.modeTurn, 1);
    EXPECT_EQ(questionCiv(commands, state), bytes("FE FE 64 E0 04 FD"));
    EXPECT_EQ(state.modeTurn, 0);
    // A command too short sends nothing but the turn still moves on.
    RigCommands shortCommands{"FE FE 64 E0 03", "FE FE 64 E0 04 FD", true};
    EXPECT_EQ(questionCiv(shortCommands, state), "");
    EXPECT_EQ(state.modeTurn, 1);
}

TEST(Questions, Ftdx9000AndFrontPanelAlternate) {
    PollState state;
    EXPECT_EQ(questionFtdx9000(commandsOf("Yaesu FTdx9000"), state), "FA;");
    EXPECT_EQ(questionFtdx9000(commandsOf("Yaesu FTdx9000"), state), "MD0;");
    PollState panel;
    EXPECT_EQ(questionTenTecFrontPanel(commandsOf("Ten Tec Fnt Pnl"), panel), bytes("3F 41 0D"));
    EXPECT_EQ(questionTenTecFrontPanel(commandsOf("Ten Tec Fnt Pnl"), panel), bytes("3F 4D 0D"));
}

TEST(Questions, OtherSendsHexOrText) {
    PollState state;
    EXPECT_EQ(questionOther({"FE FE 64 E0 03 FD", "0D", true}, state), bytes("FE FE 64 E0 03 FD 0D"));
    EXPECT_EQ(questionOther({"FA;", "MD;", false}, state), "FA;MD;");
    EXPECT_EQ(questionOther({"FE ZZ", "", true}, state), ""); // not hex: nothing goes out
}

TEST(FrequencyCommands, TheBytesForOnePointEightThreeZeroFive) {
    struct Case {
        const char* model;
        std::string bytes;
        std::vector<int> pausesMs;
    };
    const std::vector<Case> cases = {
        {"Kenwood", "FA00001830500;", {205}},
        {"Elecraft", "FA00001830500;", {205, 1000}},
        {"Icom", bytes("FE FE 64 E0 05 00 05 83 01 00 FD"), {140}},
        {"Icom 735", bytes("FE FE 64 E0 05 00 05 83 01 00 FD"), {140}},
        {"Ten Tec Omni VI", bytes("FE FE 04 E0 05 00 05 83 01 00 FD"), {140, 220}},
        {"Ten Tec Fnt Pnl", bytes("2A 41 00 1B EE 64 0D"), {205}},
        {"Ten Tec Orion", "*AF1830500\r", {205}},
        {"Yaesu", bytes("00 18 30 50 01"), {205}},
        {"Yaesu 757 GX II", bytes("50 30 18 00 0A"), {205}},
        {"Yaesu 890", bytes("50 30 18 00 0A"), {205}},
        {"Yaesu 920", bytes("50 30 18 00 0A"), {205}},
        {"Yaesu 990", bytes("50 30 18 00 0A"), {205}},
        {"Yaesu 1000 D", bytes("50 30 18 00 0A"), {205}},
        {"Yaesu 1000", bytes("50 30 18 00 0A"), {10}},
        {"Yaesu FTdx9000", "FA01830500;", {205}},
    };
    for (const auto& c : cases) {
        const auto built = tune(c.model, 1.8305F);
        ASSERT_EQ(built.kind, BuiltCommand::Kind::Bytes) << c.model;
        EXPECT_EQ(hexDump(built.command.bytes), hexDump(c.bytes)) << c.model;
        EXPECT_EQ(built.command.pausesMs, c.pausesMs) << c.model;
    }
    EXPECT_EQ(tune("Other", 1.8305F).kind, BuiltCommand::Kind::None);
    EXPECT_EQ(tune("None", 1.8305F).kind, BuiltCommand::Kind::None);
}

TEST(FrequencyCommands, Kenwood2TunesVfoBAfterAnIfReplySaidSo) {
    PollState state;
    EXPECT_EQ(tune("Kenwood 2", 1.8305F, state).command.bytes, "FA00001830500;");
    state.kenwoodVfo = 1;
    EXPECT_EQ(tune("Kenwood 2", 1.8305F, state).command.bytes, "FB00001830500;");
}

TEST(FrequencyCommands, AddressComesFromTheFrequencyCommand) {
    PollState state;
    const auto built = frequencyIcom({"FE FE 5C E0 03 FD", "", true}, state, 14.025F);
    EXPECT_EQ(hexDump(built.command.bytes), hexDump(bytes("FE FE 5C E0 05 00 50 02 14 00 FD")));
    EXPECT_EQ(frequencyIcom({"FE FE", "", true}, state, 14.025F).kind, BuiltCommand::Kind::Error);
    EXPECT_EQ(frequencyIcom({"FE FE XY E0 03 FD", "", true}, state, 14.025F).kind, BuiltCommand::Kind::Error);
}

TEST(FrequencyCommands, RoundingAndRange) {
    EXPECT_EQ(frequencyHz(14.0255F), 14025500);
    EXPECT_EQ(frequencyTenHz(1.8305F), 183050);
    EXPECT_EQ(zeroPadded(183050, 8), "00183050");
    EXPECT_FALSE(zeroPadded(123456789, 8));
    EXPECT_FALSE(zeroPadded(-1, 8));
    // Past what the command's digits hold, or not a frequency at all: an error, never wrapped digits.
    EXPECT_EQ(tune("Yaesu FTdx9000", 1296.0F).kind, BuiltCommand::Kind::Error);
    EXPECT_EQ(tune("Yaesu", 2000.0F).kind, BuiltCommand::Kind::Error);
    EXPECT_EQ(tune("Kenwood", -1.0F).kind, BuiltCommand::Kind::Error);
    EXPECT_EQ(tune("Ten Tec Orion", 1e9F).kind, BuiltCommand::Kind::Error);
    EXPECT_EQ(tune("Ten Tec Orion", 7.0F).command.bytes, "*AF7000000\r"); // whole Hz, no decimals
    EXPECT_FALSE(tune("Kenwood", std::numeric_limits<float>::quiet_NaN()).error.empty());
}

TEST(FrequencyCommands, PegasusWritesTheExchangeFile) {
    PollState state;
    state.mode = "CW";
    const auto built = tune("Ten Tec Pegasus", 1.8305F, state);
    ASSERT_EQ(built.kind, BuiltCommand::Kind::PegasusFile);
    EXPECT_EQ(built.pegasusText, "1.8305\r\nCW\r\n");
    EXPECT_EQ(built.command.pausesMs, pauses({205}));
}

TEST(ModeCommands, PerFamily) {
    EXPECT_EQ(mode("Kenwood", "CW").command.bytes, "MD3;");
    EXPECT_EQ(mode("Elecraft", "FSK").command.bytes, "MD6;");
    EXPECT_EQ(mode("Kenwood 2", "FM").command.bytes, "MD4;");
    EXPECT_EQ(mode("Kenwood", "DIG").kind, BuiltCommand::Kind::None);
    EXPECT_EQ(mode("Icom", "LSB").command.bytes, bytes("FE FE 64 E0 06 00 FD"));
    EXPECT_EQ(mode("Ten Tec Omni VI", "RTTY-R").command.bytes, bytes("FE FE 04 E0 06 08 FD"));
    EXPECT_EQ(mode("Icom 735", "CW").kind, BuiltCommand::Kind::None);
    EXPECT_EQ(mode("Yaesu", "PKT").command.bytes, bytes("0C 00 00 00 07"));
    EXPECT_EQ(mode("Yaesu", "CW-R").kind, BuiltCommand::Kind::None);
    EXPECT_EQ(mode("Yaesu 990", "CW-R").command.bytes, bytes("00 00 00 03 0C"));
    EXPECT_EQ(mode("Yaesu 1000", "DIG").kind, BuiltCommand::Kind::None);
    EXPECT_EQ(mode("Yaesu FTdx9000", "CW-R").command.bytes, "MD07;");
    EXPECT_EQ(mode("Ten Tec Orion", "CW").kind, BuiltCommand::Kind::None);
    EXPECT_EQ(mode("Kenwood", "CW").command.pausesMs, pauses({kModeCommandPauseMs}));
}

TEST(ModeCommands, BandPlanPicksTheModeForTuning) {
    const auto plan = bandplan::parseExtraRows("\"2025-01-01\"\r\n"
                                               "\"160\",\"E\",\"CW\",1.8,2\r\n"
                                               "\"80\",\"E\",\"CW\",3.5,3.6\r\n"
                                               "\"80\",\"E\",\"PH\",3.6,4\r\n"
                                               "\"20\",\"E\",\"PH\",14.15,14.35\r\n");
    EXPECT_EQ(bandplan::modeFromBandPlan(plan.rows, 1.8305F), "");
    EXPECT_EQ(bandplan::modeFromBandPlan(plan.rows, 3.7F), "LSB");
    EXPECT_EQ(bandplan::modeFromBandPlan(plan.rows, 14.2F), "USB");
    EXPECT_EQ(bandplan::modeFromBandPlan(plan.rows, 3.55F), "CW");
    EXPECT_EQ(mode("Kenwood", bandplan::modeFromBandPlan(plan.rows, 3.7F)).command.bytes, "MD1;");
}

TEST(HexText, CommandTextToBytes) {
    EXPECT_EQ(hexTextToBytes("FE FE 64 E0 03 FD"), bytes("FE FE 64 E0 03 FD"));
    EXPECT_EQ(hexTextToBytes("fe fd"), bytes("FE FD"));
    EXPECT_EQ(hexTextToBytes("FE FE 64 E0 03 FD", 2), bytes("FE FE"));
    EXPECT_EQ(hexTextToBytes("0D 0"), bytes("0D 00"));
    EXPECT_FALSE(hexTextToBytes("FE G1"));
    EXPECT_EQ(hexTextToBytes("FE FD   "), bytes("FE FD"));
    EXPECT_FALSE(hexTextToBytes("FE  FD"));            // a blank group in the middle is not hex
    EXPECT_EQ(hexTextToBytes("FEFE"), bytes("FE 0E")); // groups stand at fixed positions
    EXPECT_EQ(hexDump(bytes("00 FD")), "00 FD ");
    EXPECT_EQ(hexDigits(bytes("0A 1b")), "0A1B");
}

TEST(RigFrequency, TextsAndModeByFrequency) {
    EXPECT_EQ(rigFrequencyText(1.8305F), "1.831");
    EXPECT_EQ(rigFrequencyText(0.0F), ".000");
    EXPECT_EQ(rigFrequencyText(144.2F), "144.200");
    EXPECT_EQ(frequencyDisplayText(1.8305F), "1.83050");
    EXPECT_EQ(frequencyDisplayText(0.5F), ".50000");
    EXPECT_EQ(modeByFrequency(1.83F, "PH"), "PH");
    EXPECT_EQ(modeByFrequency(3.55F, "PH"), "CW");
    EXPECT_EQ(modeByFrequency(3.6F, "XX"), "XX"); // both edges excluded
    EXPECT_EQ(modeByFrequency(14.2F, "CW"), "PH");
    EXPECT_EQ(modeByFrequency(146.0F, "CW"), "PH");
}

TEST(Pegasus, ReadsFrequencyAndMode) {
    auto r = decodePegasusOut("1.8305,\"CW\"\r\n");
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
    EXPECT_EQ(r.mode, "CW");
    EXPECT_EQ(decodePegasusOut("14.2\r\nUSB\r\n").mode, "PH");
    EXPECT_FALSE(decodePegasusOut("14.2\r\n").mode);
    EXPECT_FALSE(decodePegasusOut("abc,CW").frequencyMHz);
    EXPECT_FALSE(decodePegasusOut("").frequencyMHz);
}

} // namespace
} // namespace corvane::rig
