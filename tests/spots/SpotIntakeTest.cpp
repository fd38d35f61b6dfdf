#include "spots/SpotIntake.h"

#include "spots/SpotText.h"
#include "spots/StatusText.h"
#include "spots/TelnetFilter.h"
#include "support/SpotLines.h"

#include <gtest/gtest.h>

using namespace corvane::spots;
using corvane::spots::testing::clusterLine;

namespace {

struct Intake {
    StatusText status;
    SpotIntake intake{status};
};

std::string filler(std::size_t characters) {
    std::string text;
    while (text.size() < characters) {
        text += "conversation text " + std::to_string(text.size()) + "\r\n";
    }
    return text;
}

} // namespace

TEST(StatusText, TrimsAboveTenThousandToTheLastNineThousand) {
    StatusText status;
    status.append(std::string(10000, 'a'));
    EXPECT_FALSE(status.trim());
    EXPECT_EQ(status.size(), 10000u);
    status.append("b");
    EXPECT_TRUE(status.trim());
    ASSERT_EQ(status.size(), 9000u);
    EXPECT_EQ(status.text().back(), 'b');
}

TEST(StatusText, UpdatesTellAppendedTextOrAWholeReplacement) {
    StatusText status;
    status.append("one ");
    status.append("two");
    StatusText::Update update = status.takeUpdate();
    EXPECT_FALSE(update.replaced);
    EXPECT_EQ(update.appended, "one two");
    EXPECT_TRUE(status.takeUpdate().empty());

    status.replace("help");
    status.append(" more");
    update = status.takeUpdate();
    EXPECT_TRUE(update.replaced);
    EXPECT_EQ(update.appended, "");
    EXPECT_EQ(status.text(), "help more");

    // A window far behind takes the whole text rather than an ever longer tail.
    status.append(std::string(kStatusTrimAbove + 1, 'x'));
    EXPECT_TRUE(status.takeUpdate().replaced);

    // The program's own messages start a line: after half a received line a break goes first,
    // after a whole line or one that begins with its own break, none.
    status.replace("DX de K1TT");
    status.appendOnNewLine("ERROR: Socket has been shut down.");
    status.appendOnNewLine("\r\n** Port Closed **");
    status.append("line\r\n");
    status.appendOnNewLine("next");
    EXPECT_EQ(status.text(), "DX de K1TT\r\nERROR: Socket has been shut down.\r\n** Port Closed **line\r\nnext");
}

TEST(StatusText, DuplicateWindowIsTheLast800CharactersIgnoringCase) {
    StatusText status;
    status.append("DX de K1ABC: 1822.0 W1AW\r\n");
    EXPECT_TRUE(status.isRecent("dx DE k1abc: 1822.0 w1aw\r\n"));
    status.append(std::string(801 - status.size(), '.'));
    EXPECT_TRUE(status.isRecent("DX de K1ABC"));
    status.append(".");
    EXPECT_FALSE(status.isRecent("DX de K1ABC"));
}

TEST(SpotIntakeTnc, ALineSplitInTheFrequencyGivesOneSpotWhenItsEndArrives) {
    Intake t;
    const std::string line = clusterLine("K1ABC", "1825.5", "W1AW") + "\r\n";
    EXPECT_TRUE(t.intake.tncReceived(line.substr(0, 20)).empty());
    const auto spots = t.intake.tncReceived(line.substr(20));
    ASSERT_EQ(spots.size(), 1u);
    EXPECT_EQ(spots[0].frequencyText, "1825.5");
    EXPECT_EQ(spots[0].call, "W1AW");
    EXPECT_EQ(spots[0].record, spotRecord(line));
    EXPECT_EQ(t.status.text(), line);
    EXPECT_EQ(t.intake.tncPending(), "\n");
    // Several lines in one read, each handled.
    const std::string two =
        clusterLine("K1ABC", "7025.0", "K2XX") + "\r\n" + clusterLine("N1XY", "14025.0", "K3YY") + "\r\n";
    EXPECT_EQ(t.intake.tncReceived(two).size(), 2u);
}

TEST(SpotIntakeTnc, ARepeatWithin800CharactersIsDroppedAndLaterTakenAgain) {
    Intake t;
    const std::string line = clusterLine("K1ABC", "1825.5", "W1AW") + "\r\n";
    EXPECT_EQ(t.intake.tncReceived(line).size(), 1u);
    EXPECT_EQ(t.intake.tncReceived(filler(300)).size(), 0u);
    EXPECT_EQ(t.intake.tncReceived(line).size(), 0u);
    EXPECT_EQ(t.status.text().find(line, 1), std::string::npos);
    t.intake.tncReceived(filler(1000));
    EXPECT_EQ(t.intake.tncReceived(line).size(), 1u);
}

