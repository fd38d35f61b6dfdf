#include "log/LogFile.h"
#include "log/station/Preferences.h"
#include "support/MainWindowFixture.h"
#include "ui/Announcer.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

void typeInto(QWidget* w, const QString& text) {
    QTest::keyClicks(w, text);
}
void press(QWidget* w, Qt::Key key) {
    QTest::keyClick(w, key);
}

std::string line(const std::string& call, const std::string& km, const std::string& gridR, const std::string& gridS,
                 const std::string& date, const std::string& time, const std::string& points,
                 const std::string& frequency = "") {
    QsoRecord r{call, km, gridR, "", gridS, date, time, points, "CW", frequency};
    return formatLogLine(r);
}

} // namespace

TEST(MainWindow, TypedContactIsAppendedByteForByte) {
    // Local 18:15:02 with the station five hours behind UTC.
    MainWindowFixture f(DateTime{2012, 12, 29, 18, 15, 2}, 5.0);
    ASSERT_TRUE(f.start({QStringLiteral("W1XYZ"), QStringLiteral("FN20"), QStringLiteral("5"), 2}));
    EXPECT_EQ(f.window->windowTitle(), QStringLiteral("Varkel's Corvane Contest Log 1.2"));
    EXPECT_EQ(f.labelText("Label2"), QStringLiteral("W1XYZ"));

    typeInto(f.call(), QStringLiteral("k1abc"));
    EXPECT_EQ(f.call()->text(), QStringLiteral("K1ABC"));
    press(f.call(), Qt::Key_Space);
    EXPECT_TRUE(f.grid()->hasFocus());
    typeInto(f.grid(), QStringLiteral("fn31"));
    EXPECT_EQ(f.grid()->text(), QStringLiteral("FN31"));
    EXPECT_EQ(f.labelText("Label5"), QStringLiteral("1"));
    f.window->setRigFrequencyText("1830.000");
    press(f.grid(), Qt::Key_Return);

    const std::string first = line("K1ABC", "202", "FN31", "FN20", "2012/12/29", "23:15:02", "1", "1830.000");
    EXPECT_EQ(f.readFile("log.txt"), first);
    EXPECT_TRUE(f.call()->text().isEmpty());
    EXPECT_TRUE(f.call()->hasFocus());
    EXPECT_TRUE(f.window->timeOnRunning()) << "the first contact starts the Time On clock";

    // The next contact has no frequency: the handed-over one is used once.
    f.clock.advanceSeconds(60);
    typeInto(f.call(), QStringLiteral("w9zz"));
    press(f.call(), Qt::Key_Space);
    typeInto(f.grid(), QStringLiteral("en52"));
    press(f.grid(), Qt::Key_Return);
    const std::string all = f.readFile("log.txt");
    ASSERT_EQ(f.window->log().qsoCount(), 2);
    EXPECT_EQ(all.substr(first.size()), formatLogLine(f.window->log().record(2)));
    EXPECT_EQ(f.window->log().record(2).frequency, "");
    EXPECT_EQ(f.window->log().record(2).qsoTime, "23:16:02");
}

TEST(MainWindow, IncompleteEntriesAreRefusedWithTheirMessages) {
    MainWindowFixture f;
    ASSERT_TRUE(f.start());
    const int beepsBefore = f.dialogs.beeps;
    press(f.call(), Qt::Key_Return);
    EXPECT_EQ(f.dialogs.beeps - beepsBefore, 2);
    EXPECT_EQ(f.labelText("lblDialog"), QStringLiteral("Need Call Sign!"));
    EXPECT_TRUE(f.call()->hasFocus());

    typeInto(f.call(), QStringLiteral("k1"));
    press(f.call(), Qt::Key_Space);
    typeInto(f.grid(), QStringLiteral("fn31"));
    press(f.grid(), Qt::Key_Return);
    EXPECT_EQ(f.labelText("lblDialog"), QStringLiteral("Need Call Sign!"));
    EXPECT_TRUE(f.call()->hasFocus());

    f.call()->setText(QStringLiteral("K1ABC"));
    f.grid()->clear();
    press(f.call(), Qt::Key_Return);
    EXPECT_EQ(f.labelText("lblDialog"), QStringLiteral("Need Grid!"));
    EXPECT_TRUE(f.grid()->hasFocus());
    EXPECT_EQ(f.readFile("log.txt"), "");
}

