#include "rig/ui/TuneWindow.h"

#include "rig/TuneSteps.h"
#include "ui/FormScaler.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace corvane::rig {

namespace {

constexpr TwipRect kDesign{0, 0, 6900, 5100};
constexpr double kFont = 8.25;

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
std::string bytesOf(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace

TuneWindow::TuneWindow(Tuner& tuner, std::function<std::string()> selectedRig, QWidget* parent)
    : QDialog(parent), m_tuner(tuner), m_selectedRig(std::move(selectedRig)) {
    setObjectName(QStringLiteral("frmRigTune"));
    setWindowTitle(QStringLiteral(" Change Frequency and Mode (Ctrl G (Go))"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* label = new QLabel(QStringLiteral("Frequency in MHz:"), this);
    FormScaler::place(label, {120, 150, 1700, 270}, kFont);
    m_frequency = addBox("txtFreq", 1850, 120, 1700, QString());
    m_frequency->setAccessibleName(QStringLiteral("Frequency in MHz"));
    m_frequency->setAccessibleDescription(QStringLiteral("Go, or Enter, tunes the radio to it."));
    m_go = addButton(QStringLiteral("cmdGo"), QStringLiteral("&Go"), 3700, 90, 1000);
    connect(m_go, &QPushButton::clicked, this, &TuneWindow::go);

    const auto bands = tuneBands();
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const int index = static_cast<int>(i);
        QPushButton* button = addButton(QStringLiteral("cmdBand%1").arg(index), latin1(bands[i].caption),
                                        120 + (index % 8) * 830.0, 620 + (index / 8) * 420.0, 780);
        connect(button, &QPushButton::clicked, this, [this, index] { band(index); });
    }

    auto* up = new QLabel(QStringLiteral(" UP"), this);
    FormScaler::place(up, {120, 1560, 700, 270}, kFont);
    auto* down = new QLabel(QStringLiteral(" Down"), this);
    FormScaler::place(down, {120, 1980, 700, 270}, kFont);
    const auto steps = tuneSteps();
    for (int index = 0; index < static_cast<int>(steps.size()) * 2; ++index) {
        const auto& s = steps[static_cast<std::size_t>(index / 2)];
        QPushButton* button = addButton(QStringLiteral("cmdStep%1").arg(index), latin1(s.caption),
                                        900 + (index / 2) * 1180.0, 1520 + (index % 2) * 420.0, 1120);
        button->setEnabled(false);
        // The up and down buttons of a step carry the same caption; the row says which way.
        button->setAccessibleName((index % 2 == 0 ? QStringLiteral("Up ") : QStringLiteral("Down ")) +
                                  latin1(s.caption));
        connect(button, &QPushButton::clicked, this, [this, index] { step(index); });
        m_steps.push_back(button);
    }

    const char* modes[] = {"CW", "LSB", "USB", "AM", "FM", "RTTY"};
    double left = 120;
    for (const char* name : modes) {
        QPushButton* button = addButton(QStringLiteral("cmd%1").arg(QString::fromLatin1(name)),
                                        QStringLiteral("&%1").arg(QString::fromLatin1(name)), left, 2520, 1000);
        connect(button, &QPushButton::clicked, this, [this, name] { mode(name); });
        left += 1110;
    }

    m_scan = new QCheckBox(QStringLiteral("Scan"), this);
    m_scan->setObjectName(QStringLiteral("chkScan"));
    FormScaler::place(m_scan, {120, 3170, 900, 300}, kFont);
    auto* from = new QLabel(QStringLiteral("From:"), this);
    FormScaler::place(from, {120, 3600, 600, 270}, kFont);
    m_from = addBox("txtFrom", 750, 3570, 1000, QStringLiteral("1.8"));
    m_from->setAccessibleName(QStringLiteral("Scan from MHz"));
    m_from->setAccessibleDescription(QStringLiteral("Where a scan starts."));
    auto* to = new QLabel(QStringLiteral("To:"), this);
    FormScaler::place(to, {1900, 3600, 450, 270}, kFont);
    m_to = addBox("txtTo", 2350, 3570, 1000, QStringLiteral("54"));
    m_to->setAccessibleName(QStringLiteral("Scan to MHz"));
    m_to->setAccessibleDescription(QStringLiteral("Where a scan ends."));
    connect(m_scan, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            if (!tuneNumber(bytesOf(m_frequency->text()))) {
                m_frequency->setText(m_from->text());
            }
            m_go->setFocus();
        }
    });

    auto* frame = new QGroupBox(QStringLiteral("Scan Steps"), this);
    frame->setObjectName(QStringLiteral("fraScanSteps"));
    FormScaler::place(frame, {3600, 3050, 3150, 1150}, kFont);
    m_scanSteps = new QButtonGroup(this);
    const auto scan = scanSteps();
    for (std::size_t i = 0; i < scan.size(); ++i) {
        auto* option = new QRadioButton(latin1(scan[i].caption), frame);
        option->setObjectName(QStringLiteral("optScanStep%1").arg(i));
        FormScaler::place(option, {100 + (i % 3) * 1000.0, 300 + (i / 3) * 380.0, 980, 300}, kFont);
        m_scanSteps->addButton(option, static_cast<int>(i));
    }
    m_scanSteps->button(kDefaultScanStep)->setChecked(true);

    // Clear of the bottom edge, which a window frame may take.
    m_done = addButton(QStringLiteral("cmdDone"), QStringLiteral("&Done"), 120, 4300, 1200);
    connect(m_done, &QPushButton::clicked, this, &QDialog::accept);

    connect(m_frequency, &QLineEdit::textChanged, this, &TuneWindow::frequencyChanged);
    m_scanTimer.setObjectName(QStringLiteral("tmrScan"));
    m_scanTimer.setInterval(kScanIntervalMs);
    connect(&m_scanTimer, &QTimer::timeout, this, &TuneWindow::scanTick);
    m_scanTimer.start();

    // Any key in the panel stops a scan.
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
    FormScaler::scale(this, ScaleVariant::ScreenCapped, kDesign);
    m_frequency->setFocus();
}

QPushButton* TuneWindow::addButton(const QString& name, const QString& caption, double left, double top, double width) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    FormScaler::place(button, {left, top, width, 380}, kFont);
    return button;
}

