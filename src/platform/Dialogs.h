#pragma once
// The dialog seam: every message box, input box, file dialog, colour chooser and beep the
// windows show goes through here, so tests can answer them from a script.

#include <QString>
#include <optional>

class QWidget;

namespace corvane {

enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgAnswer message(QWidget* parent, const QString& title, const QString& text,
                              MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None) = 0;
    // An input box: the answer, or nothing when cancelled.
    virtual std::optional<QString> input(QWidget* parent, const QString& title, const QString& prompt,
                                         const QString& defaultAnswer) = 0;
    // File dialogs: the chosen path, or nothing when cancelled. filter in the Qt form
    // "Log Files (*.log)".
    virtual std::optional<QString> openFile(QWidget* parent, const QString& title, const QString& startPath,
                                            const QString& filter) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const QString& title, const QString& proposedPath,
                                            const QString& filter) = 0;
    // A colour as 0x00BBGGRR, or nothing when cancelled.
    virtual std::optional<long> chooseColour(QWidget* parent, long initialBgr) = 0;
    virtual void beep() = 0;
};

// The real dialogs of the desktop.
class QtDialogs final : public Dialogs {
public:
    MsgAnswer message(QWidget* parent, const QString& title, const QString& text, MsgButtons buttons,
                      MsgIcon icon) override;
    std::optional<QString> input(QWidget* parent, const QString& title, const QString& prompt,
                                 const QString& defaultAnswer) override;
    std::optional<QString> openFile(QWidget* parent, const QString& title, const QString& startPath,
                                    const QString& filter) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& title, const QString& proposedPath,
                                    const QString& filter) override;
    std::optional<long> chooseColour(QWidget* parent, long initialBgr) override;
    void beep() override;
};

// Windows texts use CR LF between lines; the desktop shows LF.
QString displayText(const QString& text);

} // namespace corvane
