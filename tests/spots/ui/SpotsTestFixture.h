#pragma once
// The main window with the spotting feature, a fake TNC port, a recording tuner, and helpers
// to work the setup window as the operator does.

#include "cw/ui/CwFeature.h"
#include "spots/ui/SpotArea.h"
#include "spots/ui/SpotService.h"
#include "spots/ui/SpotSetupWindow.h"
#include "spots/ui/SpotsFeature.h"
#include "support/FakeSerialPort.h"
#include "support/MainWindowFixture.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace corvane::test {

struct RecordingTuner final : Tuner {
    std::vector<float> frequencies;
    bool changeFrequency(float frequencyMHz) override {
        frequencies.push_back(frequencyMHz);
        return true;
    }
    bool changeMode(const std::string&) override { return true; }
};

class SpotsFixture {
public:
    SpotsFixture() {
        main.features = [this](FeatureContext& context) {
            context.tuner.attach(&tuner);
            std::vector<std::unique_ptr<Feature>> features;
            features.push_back(std::make_unique<cw::CwFeature>(context));
            features.push_back(std::make_unique<spots::SpotsFeature>(context, [this] {
                auto port = std::make_unique<FakeSerialPort>();
                serial = port.get();
                return port;
            }));
            return features;
        };
    }

    bool start() { return main.start(); }
    spots::SpotsFeature& feature() { return *main.window->feature<spots::SpotsFeature>(); }
    spots::SpotService& service() { return feature().service(); }
    // Lets queued work run once (a failure's box is shown from the event loop).
    void settle() { QCoreApplication::processEvents(); }
    spots::SpotSetupWindow& setup() {
        spots::SpotSetupWindow& w = feature().setupWindow();
        return w;
    }
    template <typename T = QWidget> T* control(const char* name) {
        return setup().findChild<T*>(QString::fromLatin1(name));
    }
    // The status area's text as the screen shows it once it has caught up (LF line ends).
    QString status() {
        return QString::fromLatin1(statusBytes().c_str()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    QString statusOnScreen() { return control<QPlainTextEdit>("txtUnProcessed")->toPlainText(); }
    std::string statusBytes() { return service().statusText().text(); }
    void choose(const char* source) {
        QListWidget* list = control<QListWidget>("lstSource");
        const auto items = list->findItems(QString::fromLatin1(source), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        list->setCurrentItem(items.front());
    }
    // The packet engine on `port` chosen as the source and opened, as the operator does it.
    void openAgwEngine(int port) {
        main.settings->set("AgwEnginePort", std::to_string(port));
        choose("AGW Packet Engine");
        control<QPushButton>("cmdOpen")->click();
    }
    void type(const QString& text) {
        QLineEdit* sent = control<QLineEdit>("txtSent");
        sent->setText(text);
        QTest::keyClick(sent, Qt::Key_Return);
    }
    bool waitFor(const std::function<bool()>& condition, int ms = 5000) { return QTest::qWaitFor(condition, ms); }

    MainWindowFixture main;
    RecordingTuner tuner;
    FakeSerialPort* serial = nullptr;
};

} // namespace corvane::test
