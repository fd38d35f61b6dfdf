#include "platform/QtSettingsStore.h"

#include <QSettings>

namespace corvane {

namespace {

class QtSettingsStore final : public SettingsStore {
public:
    explicit QtSettingsStore(std::unique_ptr<QSettings> settings) : m_settings(std::move(settings)) {}

    std::string get(const std::string& key) const override {
        const QString k = QStringLiteral("Settings/") + QString::fromStdString(key);
        return m_settings->value(k, QString()).toString().toStdString();
    }

    void set(const std::string& key, const std::string& value) override {
        m_settings->setValue(QStringLiteral("Settings/") + QString::fromStdString(key), QString::fromStdString(value));
        m_settings->sync();
    }

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace

std::unique_ptr<SettingsStore> makeUserSettingsStore() {
    return std::make_unique<QtSettingsStore>(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                                         QStringLiteral("Varkel_Software"),
                                                                         QStringLiteral("Varkel_Software")));
}

std::unique_ptr<SettingsStore> makeFileSettingsStore(const std::string& iniPath) {
    return std::make_unique<QtSettingsStore>(
        std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat));
}

} // namespace corvane