TEST(MainWindow, DoubleQuotesNeverReachTheFields) {
    MainWindowFixture f;
    ASSERT_TRUE(f.start());
    typeInto(f.call(), QStringLiteral("k1\"ab\"c"));
    EXPECT_EQ(f.call()->text(), QStringLiteral("K1ABC"));
    f.grid()->setFocus();
    typeInto(f.grid(), QStringLiteral("f\"n31"));
    EXPECT_EQ(f.grid()->text(), QStringLiteral("FN31"));
    // Pasted text obeys the same rule.
    f.call()->clear();
    f.call()->setFocus();
    f.call()->insert(QStringLiteral("w\"1x"));
    emit f.call()->textEdited(f.call()->text());
    EXPECT_EQ(f.call()->text(), QStringLiteral("W1X"));
}

TEST(MainWindow, PostContestModeLogsTypedTimesAndDates) {
    MainWindowFixture f;
    ASSERT_TRUE(f.start());
    f.window->findChild<QAction*>(QStringLiteral("mnuPostContest"))->trigger();
    auto* time = f.child<QLineEdit>("txtPostConTime");
    auto* date = f.child<QLineEdit>("txtPostConDate");
    ASSERT_TRUE(time->isVisible());

    typeInto(f.call(), QStringLiteral("k1abc"));
    press(f.call(), Qt::Key_Space);
    typeInto(f.grid(), QStringLiteral("fn31"));
    press(f.grid(), Qt::Key_Space);
    EXPECT_TRUE(time->hasFocus());
    typeInto(time, QStringLiteral("25a:00"));
    EXPECT_EQ(time->text(), QStringLiteral("25:00")) << "only digits and the colon are taken";
    press(time, Qt::Key_Space);
    EXPECT_TRUE(date->hasFocus());
    EXPECT_EQ(date->text(), QStringLiteral("2012/12/29")) << "an empty date starts as today's local date";
    date->setText(QStringLiteral("2012/12/28"));
    press(date, Qt::Key_Return);
    EXPECT_EQ(f.labelText("lblDialog"), QStringLiteral("Invalid time format!"));
    EXPECT_EQ(time->text(), QStringLiteral("25:00"));
    EXPECT_EQ(f.readFile("log.txt"), "");

    time->setText(QStringLiteral("2315"));
    press(date, Qt::Key_Return);
    EXPECT_EQ(f.readFile("log.txt"), line("K1ABC", "202", "FN31", "FN20", "2012/12/28", "23:15", "1"));
    EXPECT_EQ(time->text(), QStringLiteral("23:15")) << "the typed time stays for the next contact";

    typeInto(f.call(), QStringLiteral("k2abc"));
    f.grid()->setText(QStringLiteral("FN42"));
    date->setText(QStringLiteral("2012/13/01"));
    press(f.grid(), Qt::Key_Return);
    EXPECT_EQ(f.labelText("lblDialog"), QStringLiteral("Invalid date format!"));
    EXPECT_EQ(f.window->log().qsoCount(), 1);

    // Leaving the mode with the caret in the date field: the next letters go into the call.
    date->setFocus();
    ASSERT_TRUE(date->hasFocus());
    f.window->findChild<QAction*>(QStringLiteral("mnuPostContest"))->trigger();
    EXPECT_FALSE(date->isVisible());
    f.call()->clear();
    typeInto(QApplication::focusWidget(), QStringLiteral("w1aw"));
    EXPECT_EQ(f.call()->text(), QStringLiteral("W1AW"));
}

