#pragma once
// What every rig decoder target checks, whatever the bytes: the decoder returns (no crash,
// no hang), its values are ones the link can keep, feeding the reply in two pieces gives the
// same result as feeding it whole, and the commands built from any frequency are sane.

#include "rig/Decoders.h"
#include "rig/RigModels.h"
#include "support/FuzzCheck.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

namespace corvane::fuzz {

inline bool sameResult(const rig::DecodeResult& a, const rig::DecodeResult& b) {
    return a.status == b.status && a.frequencyMHz == b.frequencyMHz && a.mode == b.mode &&
           a.kenwoodVfo == b.kenwoodVfo && a.error == b.error;
}

inline void checkResult(const rig::DecodeResult& r) {
    const bool any = r.frequencyMHz || r.mode || r.kenwoodVfo;
    FUZZ_CHECK(any == (r.status == rig::DecodeStatus::Decoded));
    if (r.frequencyMHz) {
        FUZZ_CHECK(std::isfinite(*r.frequencyMHz) && *r.frequencyMHz >= 0.0F);
    }
    if (r.mode) {
        FUZZ_CHECK(*r.mode == "CW" || *r.mode == "PH" || *r.mode == "AM" || *r.mode == "FM");
    }
    if (r.kenwoodVfo) {
        FUZZ_CHECK(*r.kenwoodVfo <= 9);
    }
}

inline void fuzzModels(const std::uint8_t* data, std::size_t size, std::initializer_list<const char*> names) {
    const std::string_view reply = textOf(data, size);
    for (const char* name : names) {
        const rig::RigModel* model = rig::findRigModel(name);
        FUZZ_CHECK(model != nullptr);
        const rig::RigCommands commands{std::string(model->frequencyCommand), std::string(model->modeCommand),
                                        model->convertToHex};
        for (int turn = 0; turn < 2; ++turn) {
            rig::PollState state;
            state.modeTurn = turn;
            const rig::DecodeResult whole = model->decode(commands, state, reply);
            checkResult(whole);
            rig::ReplyDecoder split(model->decode, commands, state);
            const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
            split.feed(reply.substr(0, cut));
            const rig::DecodeResult pieces = split.feed(reply.substr(cut));
            if (size <= rig::kMaxReplyBytes) {
                FUZZ_CHECK(sameResult(whole, pieces));
            }
            rig::PollState next = state;
            whole.applyTo(next);
            (void)model->question(commands, next);
        }
        // Commands for a frequency taken from the bytes, NaN and infinities included.
        if (size >= sizeof(float)) {
            float mhz = 0;
            std::memcpy(&mhz, data, sizeof mhz);
            const auto built = model->frequency(commands, {}, mhz);
            FUZZ_CHECK(built.kind != rig::BuiltCommand::Kind::Bytes || !built.command.bytes.empty());
            FUZZ_CHECK(built.command.bytes.size() < 64);
            (void)model->modeCommandFor(commands, reply.substr(sizeof(float), 8));
        }
    }
}

} // namespace corvane::fuzz
