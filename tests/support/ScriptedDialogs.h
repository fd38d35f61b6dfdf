#pragma once
// A Dialogs that records every box shown and answers from a script, for window tests.

#include "platform/Dialogs.h"

#include <deque>
#include <functional>
#include <vector>

namespace corvane::test {

struct ShownBox {
    enum class Kind { Message, Input, OpenFile, SaveFile, Colour };
    Kind kind = Kind::Message;
    QString title;
    QString text; // message text, input prompt, or the proposed path of a file dialog
    QString defaultAnswer;
    MsgButtons buttons = MsgButtons::Ok;
};

class ScriptedDialogs final : public Dialogs {
public:
    // Answers are taken in order; with none left, a message answers Ok (No for Yes/No)
    // and the other boxes are cancelled.
    std::deque<MsgAnswer> messageAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<long>> colourAnswers;

    std::vector<ShownBox> shown;
    int beeps = 0;
    // Called while a message box is up, to look at the windows as the operator sees them then.
    std::function<void(const ShownBox&)> whileShown;

    MsgAnswer message(QWidget*, const QString& title, const QString& text, MsgButtons buttons, MsgIcon) override {
        shown.push_back({ShownBox::Kind::Message, title, text, {}, buttons});
        if (whileShown) {
            whileShown(shown.back());
        }
        if (!messageAnswers.empty()) {
            const MsgAnswer a = messageAnswers.front();
            messageAnswers.pop_front();
            return a;
        }
        return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
    }
    std::optional<QString> input(QWidget*, const QString& title, const QString& prompt,
                                 const QString& defaultAnswer) override {
        shown.push_back({ShownBox::Kind::Input, title, prompt, defaultAnswer, MsgButtons::OkCancel});
        return take(inputAnswers);
    }
    std::optional<QString> openFile(QWidget*, const QString& title, const QString& startPath, const QString&) override {
        shown.push_back({ShownBox::Kind::OpenFile, title, startPath, {}, MsgButtons::OkCancel});
        return take(fileAnswers);
    }
    std::optional<QString> saveFile(QWidget*, const QString& title, const QString& proposedPath,
                                    const QString&) override {
        shown.push_back({ShownBox::Kind::SaveFile, title, proposedPath, {}, MsgButtons::OkCancel});
        return take(fileAnswers);
    }
    std::optional<long> chooseColour(QWidget*, long) override {
        shown.push_back({ShownBox::Kind::Colour, {}, {}, {}, MsgButtons::OkCancel});
        if (colourAnswers.empty()) {
            return std::nullopt;
        }
        const auto a = colourAnswers.front();
        colourAnswers.pop_front();
        return a;
    }
    void beep() override { ++beeps; }

    // The message boxes shown, in order.
    std::vector<ShownBox> messages() const { return ofKind(ShownBox::Kind::Message); }
    // The paths the save dialogs proposed, in order.
    std::vector<QString> proposedSavePaths() const {
        std::vector<QString> out;
        for (const auto& b : ofKind(ShownBox::Kind::SaveFile)) {
            out.push_back(b.text);
        }
        return out;
    }
    std::vector<ShownBox> ofKind(ShownBox::Kind kind) const {
        std::vector<ShownBox> out;
        for (const auto& b : shown) {
            if (b.kind == kind) {
                out.push_back(b);
            }
        }
        return out;
    }
    // The titles of the boxes shown, in order.
    std::vector<QString> titles() const {
        std::vector<QString> out;
        for (const auto& b : shown) {
            out.push_back(b.title);
        }
        return out;
    }
    bool wasShown(const QString& title) const {
        for (const auto& b : shown) {
            if (b.title == title) {
                return true;
            }
        }
        return false;
    }

private:
    template <typename T> static std::optional<T> take(std::deque<std::optional<T>>& queue) {
        if (queue.empty()) {
            return std::nullopt;
        }
        std::optional<T> a;
        a.swap(queue.front());
        queue.pop_front();
        return a;
    }
};

} // namespace corvane::test