TEST(MainWindow, ClocksAndTimeOn) {
    MainWindowFixture f(DateTime{2012, 12, 29, 21, 30, 0}, 5.0);
    ASSERT_TRUE(f.start({QStringLiteral("W1XYZ"), QStringLiteral("FN20"), QStringLiteral("5"), 2}));
    f.window->clockTick();
    EXPECT_EQ(f.labelText("lblutctime"), QStringLiteral("02:30:00"));
    EXPECT_EQ(f.labelText("lblCurTime"), QStringLiteral("9:30:00"));
    EXPECT_EQ(f.labelText("lblttrack"), QStringLiteral("00:00:00"));

    auto* logOn = f.child<QPushButton>("cmdLogOn");
    EXPECT_EQ(logOn->text(), QStringLiteral("&Log \"Time On\""));
    logOn->click();
    EXPECT_EQ(logOn->text(), QStringLiteral("&Log \"Time Off\""));
    f.clock.advanceSeconds(3723);
    f.window->clockTick();
    EXPECT_EQ(f.labelText("lblttrack"), QStringLiteral("01:02:03"));
    logOn->click();
    EXPECT_TRUE(f.labelText("lblDialog").startsWith(QStringLiteral("Logged Off at ")));
    EXPECT_TRUE(f.labelText("lblDialog").endsWith(QStringLiteral(" 03:32:03")));
    const auto prefs = parsePreferences(f.readFile("cvnpref.txt"));
    ASSERT_TRUE(prefs.ok);
    EXPECT_EQ(prefs.prefs.timeOnAccumulatedSeconds, 3723.0f);

    // The next period adds to the total.
    f.clock.advanceSeconds(500);
    logOn->click();
    f.clock.advanceSeconds(10);
    f.window->clockTick();
    EXPECT_EQ(f.labelText("lblttrack"), QStringLiteral("01:02:13"));
}

TEST(MainWindow, StartUpStopsAtAMissingSettingsFile) {
    struct Case {
        const char* missing;
        bool fails;
    } cases[] = {{"cvnpref.txt", true}, {"wave2.txt", true}, {"cw.txt", false}};
    for (const auto& c : cases) {
        MainWindowFixture f;
        std::filesystem::remove(f.file(c.missing));
        EXPECT_EQ(f.start(), !c.fails) << c.missing;
        EXPECT_EQ(f.dialogs.wasShown(QStringLiteral("Error opening default data.")), c.fails) << c.missing;
        EXPECT_TRUE(f.exitCodes.empty());
    }
}

// The message names the file and line that failed, below the usual text.
TEST(MainWindow, StartUpFailureSaysWhichFileAndLine) {
    struct Case {
        const char* file;
        std::string bytes; // empty: the file is a folder, which cannot be read
        const char* detail;
    } cases[] = {
        {"cvnpref.txt", "\"W1XYZ\"\r\n\"FN20\"\r\n0\r\n", "cvnpref.txt, line 4: "},
        {"wave2.txt", "\"a.wav\"\r\n\"b.wav\"\r\n", "wave2.txt, line 3: "},
        {"wave2.txt", "", "wave2.txt: not a regular file (it is a folder)"},
    };
    for (const auto& c : cases) {
        MainWindowFixture f;
        if (c.bytes.empty()) {
            std::filesystem::remove(f.file(c.file));
            std::filesystem::create_directory(f.file(c.file));
        } else {
            f.writeFile(c.file, c.bytes);
        }
        EXPECT_FALSE(f.start());
        QString text;
        for (const auto& box : f.dialogs.shown) {
            if (box.title == QStringLiteral("Error opening default data.")) {
                text = box.text;
            }
        }
        EXPECT_TRUE(text.startsWith(QStringLiteral("Error loading default data .  Check to make sure cvnpref.txt is in "
                                                   "your working directory.\r\n\r\n")));
        EXPECT_NE(text.indexOf(QString::fromLatin1(c.detail)), -1) << text.toStdString();
    }
}

// A damaged cvnpref.txt leaves no own call or grid: nothing is logged (or scored from an empty
// grid) until the station window has them.
TEST(MainWindow, NoContactIsLoggedWithoutTheOwnStation) {
    MainWindowFixture f;
    f.writeFile("cvnpref.txt", "\"W1XYZ\"\r\n\"FN20\"\r\n0\r\n");
    EXPECT_FALSE(f.start());
    EXPECT_FALSE(f.window->findChild<QWidget*>(QStringLiteral("frmStationID")));
    typeInto(f.call(), QStringLiteral("k5new"));
    f.grid()->setText(QStringLiteral("FN31"));
    EXPECT_EQ(f.labelText("Label24"), QString());
    EXPECT_EQ(f.labelText("Label5"), QString());
    f.answerStation(StationAnswer{});
    press(f.grid(), Qt::Key_Return);
    EXPECT_TRUE(f.dialogs.wasShown(QStringLiteral("Station Not Set")));
    EXPECT_EQ(f.readFile("log.txt"), "");
    EXPECT_EQ(f.call()->text(), QStringLiteral("K5NEW"));
    // The station window opens once the box is closed, and then the contact goes in.
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.labelText("Label24") == QStringLiteral("202"); }, 5000));
    press(f.grid(), Qt::Key_Return);
    const std::string logged = "\"K5NEW\",\"202\",\"FN31\",\"\",\"FN20\",\"2012/12/29\",";
    EXPECT_EQ(f.readFile("log.txt").substr(0, logged.size()), logged);
    EXPECT_EQ(f.window->log().totalPoints(), 1.0f);
    // The damaged file is still not written over.
    EXPECT_EQ(f.readFile("cvnpref.txt"), "\"W1XYZ\"\r\n\"FN20\"\r\n0\r\n");
}

