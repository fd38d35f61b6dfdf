#pragma once
// The main window's entry line as the other subsystems see it: the call field, logging the
// contact, and the message line under the fields.

#include "core/Rgb.h"

#include <string>

namespace corvane {

class EntryHost {
public:
    virtual ~EntryHost() = default;
    // The text of the call field (txtCall) as of its last change.
    virtual std::string callText() const = 0;
    // Puts a call in the call field (a spot chosen on the band map).
    virtual void setCallText(const std::string& call) = 0;
    // Logs the contact of the entry fields (Mains).
    virtual void logContact() = 0;
    // Clears the entry fields (cmdClear).
    virtual void clearEntry() = 0;
    // The message line (lblDialog): its text and its background.
    virtual void showMessage(const std::string& text) = 0;
    // The same, for news the operator must act on: a screen reader also speaks it at once.
    virtual void showNews(const std::string& text) { showMessage(text); }
    virtual void setMessageBackground(Rgb colour) = 0;
    // The "Possible Duplicates" box: a text of another subsystem (a spot's details), on a
    // white background when `white`, else the box's usual one.
    virtual void showDuplicatesText(const std::string& text, bool white) {
        (void)text;
        (void)white;
    }
    // Gives the keyboard back to the entry field that had it last.
    virtual void focusEntry() = 0;

    // ---- A spot chosen on the band map, the spectrum map or the spot list takes its call
    // into the call field with these.
    // Gives the keyboard to the call field.
    virtual void focusCallField() {}
    // Leaves the call field as the Tab key does, its window brought to the front: the call
    // field's exit handling (the duplicate check) runs and the keyboard goes on to the grid.
    virtual void leaveCallField() {}
    // How contacts are entered. True while the post-contest time and date fields are shown
    // (beside the grid field, where the call history's hint goes otherwise).
    virtual bool postContestMode() const { return false; }
};

} // namespace corvane
