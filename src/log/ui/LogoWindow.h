#pragma once
// The logo shown while the program starts: the shared folder's splash.jpg when there is
// one (2.7 s), otherwise the built-in logo with its second picture after 1.1 s (1.9 s in
// all). A click closes it at once.

#include <QDialog>
#include <QPixmap>
#include <QTimer>

class QLabel;

namespace corvane {

class LogoWindow : public QDialog {
    Q_OBJECT
public:
    explicit LogoWindow(const QString& splashPath, QWidget* parent = nullptr);

    static QPixmap builtInLogo(bool second);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLabel* m_picture = nullptr;
    QTimer m_closeTimer;
    QTimer m_secondTimer;
};

} // namespace corvane
