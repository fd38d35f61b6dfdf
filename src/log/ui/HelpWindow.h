#pragma once
// "Help Page": the help text file shown read-only.

#include <QDialog>
#include <string>

namespace corvane {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(const std::string& helpFilePath, QWidget* parent = nullptr);
};

} // namespace corvane
