// The known-calls line of the main window, with the real start-up and a MASTER.SCP in the
// working folder or the per-user data folder.

#include "support/MainWindowFixture.h"

#include <QTextDocument>
#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr const char* kScp = "# test list\r\nK1ABC\r\nK1ABD\r\nVE3/K1ABC\r\nW1AW\r\nbad line\r\nK2XY\r\n";

QLabel* scpLine(MainWindowFixture& f) {
    return f.child<QLabel>("lblScp");
}

// What the line shows, without the markup.
QString shown(MainWindowFixture& f) {
    QTextDocument doc;
    doc.setHtml(scpLine(f)->text());
    return doc.toPlainText().trimmed();
}

void type(MainWindowFixture& f, const char* text) {
    f.call()->setFocus();
    QTest::keyClicks(f.call(), QString::fromLatin1(text));
}

} // namespace

TEST(ScpLine, ShowsKnownCallsFromTheSecondCharacterAndMarksLoggedOnes) {
    MainWindowFixture f;
    f.writeFile("MASTER.SCP", kScp);
    f.writeFile("log.txt",
                "\"K1ABD\",\"100\",\"FN31\",\"\",\"FN20\",\"2012/12/29\",\"18:00:00\",\"1\",\"CW\",\"\"\r\n");
    ASSERT_TRUE(f.start());
    ASSERT_NE(scpLine(f), nullptr);
    type(f, "k");
    QTest::qWait(50);
    EXPECT_EQ(shown(f), "");
    QTest::keyClicks(f.call(), QStringLiteral("1ab"));
    QTRY_COMPARE(shown(f), QStringLiteral("K1ABC K1ABD VE3/K1ABC"));
    // K1ABD is in the log: drawn apart from the others.
    EXPECT_TRUE(scpLine(f)->text().contains(QStringLiteral("<s>K1ABD</s>")));
    EXPECT_FALSE(scpLine(f)->text().contains(QStringLiteral("<s>K1ABC</s>")));
    EXPECT_TRUE(scpLine(f)->toolTip().contains(QStringLiteral("5 calls, 1 damaged lines skipped")));

    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(f.call(), Qt::Key_Backspace);
    }
    EXPECT_EQ(f.call()->text(), QStringLiteral("K"));
    EXPECT_EQ(shown(f), "");
    f.call()->clear();
    type(f, "AW");
    EXPECT_EQ(shown(f), "W1AW");
}

TEST(ScpLine, ACallLoggedNowIsMarkedAtOnce) {
    MainWindowFixture f;
    f.writeFile("MASTER.SCP", kScp);
    ASSERT_TRUE(f.start());
    type(f, "K2XY");
    QTRY_COMPARE(shown(f), QStringLiteral("K2XY"));
    EXPECT_FALSE(scpLine(f)->text().contains(QStringLiteral("<s>")));
    f.grid()->setText(QStringLiteral("FN31"));
    QTest::keyClick(f.grid(), Qt::Key_Return);
    ASSERT_EQ(f.window->findChild<QLineEdit*>(QStringLiteral("txtCall"))->text(), QString());
    type(f, "K2X");
    EXPECT_TRUE(scpLine(f)->text().contains(QStringLiteral("<s>K2XY</s>")));
}

TEST(ScpLine, ThePerUserDataFolderIsTheSecondPlaceLooked) {
    MainWindowFixture f;
    std::filesystem::create_directories(f.folders.userDataFolder);
    replaceAtomically(f.folders.userDataFolder + "/MASTER.SCP", "W1AW\r\n");
    ASSERT_TRUE(f.start());
    type(f, "W1");
    QTRY_COMPARE(shown(f), QStringLiteral("W1AW"));
}

TEST(ScpLine, WithoutTheFileTheLineStaysEmptyAndNothingIsSaid) {
    MainWindowFixture f;
    ASSERT_TRUE(f.start());
    const auto boxes = f.dialogs.shown.size();
    type(f, "K1AB");
    QTest::qWait(50);
    EXPECT_EQ(shown(f), "");
    EXPECT_EQ(f.dialogs.shown.size(), boxes);
}
