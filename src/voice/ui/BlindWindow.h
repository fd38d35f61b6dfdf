#pragma once
// The voice navigation window (BlindFrm, "Voice Navigation Settings"): Off, Call Only or All
// Data Fields, each announced as it is chosen, and "Done", which keeps the level in the
// preferences. It is made at first use and kept; making it selects the current level, which
// speaks that level's prompt.

#include "voice/VoicePrompts.h"

#include <QDialog>
#include <functional>

class QRadioButton;

namespace corvane {

struct AppContext;

class BlindWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Voice Navigation Settings";

    // `level`/`saveLevel`: the level in the preferences, and how it is kept (SavePref).
    BlindWindow(AppContext& context, VoicePrompts& prompts, int level, std::function<void(int)> saveLevel,
                QWidget* parent = nullptr);

    void select(int level);
    void done();
    int chosenLevel() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    AppContext& m_ctx;
    VoicePrompts& m_prompts;
    std::function<void(int)> m_saveLevel;
    QRadioButton* m_off = nullptr;
    QRadioButton* m_callOnly = nullptr;
    QRadioButton* m_allFields = nullptr;
};

} // namespace corvane