TEST(MainWindow, DamagedLogEndsTheProgramWithoutTouchingTheFile) {
    MainWindowFixture f;
    const std::string damaged =
        line("K1ABC", "202", "FN31", "FN20", "2012/12/29", "23:15:02", "1") + "\"K2\",\"1\"\r\n";
    f.writeFile("log.txt", damaged);
    EXPECT_FALSE(f.start());
    EXPECT_TRUE(f.dialogs.wasShown(QStringLiteral("File Error")));
    ASSERT_FALSE(f.exitCodes.empty());
    EXPECT_EQ(f.exitCodes.front(), 1);
    EXPECT_EQ(f.readFile("log.txt"), damaged);
}

TEST(MainWindow, ALogThatCannotBeReadSaysWhy) {
    MainWindowFixture f;
    std::filesystem::remove(f.file("log.txt"));
    std::filesystem::create_directory(f.file("log.txt"));
    EXPECT_FALSE(f.start());
    ASSERT_TRUE(f.dialogs.wasShown(QStringLiteral("File Error")));
    const QString text = f.dialogs.shown.back().text;
    EXPECT_NE(text.indexOf(QStringLiteral("log.txt: the file cannot be read: not a regular file (it is a folder).")),
              -1)
        << text.toStdString();
    EXPECT_EQ(text.indexOf(QStringLiteral("quote")), -1);
    ASSERT_FALSE(f.exitCodes.empty());
    EXPECT_EQ(f.exitCodes.front(), 1);
}

TEST(MainWindow, FailedAppendKeepsTheEntryAndMemory) {
    MainWindowFixture f;
    ASSERT_TRUE(f.start());
    // The log now lives on a full disk.
    std::filesystem::remove(f.file("log.txt"));
    std::filesystem::create_symlink("/dev/full", f.file("log.txt"));
    typeInto(f.call(), QStringLiteral("k1abc"));
    f.grid()->setText(QStringLiteral("FN31"));
    press(f.grid(), Qt::Key_Return);
    ASSERT_TRUE(f.dialogs.wasShown(QStringLiteral("Contact Not Logged")));
    EXPECT_NE(f.dialogs.shown.back().text.indexOf(QStringLiteral("log.txt")), -1);
    EXPECT_EQ(f.window->log().qsoCount(), 0);
    EXPECT_EQ(f.call()->text(), QStringLiteral("K1ABC"));
    EXPECT_EQ(f.grid()->text(), QStringLiteral("FN31"));
    EXPECT_FALSE(f.window->timeOnRunning());
}

TEST(MainWindow, TheContactAfterTheCapacityIsRefused) {
    MainWindowFixture f;
    std::vector<QsoRecord> records;
    for (int i = 0; i < ContactLog::kCapacity; ++i) {
        records.push_back(
            {"K" + std::to_string(i), "202", "FN31", "", "FN20", "2012/12/29", "20:00:00", "1", "CW", ""});
    }
    const std::string full = formatLog(records);
    f.writeFile("log.txt", full);
    ASSERT_TRUE(f.start());
    typeInto(f.call(), QStringLiteral("w1new"));
    f.grid()->setText(QStringLiteral("FN31"));
    press(f.grid(), Qt::Key_Return);
    EXPECT_TRUE(f.dialogs.wasShown(QStringLiteral("Log Full")));
    EXPECT_EQ(f.readFile("log.txt").size(), full.size());
    EXPECT_EQ(f.call()->text(), QStringLiteral("W1NEW"));
}

