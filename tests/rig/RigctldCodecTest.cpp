// The rigctld text protocol: extended and plain replies, errors and commands.
#include "rig/RigModels.h"
#include "rig/Rigctld.h"

#include <gtest/gtest.h>

namespace corvane::rig {
namespace {

DecodeResult decode(std::string_view reply) {
    return decodeRigctld({}, {}, reply);
}

TEST(RigctldCodec, ExtendedReplies) {
    const auto r = decode("get_freq:\nFrequency: 1830500\nRPRT 0\nget_mode:\nMode: CW\nPassband: 500\nRPRT 0\n");
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 1.8305F);
    EXPECT_EQ(r.mode, "CW");
    EXPECT_TRUE(r.error.empty());
    EXPECT_EQ(decode("get_mode:\nMode: USB\nPassband: 2400\nRPRT 0\n").mode, "PH");
    EXPECT_EQ(decode("get_mode:\nMode: WFM\nPassband: 0\nRPRT 0\n").mode, "FM");
    EXPECT_EQ(decode("get_mode:\nMode: CWR\nPassband: 0\nRPRT 0\n").mode, "CW");
}

TEST(RigctldCodec, PlainReplies) {
    const auto r = decode("145000000\nFM\n15000\n");
    ASSERT_TRUE(r.frequencyMHz);
    EXPECT_FLOAT_EQ(*r.frequencyMHz, 145.0F);
    EXPECT_EQ(r.mode, "FM");
    // The passband after the mode line is not a frequency.
    const auto modeOnly = decode("AM\n6000\n");
    EXPECT_EQ(modeOnly.mode, "AM");
    EXPECT_FALSE(modeOnly.frequencyMHz);
}

TEST(RigctldCodec, NegativeReportIsAnErrorText) {
    const auto r = decode("get_freq:\nRPRT -5\nget_mode:\nMode: CW\nPassband: 500\nRPRT 0\n");
    EXPECT_FALSE(r.frequencyMHz);
    EXPECT_EQ(r.mode, "CW");
    EXPECT_EQ(r.error, "rigctld: Communication timed out (RPRT -5)");
    EXPECT_EQ(decode("RPRT -99\n").error, "rigctld: Unknown error (RPRT -99)");
    EXPECT_EQ(decode("RPRT -2147483648\n").error, "rigctld: Unknown error (RPRT -2147483648)");
}

TEST(RigctldCodec, PartialLinesWaitAndGarbageIsIgnored) {
    EXPECT_EQ(decode("get_freq:\nFrequency: 18305").status, DecodeStatus::NeedMore);
    EXPECT_EQ(decode("\x01\x02\xFF\n").status, DecodeStatus::Garbage);
    EXPECT_FALSE(decode("Frequency: lots\n").frequencyMHz);
    EXPECT_FALSE(decode("Frequency: -5\n").frequencyMHz);
}

TEST(RigctldCodec, QuestionAndCommands) {
    const RigModel* model = findRigModel(kRigctldModel);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->transport, Transport::Network);
    EXPECT_EQ(&model[0], &rigModels().back());
    PollState state;
    EXPECT_EQ(model->question({}, state), "+f\n+m\n");
    const auto f = model->frequency({}, state, 1.8305F);
    EXPECT_EQ(f.command.bytes, "F 1830500\n");
    EXPECT_TRUE(f.command.pausesMs.empty());
    EXPECT_EQ(model->modeCommandFor({}, "CW").command.bytes, "M CW 0\n");
    EXPECT_EQ(model->modeCommandFor({}, "CW-R").command.bytes, "M CWR 0\n");
    EXPECT_EQ(model->modeCommandFor({}, "XYZ").kind, BuiltCommand::Kind::None);
    EXPECT_EQ(model->frequency({}, state, -1.0F).kind, BuiltCommand::Kind::Error);
}

} // namespace
} // namespace corvane::rig