TEST(SpotIntakeTnc, DxOnlyBoxHidesConversationButNeverSpots) {
    Intake t;
    t.intake.tncReceived("hello there\r\n");
    EXPECT_EQ(t.status.text(), "hello there\r\n");
    t.intake.setDxOnly(true);
    t.intake.tncReceived("more talk\r\n");
    EXPECT_EQ(t.status.text(), "hello there\r\n");
    const std::string line = clusterLine("K1ABC", "1825.5", "W1AW") + "\r\n";
    EXPECT_EQ(t.intake.tncReceived(line).size(), 1u);
    EXPECT_EQ(t.status.text(), "hello there\r\n" + line);
}

TEST(SpotIntakeTnc, TextWithoutLineEndIsCappedDroppedAndSaid) {
    Intake t;
    const std::string junk(5000, 'z');
    for (int i = 0; i < 10; ++i) {
        t.intake.tncReceived(junk);
        EXPECT_LE(t.intake.tncPending().size(), kMaxPendingChars + junk.size());
    }
    EXPECT_NE(t.status.text().find("without a line end were dropped"), std::string::npos);
    // The rest of the overlong line is skipped; the next line is read normally.
    const std::string line = clusterLine("K1ABC", "1825.5", "W1AW") + "\r\n";
    const auto spots = t.intake.tncReceived("zzz\r\n" + line);
    ASSERT_EQ(spots.size(), 1u);
    EXPECT_EQ(spots[0].call, "W1AW");
    EXPECT_EQ(t.status.text().find("zzz\r\n"), std::string::npos);
}

TEST(SpotIntakeTelnet, EverySpotLineOfAnArrivalCountsAndAllIsShown) {
    Intake t;
    const std::string a = clusterLine("K1ABC", "1825.5", "W1AW") + "\r\n";
    const std::string b = clusterLine("N1XY", "1830.0", "K2XX") + "\r\n";
    const auto spots = t.intake.telnetReceived(a + b);
    ASSERT_EQ(spots.size(), 2u);
    EXPECT_EQ(spots[0].call, "W1AW");
    EXPECT_EQ(spots[1].call, "K2XX");
    EXPECT_EQ(t.status.text(), a + b);
    // No duplicate test on this source: the same arrival again gives the spots again.
    EXPECT_EQ(t.intake.telnetReceived(a).size(), 1u);
}

TEST(SpotIntakeTelnet, SpotSplitOverArrivalsAndSpotAfterAPromptAreRead) {
    Intake t;
    const std::string line = clusterLine("K1ABC", "1825.5", "W1AW") + "\r\n";
    EXPECT_TRUE(t.intake.telnetReceived(line.substr(0, 30)).empty());
    auto spots = t.intake.telnetReceived(line.substr(30));
    ASSERT_EQ(spots.size(), 1u);
    EXPECT_EQ(spots[0].call, "W1AW");

    t.intake.telnetReceived("Please enter your call: ");
    EXPECT_TRUE(t.status.text().ends_with("call: "));
    spots = t.intake.telnetReceived("\x07\x07" + line);
    ASSERT_EQ(spots.size(), 1u);
    EXPECT_EQ(spots[0].frequencyText, "1825.5");
}

TEST(SpotIntakeTelnet, LinesEndedByACarriageReturnAloneAreRead) {
    Intake t;
    const std::string a = clusterLine("K1ABC", "1825.5", "W1AW");
    const std::string b = clusterLine("N1XY", "1830.0", "K2XX");
    EXPECT_EQ(t.intake.telnetReceived(a + "\r").size(), 1u);
    EXPECT_EQ(t.intake.telnetReceived(b + "\n\r" + a + "\n\r").size(), 2u);
    t.intake.setDxOnly(true);
    t.status.replace("");
    EXPECT_EQ(t.intake.telnetReceived(a + "\r").size(), 1u);
    EXPECT_EQ(t.status.text(), a + "\r\n");
}

