#include "export/ExportActions.h"

#include "ExportTestData.h"
#include "TempDir.h"
#include "export/Adif.h"
#include "export/FakeDialogs.h"
#include "log/ContactLog.h"
#include "platform/Clock.h"
#include "platform/DurableFile.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

using namespace corvane;
using corvane::test::FakeDialogs;

namespace {

ContactLog oneContact() {
    ContactLog log;
    log.assign({corvane::test::k1abcContact()});
    return log;
}

} // namespace

TEST(ExportActions, AdifWithTheDefaultAnswersAndACancelledComment) {
    corvane::test::TempDir dir;
    FakeDialogs dialogs;
    const ManualClock clock(DateTime{2012, 12, 30, 10, 0, 0});
    const ContactLog log = oneContact();
    const std::string path = dir.file("export.adi");
    dialogs.inputAnswers = {QStringLiteral("100"), QString()}; // power typed, comment cancelled
    dialogs.saveAnswers = {QString::fromStdString(path)};
    ASSERT_TRUE(exportAdif(dialogs, clock, log, QStringLiteral("/data")));

    ASSERT_EQ(dialogs.proposedSavePaths.size(), 1u);
    EXPECT_EQ(dialogs.proposedSavePaths[0], QStringLiteral("/data/Corvane.adi"));
    AdifInput expected;
    expected.records = log.records();
    expected.power = "100";
    expected.exportDateText = exportDateText(clock).toStdString();
    EXPECT_FALSE(expected.exportDateText.empty());
    EXPECT_EQ(readWholeFile(path), buildAdif(expected));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("File Written Successfully."));
    EXPECT_EQ(dialogs.messages[0].text, QString::fromStdString(adifWrittenMessage(path)));
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST(ExportActions, AdifCancelledOrFailedWritesNothing) {
    corvane::test::TempDir dir;
    FakeDialogs dialogs;
    const ManualClock clock(DateTime{2012, 12, 30, 10, 0, 0});
    const ContactLog log = oneContact();
    EXPECT_FALSE(exportAdif(dialogs, clock, log, QString::fromStdString(dir.path().string())));
    EXPECT_TRUE(dialogs.messages.empty());

    dialogs.saveAnswers = {QString::fromStdString(dir.file("missing/x.adi"))};
    EXPECT_FALSE(exportAdif(dialogs, clock, log, QString::fromStdString(dir.path().string())));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Unable to write file."));
    EXPECT_EQ(dialogs.beeps, 1);
}

TEST(ExportActions, ClipboardGetsTheListOldestFirst) {
    copyListToClipboard(
        {QStringLiteral("Call"), QStringLiteral("Grid")},
        {{QStringLiteral("N2DEF"), QStringLiteral("FN32")}, {QStringLiteral("K1ABC"), QStringLiteral("FN31")}});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Call\tGrid\r\nK1ABC\tFN31\r\nN2DEF\tFN32\r\n"));
}
