#pragma once
// Dialogs that answer from a script and record every box shown.

#include "platform/Dialogs.h"

#include <deque>
#include <vector>

namespace corvane::test {

class FakeDialogs final : public Dialogs {
public:
    struct Shown {
        QString title;
        QString text;
    };
    std::vector<Shown> messages;
    std::vector<QString> proposedSavePaths;
    // Answers in turn; a null QString() is a cancel, no answer left is a cancel too.
    std::deque<QString> saveAnswers;
    // Answers in turn; a null QString() is a cancel, no answer left takes the default.
    std::deque<QString> inputAnswers;
    int beeps = 0;

    MsgAnswer message(QWidget*, const QString& title, const QString& text, MsgButtons, MsgIcon) override {
        messages.push_back({title, text});
        return MsgAnswer::Ok;
    }
    std::optional<QString> input(QWidget*, const QString&, const QString&, const QString& defaultAnswer) override {
        if (inputAnswers.empty()) {
            return defaultAnswer;
        }
        return next(inputAnswers);
    }
    std::optional<QString> openFile(QWidget*, const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFile(QWidget*, const QString&, const QString& proposedPath, const QString&) override {
        proposedSavePaths.push_back(proposedPath);
        if (saveAnswers.empty()) {
            return std::nullopt;
        }
        return next(saveAnswers);
    }
    std::optional<long> chooseColour(QWidget*, long) override { return std::nullopt; }
    void beep() override { ++beeps; }

private:
    static std::optional<QString> next(std::deque<QString>& answers) {
        const QString answer = answers.front();
        answers.pop_front();
        if (answer.isNull()) {
            return std::nullopt;
        }
        return answer;
    }
};

} // namespace corvane::test
