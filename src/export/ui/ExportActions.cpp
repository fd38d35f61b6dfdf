#include "export/ui/ExportActions.h"

#include "core/Clock.h"
#include "export/Adif.h"
#include "export/ClipboardText.h"
#include "log/ContactLog.h"
#include "platform/Dialogs.h"

#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QLocale>

namespace corvane {

namespace {

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string eightBit(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace

QString exportDateText(const Clock& clock) {
    const DateTime now = clock.localNow();
    const QDateTime at(QDate(now.year, now.month, now.day), QTime(now.hour, now.minute, now.second));
    return QLocale::system().toString(at, QLocale::ShortFormat);
}

bool exportAdif(Dialogs& dialogs, const Clock& clock, const ContactLog& log, const QString& userDataFolder,
                QWidget* parent) {
    const auto power = dialogs.input(parent, latin1(exchange::adif::kPowerTitle), latin1(exchange::adif::kPowerPrompt),
                                     latin1(exchange::adif::kPowerDefault));
    const auto comment = dialogs.input(parent, latin1(exchange::adif::kCommentTitle),
                                       latin1(exchange::adif::kCommentPrompt), latin1(exchange::adif::kCommentDefault));
    const QString proposed = userDataFolder + QLatin1Char('/') + latin1(exchange::adif::kDefaultFileName);
    const auto chosen =
        dialogs.saveFile(parent, QStringLiteral("Save As"), proposed, latin1(exchange::adif::kFileFilter));
    if (!chosen || chosen->isEmpty()) {
        return false;
    }
    AdifInput in;
    in.records = log.records();
    in.power = power ? eightBit(*power) : std::string();
    in.comment = comment ? eightBit(*comment) : std::string();
    in.exportDateText = eightBit(exportDateText(clock));
    const FileResult written = writeAdifFile(chosen->toStdString(), in);
    if (!written.ok) {
        dialogs.beep();
        dialogs.message(parent, QStringLiteral("Unable to write file."), QString::fromStdString(written.error),
                        MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    dialogs.message(parent, QStringLiteral("File Written Successfully."),
                    QString::fromStdString(adifWrittenMessage(chosen->toStdString())), MsgButtons::Ok,
                    MsgIcon::Information);
    return true;
}

void copyListToClipboard(const QStringList& headers, const QList<QStringList>& rowsTopDown) {
    auto toStd = [](const QStringList& cells) {
        std::vector<std::string> out;
        out.reserve(static_cast<std::size_t>(cells.size()));
        for (const QString& c : cells) {
            out.push_back(c.toStdString());
        }
        return out;
    };
    std::vector<std::vector<std::string>> rows;
    rows.reserve(static_cast<std::size_t>(rowsTopDown.size()));
    for (const QStringList& row : rowsTopDown) {
        rows.push_back(toStd(row));
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return;
    }
    clipboard->clear();
    clipboard->setText(QString::fromStdString(buildListClipboardText(toStd(headers), rows)));
}

} // namespace corvane
