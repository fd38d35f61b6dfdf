// Every window of the program, opened the way the operator opens it, at the screen size
// of this run (CTest runs the program once per screen size) and at 88 % and 100 % form
// size: every text fits its control, no two controls overlap, nothing lies outside its
// window and no window outside the screen.
//
// A new window is one line in kWindows: its object name and how the operator opens it.

#include "log/LogFile.h"
#include "log/MainWindowFixture.h"
#include "log/station/Preferences.h"
#include "log/ui/LogoWindow.h"
#include "ui/LayoutCheck.h"

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace corvane::test {
namespace {

using Opener = std::function<void(MainWindowFixture&)>;

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
    // Every control also clear of the strip a desktop's window frame takes (the offscreen
    // platform's frame is thinner). False for the windows whose bottom or right edge that
    // frame still cuts on a desktop.
    bool desktopFrame = true;
};

void PrintTo(const WindowCase& c, std::ostream* out) {
    *out << c.objectName << c.state;
}

// One line per window.
const WindowCase kWindows[] = {
    {"frmMain", {}, "", false},
    {"frmStationID", menu("mnuSetup")},
    {"frmColors", menu("mnuColors")},
    {"frmCabrillo", menu("mnuCabrillo"), "", false},
    {"GraphQSO", menu("mnuGraph"), "", false},
    {"frmHelp", menu("mnuHelp")},
    {"frmEditCon", rightClickNewestContact, "", false},
    {"CWFrm", ctrlKey(Qt::Key_S)},
    {"CWFrm", thenClick(ctrlKey(Qt::Key_S), "CWFrm", "optLoop"), "LoopTiming"},
    {"frmCWStrings", ctrlKey(Qt::Key_W)},
    {"frmCodePractice", thenClick(ctrlKey(Qt::Key_S), "CWFrm", "cmdCodePractice")},
    {"frmVarkelLogo", showLogo},
    {"PhoneFrm", ctrlKey(Qt::Key_P)},
    {"BlindFrm", menu("mnuVoiceNav")},
    {"frmSerialPorts", menu("mnuSerialPorts"), "", false},
    {"frmWinKey", thenClick(thenClick(ctrlKey(Qt::Key_S), "CWFrm", "optWinKey"), "CWFrm", "cmdConfigureWinkey")},
    {"RigControlfrm", ctrlKey(Qt::Key_R), "", false},
    {"frmRigTune", ctrlKey(Qt::Key_G), "", false},
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
    Inspector(QString objectName, QWidget* mainWindow, bool desktopFrame)
        : m_name(std::move(objectName)), m_main(mainWindow), m_desktopFrame(desktopFrame) {
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
            return;
        }
        m_problems = m_desktopFrame ? layoutProblems(window, kDesktopFrame) : layoutProblems(window);
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
    bool m_desktopFrame;
    QTimer m_timer;
    bool m_seen = false;
    std::optional<std::vector<std::string>> m_problems;
};

class WindowLayout : public ::testing::TestWithParam<std::tuple<WindowCase, int>> {};

TEST_P(WindowLayout, EveryTextFitsAndNoControlsOverlap) {
    const auto& [windowCase, formSize] = GetParam();
    MainWindowFixture f;
    f.writeFile("log.txt", wideLog());
    PreferencesReadResult prefs = parsePreferences(f.readFile("cvnpref.txt"));
    ASSERT_TRUE(prefs.ok);
    prefs.prefs.formSizePercent = formSize;
    f.writeFile("cvnpref.txt", formatPreferences(prefs.prefs));
    ASSERT_TRUE(f.start());

    Inspector inspector(QString::fromLatin1(windowCase.objectName), f.window.get(), windowCase.desktopFrame);
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

INSTANTIATE_TEST_SUITE_P(Windows, WindowLayout,
                         ::testing::Combine(::testing::ValuesIn(kWindows), ::testing::Values(88, 100)),
                         [](const auto& info) {
                             const WindowCase& c = std::get<0>(info.param);
                             return std::string(c.objectName) + c.state + "_" + std::to_string(std::get<1>(info.param));
                         });

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
