#pragma once
// "Edit Contact Entry": one record of the log in seven fields, checked as they are left
// and on Done, with the distance and points recomputed when the grid received changes.
// A call that another record already has is refused with "Dupe!" and offers
// "Delete Dupe". The window changes nothing itself: it tells its caller what to store.
//
// runEditFlow and runDeleteFlow are the whole Edit and Delete sequences of the contact
// list; the caller reloads the log (and so the list, totals and grid map) afterwards.

#include "log/ContactLog.h"
#include "log/score/EditRules.h"
#include "log/score/Grid.h"

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane {

class Dialogs;
class LogStore;

// The station's own grid and position, from which the grid received is scored.
struct OwnStation {
    std::string grid;
    GeoPosition position; // longitude west-positive
};

class EditContactWindow : public QDialog {
    Q_OBJECT
public:
    enum class Result { Closed, Stored, DeleteRequested };

    EditContactWindow(const ContactLog& log, int editedIndex, const OwnStation& own, Dialogs& dialogs,
                      QWidget* parent = nullptr);

    Result result() const { return m_result; }
    // Stored: the record to write at editedIndex().
    const QsoRecord& storedRecord() const { return m_stored; }
    int editedIndex() const { return m_editedIndex; }

    EditFields fields() const;
    // Done, as its button does.
    void pressDone();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* addField(const char* name, const QString& caption, const std::string& text, int row);
    bool keyPress(QLineEdit* field, QKeyEvent* key);
    void leaveField(QLineEdit* field);
    void recomputeGrid();
    void showDupe(bool shown);
    void refuse(QLineEdit* field, std::string_view title, std::string_view text);
    EditField fieldKind(const QLineEdit* field) const;

    const ContactLog& m_log;
    int m_editedIndex = 0;
    OwnStation m_own;
    Dialogs& m_dialogs;
    Result m_result = Result::Closed;
    QsoRecord m_stored;
    bool m_filling = true;
    bool m_checking = false;

    QLineEdit* m_call = nullptr;
    QLineEdit* m_gridR = nullptr;
    QLineEdit* m_gridS = nullptr;
    QLineEdit* m_date = nullptr;
    QLineEdit* m_time = nullptr;
    QLineEdit* m_points = nullptr;
    QLineEdit* m_km = nullptr;
    QLineEdit* m_miles = nullptr; // hidden
    QLineEdit* m_mode = nullptr;  // hidden
    QLabel* m_dupe = nullptr;
    QPushButton* m_done = nullptr;
    QPushButton* m_deleteDupe = nullptr;
};

// What an Edit or Delete did to the log.
struct EditFlowResult {
    enum class Outcome { Unchanged, Stored, Deleted, WriteFailed, NoRecord };
    Outcome outcome = Outcome::Unchanged;
    std::string error; // WriteFailed: the system's description (already shown)
};

// Delete (cmdDelete): "Are you sure?" (Yes/No); on Yes the record is taken out, the later
// records move up by one and log.txt is rewritten atomically. The caller hides the edit
// buttons and reloads.
EditFlowResult runDeleteFlow(QWidget* parent, LogStore& store, Dialogs& dialogs, int recordIndex);

// What happens when the edit window has closed: the stored record is written, Delete
// Dupe runs the delete flow, and in every case log.txt is rewritten from the log.
EditFlowResult finishEdit(QWidget* parent, LogStore& store, Dialogs& dialogs, int recordIndex,
                          EditContactWindow::Result result, const QsoRecord& stored);

// Edit (cmdEdit): the edit window, modal, for the record, then finishEdit. The caller
// then hides the edit buttons and reloads the log.
EditFlowResult runEditFlow(QWidget* parent, LogStore& store, Dialogs& dialogs, int recordIndex, const OwnStation& own);

} // namespace corvane