TEST(MainWindow, AnsweringNoStartsANewLogOnlyAfterYes) {
    MainWindowFixture f;
    const std::string existing = line("K1ABC", "202", "FN31", "FN20", "2012/12/29", "23:15:02", "1");
    f.writeFile("log.txt", existing);
    f.dialogs.inputAnswers.push_back(QStringLiteral("ye"));
    ASSERT_TRUE(f.start({}, MsgAnswer::No));
    EXPECT_EQ(f.readFile("log.txt"), existing);
    EXPECT_EQ(f.window->log().qsoCount(), 1);

    MainWindowFixture g;
    g.writeFile("log.txt", existing);
    g.dialogs.inputAnswers.push_back(QStringLiteral("yes"));
    ASSERT_TRUE(g.start({}, MsgAnswer::No));
    EXPECT_EQ(g.readFile("log.txt"), "");
    EXPECT_EQ(g.window->log().qsoCount(), 0);
    EXPECT_TRUE(g.dialogs.wasShown(QStringLiteral("WARNING - Your existing log file will be ERASED!")));
}

TEST(MainWindow, UtcOffsetCheckOffersTheClocksOffset) {
    // The clock says UTC is local + 5; the stored offset is 0.
    MainWindowFixture f(DateTime{2012, 12, 29, 18, 0, 0}, 5.0);
    f.dialogs.inputAnswers.push_back(QStringLiteral("5"));
    ASSERT_TRUE(f.start());
    ASSERT_GE(f.dialogs.shown.size(), 1u);
    const ShownBox& box = f.dialogs.shown.front();
    EXPECT_EQ(box.title, QStringLiteral("Update the Local Time / UTC Offset?"));
    EXPECT_EQ(box.defaultAnswer, QStringLiteral("5"));
    EXPECT_TRUE(box.text.contains(QStringLiteral("Current System Time: 23:00\r\n")));
    EXPECT_EQ(f.window->preferences().utcOffsetHours, 5.0f);

    MainWindowFixture g(DateTime{2012, 12, 29, 18, 0, 0}, 0.0);
    ASSERT_TRUE(g.start());
    EXPECT_FALSE(g.dialogs.wasShown(QStringLiteral("Update the Local Time / UTC Offset?")));
}

TEST(MainWindow, FormSizeAndTaskbarAnswers) {
    MainWindowFixture f;
    ASSERT_TRUE(f.start());
    auto* formSize = f.window->findChild<QAction*>(QStringLiteral("mnuFormSize"));
    auto* taskbar = f.window->findChild<QAction*>(QStringLiteral("mnuTaskbar"));
    struct Case {
        const char* answer;
        int stored;
    } cases[] = {{"120", 100}, {"10", 30}, {"87.5", 88}, {"90", 90}};
    for (const auto& c : cases) {
        f.dialogs.inputAnswers.push_back(QString::fromLatin1(c.answer));
        formSize->trigger();
        EXPECT_EQ(f.window->preferences().formSizePercent, c.stored) << c.answer;
        EXPECT_EQ(parsePreferences(f.readFile("cvnpref.txt")).prefs.formSizePercent, c.stored);
    }
    f.dialogs.inputAnswers.push_back(QStringLiteral("abc"));
    formSize->trigger();
    EXPECT_EQ(f.dialogs.shown.back().text, QStringLiteral("Please enter only numeric values."));
    EXPECT_EQ(f.window->preferences().formSizePercent, 90);

    taskbar->trigger();
    EXPECT_EQ(f.dialogs.shown.back().title, QStringLiteral("Please set your form size to 100% to use this option."));
    EXPECT_EQ(f.window->preferences().taskbar, 0);
}

