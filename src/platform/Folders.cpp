#include "platform/Folders.h"

#include <QDir>
#include <QStandardPaths>

namespace corvane {

FolderBases systemFolderBases() {
    FolderBases bases;
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || documents == QDir::homePath()) {
        documents = QDir::homePath() + QStringLiteral("/Documents");
    }
    bases.documents = documents.toStdString();
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty()) {
        data = QDir::homePath() + QStringLiteral("/.local/share");
    }
    bases.appData = data.toStdString();
    return bases;
}

} // namespace corvane
