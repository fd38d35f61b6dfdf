#pragma once
// The main window's export menu items that need no window of their own: the ADIF export
// ("Export &ADIF Format") and the clipboard copy ("&Copy Listed Items to Clipboard").

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace corvane {

class Clock;
class ContactLog;
class Dialogs;

// Asks for the power and the comment, then for the file (proposing
// <userDataFolder>/Corvane.adi), writes it and reports. False when cancelled or failed.
bool exportAdif(Dialogs& dialogs, const Clock& clock, const ContactLog& log, const QString& userDataFolder,
                QWidget* parent = nullptr);

// The local moment in the desktop's short date and time format, for the ADIF header.
QString exportDateText(const Clock& clock);

// Puts the list's headers and rows (rows as the list shows them, top first) on the
// clipboard as tab-separated text, oldest listed contact first.
void copyListToClipboard(const QStringList& headers, const QList<QStringList>& rowsTopDown);

} // namespace corvane
