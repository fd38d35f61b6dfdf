#include "export/ui/CabrilloWindow.h"

#include "ExportTestData.h"
#include "TempDir.h"
#include "core/DurableFile.h"
#include "core/SettingsStore.h"
#include "core/SharedPrefs.h"
#include "export/Cabrillo.h"
#include "log/ContactLog.h"
#include "log/station/Preferences.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

using namespace corvane;
using corvane::test::ScriptedDialogs;

namespace {

class MapSettings final : public SettingsStore {
public:
    std::map<std::string, std::string> values;
    std::string get(const std::string& key) const override {
        const auto it = values.find(key);
        return it == values.end() ? std::string() : it->second;
    }
    void set(const std::string& key, const std::string& value) override { values[key] = value; }
};

class CabrilloWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<QsoRecord> records{corvane::test::k1abcContact()};
        m_log.assign(records);
        m_prefs.ownCall = "W1XYZ/P";
        m_prefs.powerCategory = 2;
        m_settings.values = {{"UserAddressName", "Pat Doe"}, {"UserClubName", "YCCC"}};
        m_shared.load(m_dir.file("SharedUserPreferences.xml"));
    }

    template <typename T> T* child(CabrilloWindow& w, const char* name) {
        T* found = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    corvane::test::TempDir m_dir;
    ScriptedDialogs m_dialogs;
    MapSettings m_settings;
    SharedPrefs m_shared;
    ContactLog m_log;
    Preferences m_prefs;
};

} // namespace

TEST_F(CabrilloWindowTest, WritesTheFileAndRemembersTheDetails) {
    CabrilloWindow w(m_dialogs, m_settings, m_shared, m_log, m_prefs, QStringLiteral("6"),
                     QString::fromStdString(m_dir.path().string()));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Summary Sheet Information"));
    auto* name = child<QLineEdit>(w, "txtName");
    EXPECT_EQ(name->text(), QStringLiteral("Pat Doe"));
    EXPECT_EQ(child<QLineEdit>(w, "txtClub")->text(), QStringLiteral("YCCC"));
    EXPECT_TRUE(child<QRadioButton>(w, "optSingleOp")->isChecked());

    child<QLineEdit>(w, "txtAddress1")->setText(QStringLiteral("  1 Main St  "));
    child<QLineEdit>(w, "txtEmail")->setText(QStringLiteral("pat@example.org"));
    auto* operators = child<QLineEdit>(w, "txtOperators");
    QTest::keyClicks(operators, QStringLiteral("w1xyz k1abc"));
    EXPECT_EQ(operators->text(), QStringLiteral("W1XYZ K1ABC"));
    child<QRadioButton>(w, "optMultiOp")->setChecked(true);
    child<QLineEdit>(w, "txtSoapbox")->setText(QStringLiteral("Fun!"));

    const std::string path = m_dir.file("chosen.log");
    m_dialogs.fileAnswers.push_back(QString::fromStdString(path));
    child<QPushButton>(w, "cmdWrite")->click();

    ASSERT_EQ(m_dialogs.proposedSavePaths().size(), 1u);
    EXPECT_EQ(m_dialogs.proposedSavePaths()[0], QString::fromStdString(m_dir.file("W1XYZ.log")));
    CabrilloInput expected;
    expected.records = m_log.records();
    expected.ownCall = "W1XYZ/P";
    expected.powerCategory = 2;
    expected.totalScoreText = "6";
    expected.category = OperatorCategory::Multi;
    expected.operators = "W1XYZ K1ABC";
    expected.club = "YCCC";
    expected.name = "Pat Doe";
    expected.addressLine1 = "  1 Main St  ";
    expected.email = "pat@example.org";
    expected.soapbox = "Fun!";
    EXPECT_EQ(readWholeFile(path), buildCabrillo(expected));

    EXPECT_EQ(m_dialogs.beeps, 1);
    ASSERT_EQ(m_dialogs.messages().size(), 1u);
    EXPECT_EQ(m_dialogs.messages()[0].title, QStringLiteral("File Written Successfully."));
    EXPECT_EQ(m_dialogs.messages()[0].text, QString::fromStdString(cabrilloWrittenMessage(path)));

    EXPECT_EQ(m_settings.values["UserAddressLine1"], "1 Main St");
    EXPECT_EQ(m_settings.values["UserEMail"], "pat@example.org");
    EXPECT_EQ(m_settings.values["UserAddressLine2"], "");
    const auto shared = readWholeFile(m_dir.file("SharedUserPreferences.xml"));
    ASSERT_TRUE(shared.has_value());
    EXPECT_NE(shared->find("<OWN_ADDRESS_LINE1>1 Main St</OWN_ADDRESS_LINE1>"), std::string::npos);
    EXPECT_NE(shared->find("<OWN_CLUB_NAME>YCCC</OWN_CLUB_NAME>"), std::string::npos);
}

TEST_F(CabrilloWindowTest, CancelShowsNothingAndFailureStoresNothing) {
    CabrilloWindow w(m_dialogs, m_settings, m_shared, m_log, m_prefs, QStringLiteral("6"),
                     QString::fromStdString(m_dir.path().string()));
    child<QLineEdit>(w, "txtEmail")->setText(QStringLiteral("new@example.org"));

    m_dialogs.fileAnswers.push_back(QString());
    EXPECT_FALSE(w.writeCabrillo());
    EXPECT_TRUE(m_dialogs.messages().empty());
    EXPECT_EQ(m_dialogs.beeps, 0);

    m_dialogs.fileAnswers.push_back(QString::fromStdString(m_dir.file("no-folder/x.log")));
    EXPECT_FALSE(w.writeCabrillo());
    ASSERT_EQ(m_dialogs.messages().size(), 1u);
    EXPECT_EQ(m_dialogs.messages()[0].title, QStringLiteral("Unable to write file."));
    EXPECT_FALSE(m_dialogs.messages()[0].text.isEmpty());
    EXPECT_EQ(m_dialogs.beeps, 1);
    EXPECT_EQ(m_settings.values.count("UserEMail"), 0u);
    EXPECT_FALSE(fileExists(m_dir.file("SharedUserPreferences.xml")));
}
