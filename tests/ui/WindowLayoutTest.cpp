// Every window of the program, opened the way the operator opens it, at the screen size
// of this run (CTest runs the program once per screen size) and at 88 % and 100 % form
// size: every text fits its control, no two controls overlap, nothing lies outside its
// window and no window outside the screen.
//
// A new window is one line in kWindows: its object name and how the operator opens it, and
// what to do in it before it is looked at (fill it with the longest texts it can show).
//
// The check allows for the frame a desktop's window manager puts around a window
// (kDesktopFrame) for the windows marked `framed`: the test platform draws none, so without it
// a window whose controls run into the part of its size a title bar takes looks fine here and
// is cut on a desktop. (Marking every window shows more of them cut that way.)

#include "log/LogFile.h"
#include "log/station/Preferences.h"
#include "log/ui/EntryLine.h"
#include "log/ui/LogoWindow.h"
#include "platform/serial/SerialDevices.h"
#include "platform/serial/SerialSettings.h"
#include "support/MainWindowFixture.h"
#include "ui/LayoutCheck.h"
#include "ui/NamingCheck.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QScreen>
#include <QTest>
#include <QTextEdit>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>

namespace corvane::test {
namespace {

using Opener = std::function<void(MainWindowFixture&)>;
using Preparer = std::function<void(MainWindowFixture&, QWidget&)>;

// A title bar and borders as openbox draws them around a window on a 1024x768 to 1920x1080
// screen, with a little to spare.
const QMargins kDesktopFrame(2, 28, 2, 6);

Opener menu(const char* actionName) {
    return [actionName](MainWindowFixture& f) { f.child<QAction>(actionName)->trigger(); };
}

Opener ctrlKey(Qt::Key key) {
    return [key](MainWindowFixture& f) { QTest::keyClick(f.call(), key, Qt::ControlModifier); };
}

// Opens `first`, then clicks the button `name` of the window that opened.
Opener thenClick(Opener first, const char* windowName, const char* name) {
    return [first, windowName, name](MainWindowFixture& f) {
        first(f);
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QLatin1String(windowName)) {
                top->findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
            }
        }
    };
}

void rightClickNewestContact(MainWindowFixture& f) {
    auto* list = f.window->findChild<QAbstractItemView*>(QStringLiteral("ListView1"));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualRect(list->model()->index(0, 1)).center());
}

void showLogo(MainWindowFixture& f) {
    auto* logo = new LogoWindow(QString::fromStdString(f.folders.sharedFolder + "/splash.jpg"), f.window.get());
    logo->setAttribute(Qt::WA_DeleteOnClose);
    logo->show();
}

struct WindowCase {
    const char* objectName;
    Opener open;            // empty: the main window itself
    const char* state = ""; // names a second look at the same window
    Preparer prepare = {};  // runs once the window is on screen, before it is looked at
    // Every control also clear of the strip a desktop's window frame takes (the offscreen
    // platform draws none). False for the windows whose bottom or right edge that frame still
    // cuts on a desktop.
    bool framed = true;
};

void clickIn(QWidget& window, const char* name) {
    window.findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
}

// The longest device the rig's status line names: a stable USB name as long as a file name
// can be (255 characters, of the kind the system makes them from the adapter's maker, model
// and serial number), under /dev/serial/by-id, on the highest port number.
std::string longestDevice() {
    std::string name = "usb-";
    while (name.size() < 255 - 11) {
        name += "Silicon_Labs_CP2102N_USB_to_UART_Bridge_Controller_9a2b1c3d4e5f6071_";
    }
    name.resize(255 - 11);
    return "/dev/serial/by-id/" + name + "-if00-port0";
}

// Port 10 stands for a device that is not plugged in; Test names it in the status line.
void testAnAbsentLongDevice(MainWindowFixture& f, QWidget& rig) {
    f.settings->set(serialDeviceKey(kSerialPortCount), longestDevice());
    auto* models = rig.findChild<QListWidget*>(QStringLiteral("List1"));
    const QListWidgetItem* kenwood = models->findItems(QStringLiteral("Kenwood"), Qt::MatchExactly).value(0);
    QTest::mouseClick(models->viewport(), Qt::LeftButton, {}, models->visualItemRect(kenwood).center());
    clickIn(rig, "optPort9");
    clickIn(rig, "cmdTest");
}

// The longest thing the rigctld link says: it did not get through, with a host name of the
// greatest length a host name can have.
void showAnUnreachableLongHost(MainWindowFixture&, QWidget& rig) {
    const QString host = QString(63, QLatin1Char('r')) + QLatin1Char('.') + QString(63, QLatin1Char('i')) +
                         QLatin1Char('.') + QString(63, QLatin1Char('g')) + QLatin1Char('.') +
                         QString(61, QLatin1Char('d'));
    rig.findChild<QTextEdit*>(QStringLiteral("txtStatus"))
        ->setPlainText(
            QStringLiteral("Could not connect to rigctld at %1:65535 within 5 s: no answer came. Is the host "
                           "on and rigctld running there? Trying again every 3 s")
                .arg(host));
}

