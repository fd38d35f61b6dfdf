#pragma once
// A main window started the way the program starts it, in a temporary working folder
// seeded from data/, with scripted dialogs, a settable clock and a recorded exit.

#include "app/MainWindow.h"
#include "core/DurableFile.h"
#include "support/TestAppContext.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>

namespace corvane::test {

inline std::string sourceDataFolder() {
    return std::string(CORVANE_SOURCE_DIR) + "/data";
}

struct StationAnswer {
    QString call = QStringLiteral("W1XYZ");
    QString grid = QStringLiteral("FN20");
    QString offset; // empty: leave as shown
    int power = 0;  // 0: leave as shown
};

// Fills the station window when it opens (it is modal) and presses Done. Waiting stops
// when `alive` is cleared (the test is over) or after the window was answered.
inline void answerStationWindow(const StationAnswer& answer, std::shared_ptr<bool> alive) {
    QTimer::singleShot(1, [answer, alive] {
        if (!*alive) {
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != QStringLiteral("frmStationID")) {
            answerStationWindow(answer, alive); // not open yet: look again
            return;
        }
        modal->findChild<QLineEdit*>(QStringLiteral("txtStationCall"))->setText(answer.call);
        modal->findChild<QLineEdit*>(QStringLiteral("txtStationGrid"))->setText(answer.grid);
        if (!answer.offset.isNull()) {
            modal->findChild<QLineEdit*>(QStringLiteral("txtUtcOffset"))->setText(answer.offset);
        }
        if (answer.power) {
            modal->findChild<QRadioButton*>(QStringLiteral("optPower%1").arg(answer.power))->setChecked(true);
        }
        modal->findChild<QPushButton*>(QStringLiteral("cmdDone"))->click();
    });
}

class MainWindowFixture : public TestAppContext {
public:
    explicit MainWindowFixture(DateTime local = DateTime{2012, 12, 29, 18, 15, 2}, double utcMinusLocal = 0.0)
        : TestAppContext(local, utcMinusLocal) {
        for (const auto& entry : std::filesystem::directory_iterator(sourceDataFolder())) {
            std::filesystem::copy_file(entry.path(), dir.path() / entry.path().filename());
        }
    }

    ~MainWindowFixture() { *alive = false; }

    void answerStation(const StationAnswer& answer) { answerStationWindow(answer, alive); }

    std::string file(const std::string& name) const { return dir.file(name); }
    void writeFile(const std::string& name, const std::string& bytes) { replaceAtomically(file(name), bytes); }
    std::string readFile(const std::string& name) const { return readWholeFile(file(name)).value_or("<missing>"); }

    // Creates the window and runs its start-up; "Open existing log?" answers Yes.
    bool start(const StationAnswer& station = {}, MsgAnswer openExisting = MsgAnswer::Yes) {
        window = std::make_unique<MainWindow>(app, nullptr, features);
        window->show();
        QApplication::setActiveWindow(window.get());
        answerStation(station);
        dialogs.messageAnswers.push_back(openExisting);
        const bool loaded = window->load();
        QApplication::setActiveWindow(window.get());
        return loaded;
    }

    template <typename T = QWidget> T* child(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QLineEdit* call() const { return child<QLineEdit>("txtCall"); }
    QLineEdit* grid() const { return child<QLineEdit>("txtSec"); }
    QString labelText(const char* name) const { return child<QLabel>(name)->text(); }

    std::unique_ptr<MainWindow> window;
    // How the window's features are made; tests give the CW keyer recording devices.
    FeatureFactory features = makeFeatures;
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

} // namespace corvane::test
