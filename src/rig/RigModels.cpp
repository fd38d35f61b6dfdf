#include "rig/RigModels.h"

#include "rig/Commands.h"
#include "rig/Decoders.h"
#include "rig/Pegasus.h"
#include "rig/Rigctld.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace corvane::rig {

namespace {

using namespace std::string_view_literals;

// The Pegasus link hands the contents of PEGASUS.OUT to the decoder as its reply.
DecodeResult decodePegasus(const RigCommands&, const PollState&, std::string_view fileBytes) {
    return decodePegasusOut(fileBytes);
}

constexpr LineDefaults kUnchanged{};
constexpr LineDefaults kLine4800{"4800"sv, '8', '2', 'N'};
constexpr LineDefaults kLine1200{"1200"sv, '8', '1', 'N'};
constexpr LineDefaults kLine56000{"56000"sv, '8', '1', 'N'};
constexpr LineDefaults kBaud4800Only{"4800"sv, std::nullopt, std::nullopt, std::nullopt};

constexpr std::string_view kYaesuWake = "\x00\x00\x00\x00\x00"sv;
constexpr std::string_view kYaesuSleep = "\x00\x00\x00\x00\x80"sv;

// A Yaesu binary-protocol row: woken at open, sent to sleep at exit.
constexpr RigModel yaesu(std::string_view name, std::string_view question, DecodeFn decode, FrequencyFn frequency,
                         ModeFn mode) {
    RigModel m{};
    m.name = name;
    m.line = kLine4800;
    m.frequencyCommand = question;
    m.convertToHex = true;
    m.openBytes = kYaesuWake;
    m.closeBytes = kYaesuSleep;
    m.question = questionYaesu;
    m.decode = decode;
    m.frequency = frequency;
    m.modeCommandFor = mode;
    return m;
}

constexpr RigModel row(std::string_view name, LineDefaults line, std::string_view frequencyCommand,
                       std::string_view modeCommand, bool hex, QuestionFn question, DecodeFn decode,
                       FrequencyFn frequency, ModeFn mode) {
    RigModel m{};
    m.name = name;
    m.line = line;
    m.frequencyCommand = frequencyCommand;
    m.modeCommand = modeCommand;
    m.convertToHex = hex;
    m.question = question;
    m.decode = decode;
    m.frequency = frequency;
    m.modeCommandFor = mode;
    return m;
}

constexpr RigModel withTransport(RigModel m, Transport transport) {
    m.transport = transport;
    return m;
}
constexpr RigModel withIcomNote(RigModel m) {
    m.icomNote = true;
    return m;
}
constexpr RigModel withHandshake(RigModel m, std::string_view openBytes = {}) {
    m.rtsCtsHandshake = true;
    m.openBytes = openBytes;
    return m;
}
constexpr RigModel withHexBox(RigModel m) {
    m.hexBoxEnabled = true;
    return m;
}

constexpr std::string_view kCivFrequency = "FE FE 64 E0 03 FD";
constexpr std::string_view kCivMode = "FE FE 64 E0 04 FD";
constexpr std::string_view kYaesuStatus = "00 00 00 02 10";

const std::array<RigModel, 20> kModels = {
    withTransport(row("None", kUnchanged, "", "", false, questionNothing, decodeNothing, frequencyNothing, modeNothing),
                  Transport::None),
    row("Elecraft", kLine4800, "FA;", "MD;", false, questionTextPair, decodeKenwood, frequencyElecraft, modeKenwood),
    withIcomNote(
        row("Icom", kLine1200, kCivFrequency, kCivMode, true, questionCiv, decodeIcom, frequencyIcom, modeIcom)),
    withIcomNote(row("Icom 735", kLine1200, kCivFrequency, kCivMode, true, questionCiv, decodeIcom735, frequencyIcom,
                     modeNothing)),
    row("Kenwood", kLine4800, "FA;", "MD;", false, questionTextPair, decodeKenwood, frequencyKenwood, modeKenwood),
    row("Kenwood 2", kLine4800, "IF;", "", false, questionTextPair, decodeKenwood2, frequencyKenwood2, modeKenwood),
    row("Ten Tec Omni VI", kLine1200, "FE FE 04 E0 03 FD", "FE FE 04 E0 04 FD", true, questionCiv, decodeIcom,
        frequencyOmniVI, modeIcom),
    withHandshake(
        row("Ten Tec Orion", kLine56000, "?AF", "?RMM", false, questionOrion, decodeOrion, frequencyOrion, modeNothing),
        "X\r"),
    withHandshake(row("Ten Tec Fnt Pnl", kLine56000, "3F 41 0D", "3F 4D 0D", true, questionTenTecFrontPanel,
                      decodeTenTecFrontPanel, frequencyTenTecFrontPanel, modeNothing)),
    withTransport(row("Ten Tec Pegasus", kUnchanged, "", "", false, questionNothing, decodePegasus, frequencyPegasus,
                      modeNothing),
                  Transport::PegasusFile),
    yaesu("Yaesu", "00 00 00 00 03", decodeYaesu, frequencyYaesu, modeYaesu),
    yaesu("Yaesu 757 GX II", "00 00 00 00 10", decodeYaesu757, frequencyYaesu890, modeYaesu890),
    yaesu("Yaesu 890", kYaesuStatus, decodeYaesu890, frequencyYaesu890, modeYaesu890),
    yaesu("Yaesu 920", kYaesuStatus, decodeYaesu920, frequencyYaesu890, modeYaesu890),
    yaesu("Yaesu 990", kYaesuStatus, decodeYaesu990, frequencyYaesu890, modeYaesu890),
    yaesu("Yaesu 1000 D", kYaesuStatus, decodeYaesu990, frequencyYaesu890, modeYaesu890),
    yaesu("Yaesu 1000", kYaesuStatus, decodeYaesu1000, frequencyYaesu1000, modeYaesu890),
    row("Yaesu FTdx9000", kBaud4800Only, "FA;", "MD0;", false, questionFtdx9000, decodeFtdx9000, frequencyFtdx9000,
        modeFtdx9000),
    withHexBox(row("Other", kUnchanged, "", "", false, questionOther, decodeNothing, frequencyNothing, modeNothing)),
    withTransport(
        row(kRigctldModel, kUnchanged, "", "", false, questionRigctld, decodeRigctld, frequencyRigctld, modeRigctld),
        Transport::Network),
};

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::span<const RigModel> rigModels() {
    return kModels;
}

const RigModel* findRigModel(std::string_view name) {
    for (const auto& model : kModels) {
        if (model.name == name) {
            return &model;
        }
    }
    return nullptr;
}

const RigModel* findRigModelNoCase(std::string_view name) {
    for (const auto& model : kModels) {
        if (equalNoCase(model.name, name)) {
            return &model;
        }
    }
    return nullptr;
}

} // namespace corvane::rig