void PrintTo(const WindowCase& c, std::ostream* out) {
    *out << c.objectName << c.state;
}

// One line per window.
// The longest news the message line gives: a key line that failed on a serial adapter with a
// long stable name, the reason as the system words it.
void showTheLongestNews(MainWindowFixture& f, QWidget&) {
    f.window->entryLine().showNews(
        "CW not sent: RTS on /dev/serial/by-id/"
        "usb-Silicon_Labs_CP2102N_USB_to_UART_Bridge_Controller_9a2b1c3d4e5f6071-if00-port0: "
        "Inappropriate ioctl for device");
}

const WindowCase kWindows[] = {
    {"frmMain", {}, "", {}, true},
    {"frmMain", {}, "LongestNews", showTheLongestNews, true},
    {"frmStationID", menu("mnuSetup")},
    {"frmColors", menu("mnuColors")},
    {"frmCabrillo", menu("mnuCabrillo"), "", {}, true},
    {"GraphQSO", menu("mnuGraph"), "", {}, true},
    {"frmHelp", menu("mnuHelp")},
    {"frmEditCon", rightClickNewestContact, "", {}, true},
    {"CWFrm", ctrlKey(Qt::Key_S)},
    {"CWFrm", thenClick(ctrlKey(Qt::Key_S), "CWFrm", "optLoop"), "LoopTiming"},
    {"frmCWStrings", ctrlKey(Qt::Key_W)},
    {"frmCodePractice", thenClick(ctrlKey(Qt::Key_S), "CWFrm", "cmdCodePractice")},
    {"frmVarkelLogo", showLogo},
    {"PhoneFrm", ctrlKey(Qt::Key_P)},
    {"BlindFrm", menu("mnuVoiceNav")},
    {"frmSerialPorts", menu("mnuSerialPorts"), "", {}, true},
    {"frmWinKey", thenClick(thenClick(ctrlKey(Qt::Key_S), "CWFrm", "optWinKey"), "CWFrm", "cmdConfigureWinkey")},
    {"RigControlfrm", ctrlKey(Qt::Key_R), "", {}, true},
    {"RigControlfrm", ctrlKey(Qt::Key_R), "AbsentLongDevice", testAnAbsentLongDevice, true},
    {"RigControlfrm", ctrlKey(Qt::Key_R), "UnreachableLongHost", showAnUnreachableLongHost, true},
    {"frmRigTune", ctrlKey(Qt::Key_G), "", {}, true},
    {"frmBandPlan", ctrlKey(Qt::Key_F), "TechnicianPlus",
     [](MainWindowFixture&, QWidget& privileges) { clickIn(privileges, "cmdClassP"); }, true},
    {"PacketSpotfrm", ctrlKey(Qt::Key_D)},
    {"SpectrumMap", ctrlKey(Qt::Key_B)},
};

// A full log whose listed rows carry the widest texts each column can hold.
std::string wideLog() {
    std::vector<QsoRecord> records;
    const char* const calls[] = {"WA9XYZ", "VE3MMM", "KH6WWW", "W0W", "N8MMM"};
    for (int i = 0; i < ContactLog::kCapacity - 10; ++i) {
        records.push_back({calls[i % 5], "12,436", "FN31", "", "EM08", "2012/12/08", "08:48:08", "40", "CW", ""});
    }
    return formatLog(records);
}

// Looks for the window while the opener runs (a modal window runs its own loop), checks
// it once it has been on screen for one round of events, then closes it.
class Inspector : public QObject {
public:
    using Check = std::function<std::vector<std::string>(const QWidget*)>;
    Inspector(QString objectName, QWidget* mainWindow, std::function<void(QWidget&)> prepare, Check check)
        : m_name(std::move(objectName)), m_main(mainWindow), m_prepare(std::move(prepare)), m_check(std::move(check)) {
        connect(&m_timer, &QTimer::timeout, this, &Inspector::look);
        m_timer.start(5);
    }

    void look() {
        if (m_problems) {
            return;
        }
        QWidget* window = find();
        if (!window) {
            return;
        }
        if (!m_seen) {
            m_seen = true; // let it lay itself out first
            if (m_prepare) {
                m_prepare(*window);
            }
            return;
        }
        m_problems = m_check(window);
        m_timer.stop();
        if (window != m_main) {
            window->close();
        }
    }

    std::optional<std::vector<std::string>> problems() {
        for (int i = 0; i < 50 && !m_problems; ++i) {
            QTest::qWait(5);
        }
        return m_problems;
    }

private:
    QWidget* find() const {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == m_name && top->isVisible()) {
                return top;
            }
        }
        return nullptr;
    }

    QString m_name;
    QWidget* m_main;
    std::function<void(QWidget&)> m_prepare;
    Check m_check;
    QTimer m_timer;
    bool m_seen = false;
    std::optional<std::vector<std::string>> m_problems;
};