TEST(SpotIntakeTelnet, DxOnlyShowsJustTheSpotLines) {
    Intake t;
    t.intake.setDxOnly(true);
    const std::string line = clusterLine("K1ABC", "1825.5", "W1AW") + "\r\n";
    EXPECT_EQ(t.intake.telnetReceived("chat line\r\n" + line + "WWV de VE7CC\r\n").size(), 1u);
    EXPECT_EQ(t.status.text(), line);
}

TEST(SpotIntakeTelnet, JunkWithoutLineEndsStaysBounded) {
    Intake t;
    std::string junk(1 << 20, '\0');
    for (std::size_t i = 0; i < junk.size(); ++i) {
        junk[i] = static_cast<char>((i * 7919) % 251);
    }
    for (int i = 0; i < 4; ++i) {
        t.intake.telnetReceived(junk);
        EXPECT_LE(t.status.size(), kStatusTrimAbove);
    }
    EXPECT_EQ(t.status.text().find('\0'), std::string::npos);
    const std::string line = clusterLine("K1ABC", "1825.5", "W1AW") + "\r\n";
    EXPECT_EQ(t.intake.telnetReceived("\r\n" + line).size(), 1u);
}

TEST(TelnetFilter, NegotiationIsRefusedSkippedAndNeverShown) {
    TelnetFilter filter;
    const std::string in = "Hi\xff\xfd\x01 there\xff\xfb\x03\xff\xfa\x18\x01\xff\xf0!\xff\xff\xff\xf1";
    const TelnetFilter::Result result = filter.feed(in);
    EXPECT_EQ(result.text, "Hi there!\xff");
    EXPECT_EQ(result.reply, "\xff\xfc\x01\xff\xfe\x03");

    // A command split across reads is completed by the next one.
    TelnetFilter split;
    EXPECT_EQ(split.feed("a\xff").text, "a");
    const TelnetFilter::Result rest = split.feed("\xfd\x18z");
    EXPECT_EQ(rest.text, "z");
    EXPECT_EQ(rest.reply, "\xff\xfc\x18");
    // A refusal from the node needs no answer.
    EXPECT_EQ(split.feed("\xff\xfc\x01\xff\xfe\x01ok").reply, "");
    // A subnegotiation that never ends hides only a bounded stretch of text.
    TelnetFilter garbled;
    const std::string text = garbled.feed("\xff\xfa" + std::string(kMaxSubnegotiation + 1, 'x') + "shown").text;
    EXPECT_EQ(text, "shown");
}

TEST(SpotIntakeAgw, MonitoredFrameLosesItsHeaderBeforeTheTests) {
    Intake t;
    const std::string spot = clusterLine("K1ABC", "1825.5", "W1AW");
    const std::string text = " 1:Fm K1ABC-1 To DX <UI pid=F0 Len=75 >[13:22:01]\r" + spot + "\r";
    auto spots = t.intake.agwFrameReceived("K1ABC-1", 'U', text, "");
    ASSERT_EQ(spots.size(), 1u);
    EXPECT_EQ(spots[0].call, "W1AW");
    EXPECT_EQ(spots[0].frequencyText, "1825.5");
    EXPECT_EQ(t.status.text(), spot + "\r\n");
    // The same frame again is a repeat.
    EXPECT_TRUE(t.intake.agwFrameReceived("K1ABC-1", 'U', text, "").empty());
    EXPECT_EQ(t.status.text(), spot + "\r\n");
}

TEST(SpotIntakeAgw, ConversationAndBeaconsShownByWhoSentThem) {
    Intake t;
    // Monitored traffic without a partner: shown with its kind and sender.
    t.intake.agwFrameReceived("N0CALL", 'U', " 1:Fm N0CALL To BEACON <UI>\rhello\r", "");
    EXPECT_EQ(t.status.text(), "UN0CALL  1:Fm N0CALL To BEACON <UI>\r\nhello\r\n");
    // Connected text from the partner is shown; from anyone else it is not.
    t.status.replace("");
    t.intake.agwFrameReceived("w1aw", 'D', "Hello OM\r\r", "W1AW");
    EXPECT_EQ(t.status.text(), "Hello OM\r\n");
    t.intake.agwFrameReceived("K9ZZ", 'D', "not for us\r", "W1AW");
    EXPECT_EQ(t.status.text(), "Hello OM\r\n");
    t.intake.setDxOnly(true);
    t.intake.agwFrameReceived("W1AW", 'D', "more talk\r", "W1AW");
    EXPECT_EQ(t.status.text(), "Hello OM\r\n");
}
