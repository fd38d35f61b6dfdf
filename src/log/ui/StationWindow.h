#pragma once
// " Amateur Station I.D.": the station's own call, grid, UTC offset and power class.

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QPushButton;

namespace corvane {

class Dialogs;
class SharedPrefs;

struct StationValues {
    QString call;
    QString grid;
    QString offsetText; // as typed; empty when the offset is to stay as it was
    int powerCategory = 2;
};

class StationWindow : public QDialog {
    Q_OBJECT
public:
    StationWindow(Dialogs& dialogs, SharedPrefs& sharedPrefs, const StationValues& current, QWidget* parent = nullptr);

    StationValues values() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void done();

    Dialogs& m_dialogs;
    SharedPrefs& m_sharedPrefs;
    QLineEdit* m_call = nullptr;
    QLineEdit* m_grid = nullptr;
    QLineEdit* m_offset = nullptr;
    QRadioButton* m_power[3] = {};
    QPushButton* m_done = nullptr;
};

} // namespace corvane