QLineEdit* TuneWindow::addBox(const char* name, double left, double top, double width, const QString& text) {
    auto* box = new QLineEdit(text, this);
    box->setObjectName(QString::fromLatin1(name));
    FormScaler::place(box, {left, top, width, 330}, kFont);
    return box;
}

bool TuneWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        m_scan->setChecked(false);
        const bool box = watched == m_frequency || watched == m_from || watched == m_to;
        if (box && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            if (watched == m_frequency) {
                go();
                m_frequency->setFocus();
                m_frequency->end(false);
            }
            return true;
        }
        if (box && !key->text().isEmpty() && key->key() != Qt::Key_Backspace) {
            const int code = key->text().at(0).unicode();
            if (code >= 32 && !tuneKeyAccepted(code)) {
                return true; // letters and the like are dropped
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TuneWindow::frequencyChanged() {
    const bool number = tuneNumber(bytesOf(m_frequency->text())).has_value();
    for (QPushButton* button : m_steps) {
        button->setEnabled(number);
    }
}

void TuneWindow::go() {
    const auto value = tuneNumber(bytesOf(m_frequency->text()));
    if (!value || m_selectedRig() == "None") {
        return;
    }
    m_tuner.changeFrequency(static_cast<float>(*value));
}

void TuneWindow::band(int index) {
    const auto bands = tuneBands();
    if (index < 0 || index >= static_cast<int>(bands.size())) {
        return;
    }
    m_frequency->setText(latin1(shortestDecimal(bands[static_cast<std::size_t>(index)].frequencyMHz)));
    go();
}

void TuneWindow::step(int index) {
    const auto text = steppedText(bytesOf(m_frequency->text()), index);
    if (!text) {
        return;
    }
    m_frequency->setText(latin1(*text));
    go();
    m_done->setFocus();
}

void TuneWindow::mode(const std::string& name) {
    m_tuner.changeMode(name);
    m_done->setFocus();
}

void TuneWindow::scanTick() {
    if (!m_scan->isChecked()) {
        return;
    }
    const auto from = tuneNumber(bytesOf(m_from->text()));
    const auto to = tuneNumber(bytesOf(m_to->text()));
    const auto frequency = tuneNumber(bytesOf(m_frequency->text()));
    if (!from || !to || !frequency) {
        return;
    }
    const int chosen = m_scanSteps->checkedId();
    const double stepMHz = scanSteps()[static_cast<std::size_t>(chosen < 0 ? kDefaultScanStep : chosen)].stepMHz;
    const float next =
        scanNext(static_cast<float>(*frequency), stepMHz, static_cast<float>(*from), static_cast<float>(*to));
    m_frequency->setText(latin1(scanText(next)));
    go();
}

} // namespace corvane::rig
