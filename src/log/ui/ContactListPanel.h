#pragma once
// "Recent Contacts": the contact list ListView1 (newest first, the last 20 or all), the
// cmdList mode button, and cmdEdit / cmdDelete, shown once a row has been clicked. The
// panel only lists and asks: the main window runs the edit and delete flows on its
// signals and rebuilds the list after the reload.

#include "log/ContactLog.h"
#include "log/score/ContactList.h"
#include "ui/Scaling.h"

#include <QAbstractTableModel>
#include <QWidget>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTableView;

namespace corvane {

// The rows of ContactListRows as a table model. Cell texts are formatted when the view
// asks for them, so only the rows on screen cost anything; a logged contact inserts one
// row (and in "Last 20" mode removes the oldest), never resets the model.
class ContactListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ContactListModel(const ContactLog& log, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // RebuildList: newest first, a column sort dropped.
    void rebuild();
    // After one record was appended to the log.
    void contactLogged();
    void setListAll(bool listAll);
    bool listAll() const { return m_rows.listAll(); }
    // Sorts the rows once by the column's texts.
    void sortByColumn(int column);
    // Record number (1-based) of a row; 0 when out of range.
    int recordAt(int row) const { return m_rows.recordAt(row); }

private:
    const ContactLog& m_log;
    ContactListRows m_rows;
};

class ContactListPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kListTip = "Click record to edit or delete.";
    static constexpr const char* kListModeTip = "List all or last 20 contacts (Listing all will slow the program)";

    // `design` is the panel's area on the main window's 9600 x 7200 twip canvas. `log`
    // must outlive the panel; the panel reads it and never changes it.
    ContactListPanel(const ContactLog& log, const TwipRect& design, QWidget* parent = nullptr);

    // RebuildList, after every load of the log. The selection is dropped and the edit
    // buttons hidden, since their row may no longer hold the same contact.
    void rebuild();
    // The fast update after one contact has been appended to the log.
    void contactLogged();
    void hideEditButtons();
    // The record number of the clicked row; 0 when none.
    int editedIndex() const { return m_editedIndex; }
    bool listAll() const { return m_model->listAll(); }
    // The listed rows as the list shows them, top row first, seven cell texts each.
    std::vector<std::vector<std::string>> rowsAsText() const;
    // The seven column headers.
    static std::vector<std::string> headers();

    QTableView* view() const { return m_view; }
    ContactListModel* model() const { return m_model; }

signals:
    void editRequested(int recordIndex);
    void deleteRequested(int recordIndex);
    void focusCallRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void toggleListAll();
    void rowClicked(const QModelIndex& index);
    void showEditButtons();
    void fitRowsToFont();

    const ContactLog& m_log;
    ContactListModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    QLabel* m_caption = nullptr;
    QPushButton* m_list = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    int m_editedIndex = 0;
};

} // namespace corvane
