#pragma once

#include <QString>

// The result of putting a text into the focused field.
struct InsertOutcome
{
    enum class Kind
    {
        inserted,    // on the clipboard and the paste keystroke was posted
        secureInput, // a password field has the focus; nothing was touched
        failed,      // on the clipboard, but the keystroke could not be posted
    };

    static InsertOutcome inserted() { return {Kind::inserted, {}}; }
    static InsertOutcome secureInput() { return {Kind::secureInput, {}}; }
    static InsertOutcome failed(QString reason) { return {Kind::failed, std::move(reason)}; }

    Kind kind = Kind::inserted;
    QString reason; // why it failed, for Kind::failed
};