TEST(MainWindow, StationSetupSavesPreferencesAndSharedDocument) {
    MainWindowFixture f;
    ASSERT_TRUE(f.start({QStringLiteral("W1XYZ"), QStringLiteral("FN20"), QStringLiteral("5.5"), 3}));
    const auto prefs = parsePreferences(f.readFile("cvnpref.txt"));
    ASSERT_TRUE(prefs.ok);
    EXPECT_EQ(prefs.prefs.ownCall, "W1XYZ");
    EXPECT_EQ(prefs.prefs.ownGrid, "FN20");
    EXPECT_EQ(prefs.prefs.utcOffsetHours, 5.5f);
    EXPECT_EQ(prefs.prefs.powerCategory, 3);
    EXPECT_EQ(prefs.prefs.ownLatitude, 40.0);
    EXPECT_EQ(prefs.prefs.ownLongitude, 76.0);
    EXPECT_EQ(f.readFile("docs/Shared/SharedUserPreferences.xml"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<OWN_CALL>W1XYZ</OWN_CALL>\r\n<OWN_GRID>FN20</OWN_GRID>"
              "\r\n<OWN_UTC>5.5</OWN_UTC>\r\n");

    // A wrong grid length is reported and accepted; an emptied offset keeps the old one.
    f.answerStation({QStringLiteral("W1XYZ"), QStringLiteral("FN2"), QStringLiteral(""), 0});
    f.window->stationSetup();
    EXPECT_TRUE(f.dialogs.wasShown(QStringLiteral("Please Enter a Grid Square!")));
    EXPECT_EQ(f.window->preferences().ownGrid, "FN2");
    EXPECT_EQ(f.window->preferences().utcOffsetHours, 5.5f);
}

TEST(MainWindow, ExitKeepsTheOperatingTimeAndTakesNoBackup) {
    MainWindowFixture f;
    f.writeFile("log.txt", line("K1ABC", "202", "FN31", "FN20", "2012/12/29", "23:15:02", "1"));
    ASSERT_TRUE(f.start());
    typeInto(f.call(), QStringLiteral("k2abc"));
    f.grid()->setText(QStringLiteral("FN31"));
    press(f.grid(), Qt::Key_Return);
    f.clock.advanceSeconds(90);
    f.window->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    ASSERT_EQ(f.exitCodes, std::vector<int>{0});
    EXPECT_EQ(parsePreferences(f.readFile("cvnpref.txt")).prefs.timeOnAccumulatedSeconds, 90.0f);
    EXPECT_TRUE(std::filesystem::is_empty(f.folders.backupFolder()));

    // Closing the window instead backs the changed log up.
    f.window->close();
    ASSERT_EQ(std::distance(std::filesystem::directory_iterator(f.folders.backupFolder()), {}), 1);
    const auto backup = std::filesystem::directory_iterator(f.folders.backupFolder())->path();
    EXPECT_EQ(backup.filename().string(), "201212291816.log");
    EXPECT_EQ(*readWholeFile(backup.string()), f.readFile("log.txt"));
}

TEST(MainWindow, HelpShowsTheHelpFile) {
    MainWindowFixture f;
    ASSERT_TRUE(f.start());
    QTimer::singleShot(0, [] {
        QWidget* help = QApplication::activeModalWidget();
        ASSERT_TRUE(help);
        EXPECT_EQ(help->windowTitle(), QStringLiteral("Help Page"));
        auto* text = help->findChild<QWidget*>(QStringLiteral("txtHelp"));
        ASSERT_TRUE(text);
        EXPECT_TRUE(text->property("plainText").toString().contains(QStringLiteral("CORVANE")));
        help->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
    });
    f.window->findChild<QAction*>(QStringLiteral("mnuHelp"))->trigger();
}

TEST(MainWindow, DuplicateIsRefusedAndTheNextKeysWaitInOrder) {
    MainWindowFixture f;
    f.writeFile("log.txt", line("K1ABC", "202", "FN31", "FN20", "2012/12/29", "23:15:02", "1"));
    ASSERT_TRUE(f.start());
    typeInto(f.call(), QStringLiteral("k1abc"));
    const int beeps = f.dialogs.beeps;
    press(f.call(), Qt::Key_Space);
    EXPECT_EQ(f.labelText("lblDialog"), QStringLiteral("Duplicate K1ABC 2012/12/29 23:15:02 ON 1  Rec# 1"));
    // Spoken by a screen reader at once, wherever the keyboard is.
    EXPECT_EQ(f.child<Announcer>("announcer")->lastAnnouncement(),
              QStringLiteral("Duplicate K1ABC 2012/12/29 23:15:02 ON 1  Rec# 1"));
    EXPECT_EQ(f.child<QLabel>("lblDialog")->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(f.dialogs.beeps, beeps + 1);
    EXPECT_TRUE(f.call()->text().isEmpty());
    EXPECT_TRUE(f.grid()->text().isEmpty());
    EXPECT_TRUE(f.call()->hasFocus());

    // Keys typed within the three seconds are held, then typed in order; the window
    // keeps running meanwhile.
    f.clock.advanceMs(2800);
    typeInto(f.call(), QStringLiteral("w1aw"));
    EXPECT_TRUE(f.call()->text().isEmpty());
    QTest::qWait(400);
    EXPECT_EQ(f.call()->text(), QStringLiteral("W1AW"));
    EXPECT_EQ(f.window->log().qsoCount(), 1);
}

TEST(MainWindow, GridDisplaysFollowTheTypedGrid) {
    MainWindowFixture f;
    ASSERT_TRUE(f.start());
    f.grid()->setFocus();
    typeInto(f.grid(), QStringLiteral("fn3"));
    EXPECT_EQ(f.labelText("Label5"), QStringLiteral("0"));
    EXPECT_EQ(f.child<QLabel>("Label5")->palette().color(QPalette::Window), QColor(0, 0, 128));
    typeInto(f.grid(), QStringLiteral("1"));
    EXPECT_EQ(f.labelText("Label24"), QStringLiteral("202"));
    EXPECT_EQ(f.labelText("Label23"), QStringLiteral("56"));
    f.grid()->setText(QStringLiteral("fn20"));
    EXPECT_EQ(f.labelText("Label24"), QStringLiteral("0"));
    EXPECT_EQ(f.labelText("Label5"), QStringLiteral("1"));
    f.grid()->setText(QStringLiteral("EM84"));
    EXPECT_EQ(f.labelText("Label5"), QStringLiteral("2"));
    EXPECT_EQ(f.child<QLabel>("Label5")->palette().color(QPalette::Window), QColor(0, 0, 255));
}

namespace {

// cw.txt with the RTS line chosen but no serial port: the keyer times characters without
// touching hardware.
std::string cwFile(const std::string& f1, const std::string& f2, const std::string& wpm) {
    std::string out;
    const std::string messages[9] = {f1, f2, "", "", "", "", "", "", "VVV DE "};
    for (const auto& m : messages) {
        out += "\"" + m + "\"\r\n";
    }
    out += "\"0\"\r\n\"" + wpm + "\"\r\n\"\"\r\n\"\"\r\n\"0\"\r\n1\r\n\"&H378\"\r\n1\r\n\"0\"\r\n";
    return out;
}

} // namespace

TEST(MainWindow, CwKeysWorkFromTheEntryFields) {
    MainWindowFixture f;
    f.writeFile("cw.txt", cwFile("CQ CQ CQ TEST", "TU !", "40"));
    ASSERT_TRUE(f.start());

    press(f.call(), Qt::Key_Up);
    EXPECT_EQ(f.labelText("lblDialog"), QStringLiteral("41 WPM"));
    press(f.call(), Qt::Key_Down);
    EXPECT_EQ(f.labelText("lblDialog"), QStringLiteral("40 WPM"));

    // Esc with nothing on the air clears the entry.
    typeInto(f.call(), QStringLiteral("k1abc"));
    press(f.call(), Qt::Key_Escape);
    EXPECT_TRUE(f.call()->text().isEmpty());

    // "!" logs the contact once sending reaches it, after "TU".
    typeInto(f.call(), QStringLiteral("k1abc"));
    f.grid()->setText(QStringLiteral("FN31"));
    press(f.call(), Qt::Key_F2);
    EXPECT_EQ(f.window->log().qsoCount(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.window->log().qsoCount() == 1; }, 5000));
    EXPECT_EQ(f.window->log().record(1).call, "K1ABC");
}

TEST(MainWindow, CloseIsRefusedWhileACharacterIsOnTheAir) {
    MainWindowFixture f;
    f.writeFile("cw.txt", cwFile("CQ CQ CQ CQ CQ TEST", "", "13"));
    ASSERT_TRUE(f.start());
    press(f.call(), Qt::Key_F1);
    f.window->close();
    EXPECT_TRUE(f.window->isVisible()) << "the character on the air must end first";
    // The rest of the message was dropped; once the character ends the window closes.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            f.window->close();
            return !f.window->isVisible();
        },
        3000));
}