class WindowLayout : public ::testing::TestWithParam<std::tuple<WindowCase, int>> {
protected:
    // Opens the window of this case at the form size of this case and runs `check` on it.
    void look(const Inspector::Check& check) {
        const auto& [windowCase, formSize] = GetParam();
        MainWindowFixture f;
        f.writeFile("log.txt", wideLog());
        PreferencesReadResult prefs = parsePreferences(f.readFile("cvnpref.txt"));
        ASSERT_TRUE(prefs.ok);
        prefs.prefs.formSizePercent = formSize;
        f.writeFile("cvnpref.txt", formatPreferences(prefs.prefs));
        ASSERT_TRUE(f.start());

        std::function<void(QWidget&)> prepare;
        if (windowCase.prepare) {
            prepare = [&f, &windowCase](QWidget& window) { windowCase.prepare(f, window); };
        }
        Inspector inspector(QString::fromLatin1(windowCase.objectName), f.window.get(), prepare, check);
        if (windowCase.open) {
            windowCase.open(f);
        }
        const auto problems = inspector.problems();
        ASSERT_TRUE(problems.has_value()) << windowCase.objectName << " did not open";
        std::string all;
        for (const auto& line : *problems) {
            all += "\n  " + line;
        }
        EXPECT_TRUE(problems->empty()) << QGuiApplication::primaryScreen()->size().width() << "x"
                                       << QGuiApplication::primaryScreen()->size().height() << " at " << formSize
                                       << " %:" << all;
    }
};

TEST_P(WindowLayout, EveryTextFitsAndNoControlsOverlap) {
    const QMargins frame = std::get<0>(GetParam()).framed ? kDesktopFrame : QMargins();
    look([frame](const QWidget* window) { return layoutProblems(window, frame); });
}

// Names do not change with the screen or the form size: one look at each window is enough.
TEST_P(WindowLayout, EveryControlTheKeyboardReachesIsNamedForAScreenReader) {
    if (std::get<1>(GetParam()) != 100 || QGuiApplication::primaryScreen()->size().width() != 1280) {
        GTEST_SKIP() << "names are looked at once, at 1280x1024 and 100 %";
    }
    look(namingProblems);
}

INSTANTIATE_TEST_SUITE_P(Windows, WindowLayout,
                         ::testing::Combine(::testing::ValuesIn(kWindows), ::testing::Values(88, 100)),
                         [](const auto& info) {
                             const WindowCase& c = std::get<0>(info.param);
                             return std::string(c.objectName) + c.state + "_" + std::to_string(std::get<1>(info.param));
                         });

// What the main window's layout passes could reach: every named control's text size and
// place in the rig window.
std::map<QString, std::pair<double, QRect>> rigWindowControls(MainWindowFixture& f) {
    QTest::keyClick(f.call(), Qt::Key_R, Qt::ControlModifier);
    std::map<QString, std::pair<double, QRect>> controls;
    if (const auto* rig = f.window->findChild<QWidget*>(QStringLiteral("RigControlfrm"))) {
        for (const QWidget* control : rig->findChildren<QWidget*>()) {
            if (!control->objectName().isEmpty()) {
                controls[control->objectName()] = {control->font().pointSizeF(), control->geometry()};
            }
        }
    }
    return controls;
}

// A saved radio makes the rig window while the main window starts and lays itself out; the
// window then looks as it does when Ctrl+R makes it later.
TEST(WindowScaling, TheRigWindowMadeAtStartIsScaledLikeOneOpenedLater) {
    std::map<QString, std::pair<double, QRect>> openedLater;
    {
        MainWindowFixture f;
        ASSERT_TRUE(f.start());
        openedLater = rigWindowControls(f);
    }
    ASSERT_FALSE(openedLater.empty());
    MainWindowFixture f;
    PreferencesReadResult prefs = parsePreferences(f.readFile("cvnpref.txt"));
    ASSERT_TRUE(prefs.ok);
    prefs.features.selectedRig = "Kenwood";
    f.writeFile("cvnpref.txt", formatPreferences(prefs.prefs, prefs.features));
    ASSERT_TRUE(f.start());
    const auto madeAtStart = rigWindowControls(f);
    for (const auto& [name, control] : openedLater) {
        ASSERT_TRUE(madeAtStart.contains(name)) << name.toStdString();
        EXPECT_DOUBLE_EQ(madeAtStart.at(name).first, control.first) << name.toStdString();
        EXPECT_EQ(madeAtStart.at(name).second, control.second) << name.toStdString();
    }
}

// CTest gives each run a screen named after its size; a run on another screen tests
// another size than it says.
TEST(WindowLayoutScreen, IsTheScreenThisRunWasGiven) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen->size();
    if (!screen->name().contains(QLatin1Char('x'))) {
        GTEST_SKIP() << "the screen of this run has no size in its name: " << screen->name().toStdString();
    }
    EXPECT_EQ(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()), screen->name());
}

} // namespace
} // namespace corvane::test
