#include "scp/ui/ScpFeature.h"

#include "core/DurableFile.h"
#include "log/ContactLog.h"
#include "log/Session.h"
#include "ui/AppContext.h"
#include "ui/FormScaler.h"
#include "ui/WidgetText.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMetaObject>

namespace corvane::scp {

namespace {

// More than a line can ever hold; the label keeps as many as fit its width.
constexpr std::size_t kMostCharacters = 240;
const QColor kLoggedColour(192, 0, 0);

std::string findFile(const AppContext& app) {
    for (const std::string& folder : {app.workingDirectory, app.folders.userDataFolder}) {
        for (const char* name : {"MASTER.SCP", "master.scp", "Master.scp"}) {
            const std::string path = folder + "/" + name;
            if (!folder.empty() && fileExists(path)) {
                return path;
            }
        }
    }
    return {};
}

} // namespace

ScpFeature::ScpFeature(FeatureContext& context) : m_ctx(context) {
    if (m_ctx.centralArea != nullptr) {
        // Under the possible duplicates, above the contact list.
        m_line = makeLabel(m_ctx.centralArea, "lblScp", QString(), {120, 3150, 5400, 270}, 8.25, true);
        m_line->setTextFormat(Qt::RichText);
        m_line->setAccessibleName(QStringLiteral("Known calls"));
        m_line->setToolTip(QStringLiteral("Known calls from MASTER.SCP containing the typed call; those in red are "
                                          "already in the log."));
    }
}

ScpFeature::~ScpFeature() {
    shutdown();
}

bool ScpFeature::load() {
    if (m_reader.joinable() || m_ready) {
        return true;
    }
    m_path = findFile(m_ctx.app);
    if (m_path.empty()) {
        m_ready = true;
        emit ready();
        return true; // no file, no line: nothing is wrong
    }
    QPointer<ScpFeature> self(this);
    m_reader = std::thread([self, path = m_path] {
        ScpReadResult read;
        if (const auto bytes = readWholeFile(path)) {
            read = parseMasterScp(*bytes);
        }
        auto index = std::make_shared<const ScpIndex>(std::move(read.calls));
        const int skipped = read.skippedLines;
        // Handed to the window thread; a feature gone by then joined this thread first.
        QMetaObject::invokeMethod(
            self.data(),
            [self, index, skipped] {
                if (self) {
                    self->indexArrived(index, skipped);
                }
            },
            Qt::QueuedConnection);
    });
    return true;
}

void ScpFeature::indexArrived(std::shared_ptr<const ScpIndex> index, int skippedLines) {
    if (m_reader.joinable()) {
        m_reader.join();
    }
    m_index = std::move(index);
    m_ready = true;
    if (m_line) {
        QString tip = QStringLiteral("Known calls from %1 (%2 calls")
                          .arg(QString::fromStdString(m_path))
                          .arg(static_cast<qulonglong>(m_index->size()));
        if (skippedLines > 0) {
            tip += QStringLiteral(", %1 damaged lines skipped").arg(skippedLines);
        }
        tip += QStringLiteral(") containing the typed call; those in red are already in the log.");
        m_line->setToolTip(tip);
    }
    show(m_ctx.entry.callText());
    emit ready();
}

void ScpFeature::callTextChanged(const std::string& call) {
    show(call);
}

void ScpFeature::contactLogged(const QsoRecord&) {
    show(m_ctx.entry.callText());
}

void ScpFeature::show(const std::string& call) {
    if (!m_line) {
        return;
    }
    if (!m_index || call.size() < 2) {
        m_line->clear();
        return;
    }
    const std::vector<std::string> found = m_index->find(call, kMostCharacters);
    if (found.empty()) {
        m_line->clear();
        return;
    }
    std::vector<std::string_view> loggedCalls;
    const ContactLog& log = m_ctx.session.log();
    loggedCalls.reserve(log.records().size());
    for (const QsoRecord& record : log.records()) {
        loggedCalls.emplace_back(record.call);
    }
    const std::vector<bool> logged = loggedAmong(found, call, loggedCalls);

    // As many as fit the line's width.
    const QFontMetrics metrics(m_line->font());
    const int room = m_line->contentsRect().width();
    int used = 0;
    QString html;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const QString text = QString::fromLatin1(found[i].data(), static_cast<qsizetype>(found[i].size()));
        const int width = metrics.horizontalAdvance(text + QLatin1Char(' '));
        if (used + width > room && used > 0) {
            break;
        }
        used += width;
        if (logged[i]) {
            html += QStringLiteral("<span style=\"color:%1\"><s>%2</s></span> ").arg(kLoggedColour.name(), text);
        } else {
            html += text + QLatin1Char(' ');
        }
    }
    m_line->setText(html);
}

void ScpFeature::shutdown() {
    if (m_reader.joinable()) {
        m_reader.join();
    }
}

} // namespace corvane::scp
