#include "voice/ui/BlindWindow.h"

#include "ui/AppContext.h"
#include "ui/FormScaler.h"
#include "ui/WidgetText.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace corvane {

namespace {
constexpr TwipRect kDesign{0, 0, 6000, 3900};
constexpr double kFont = 8.25;
} // namespace

BlindWindow::BlindWindow(AppContext& context, VoicePrompts& prompts, int level, std::function<void(int)> saveLevel,
                         QWidget* parent)
    : QDialog(parent, Qt::Window), m_ctx(context), m_prompts(prompts), m_saveLevel(std::move(saveLevel)) {
    setObjectName(QStringLiteral("BlindFrm"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setAccessibleName(QString::fromLatin1(kTitle));
    setAccessibleDescription(QStringLiteral("How much of the entry is announced by recorded voice"));

    auto* frame = new QGroupBox(QStringLiteral("Choose your preferred option:"), this);
    frame->setObjectName(QStringLiteral("fraOptions"));
    FormScaler::place(frame, {240, 160, 5520, 1560}, kFont);
    const auto option = [frame](const char* name, const QString& caption, double top, const QString& description) {
        auto* button = new QRadioButton(caption, frame);
        button->setObjectName(QString::fromLatin1(name));
        button->setAccessibleDescription(description);
        FormScaler::place(button, {240, top, 4800, 300}, kFont);
        return button;
    };
    m_off = option("optOff", QStringLiteral("Off"), 380, QStringLiteral("No prompts but the duplicate warning"));
    m_callOnly = option("optCallOnly", QStringLiteral("Call Only"), 760,
                        QStringLiteral("Announces the call field and duplicates"));
    m_allFields = option("optAllFields", QStringLiteral("All Data Fields"), 1140,
                         QStringLiteral("Announces the call and grid fields and duplicates"));
    auto* group = new QButtonGroup(this);
    const std::pair<QRadioButton*, NavLevel> levels[] = {
        {m_off, NavLevel::Off}, {m_callOnly, NavLevel::CallOnly}, {m_allFields, NavLevel::AllFields}};
    for (const auto& [button, navLevel] : levels) {
        group->addButton(button);
        connect(button, &QRadioButton::toggled, this, [this, navLevel = navLevel](bool on) {
            if (on) {
                m_prompts.levelSelected(navLevel);
            }
        });
    }

    auto* help = new QLabel(QStringLiteral("Put the audio wave files in this program's working directory: ") +
                                QString::fromStdString(m_ctx.workingDirectory),
                            this);
    help->setObjectName(QStringLiteral("lblHelp"));
    help->setWordWrap(true);
    help->setTextInteractionFlags(Qt::TextSelectableByMouse);
    FormScaler::place(help, {240, 1860, 5520, 1080}, kFont);

    auto* doneButton = new QPushButton(QStringLiteral("Done"), this);
    doneButton->setObjectName(QStringLiteral("cmdDone"));
    doneButton->setAutoDefault(false);
    doneButton->setAccessibleDescription(QStringLiteral("Keeps the chosen option and hides the window"));
    FormScaler::place(doneButton, {4560, 3120, 1200, 400}, kFont);
    connect(doneButton, &QPushButton::clicked, this, &BlindWindow::done);

    select(level);
    FormScaler::scale(this, ScaleVariant::ScreenCapped, kDesign);
}

void BlindWindow::select(int level) {
    QRadioButton* button = level == 1 ? m_callOnly : level == 2 ? m_allFields : level == 0 ? m_off : nullptr;
    if (button != nullptr) {
        button->setChecked(true);
    }
}

int BlindWindow::chosenLevel() const {
    return m_callOnly->isChecked() ? 1 : m_allFields->isChecked() ? 2 : 0;
}

void BlindWindow::done() {
    hide();
    QDir::setCurrent(QString::fromStdString(m_ctx.workingDirectory));
    if (m_saveLevel) {
        m_saveLevel(chosenLevel());
    }
}

void BlindWindow::closeEvent(QCloseEvent* event) {
    m_prompts.stop();
    QDialog::closeEvent(event);
}

} // namespace corvane
