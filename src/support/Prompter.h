#pragma once

#include <QString>

namespace korvex {

enum class MessageKind { Information, Warning, Confirmation };
enum class AskButtons { OkCancel, YesNo };

// How a routine below the widget layer puts a message or a question to the user. The widget
// layer supplies message boxes (DialogPrompter); tests supply their own answers. A routine given
// no prompter shows nothing and takes every question as declined.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void message(MessageKind kind, const QString& text) = 0;
    // True for OK or Yes.
    virtual bool ask(MessageKind kind, const QString& text, AskButtons buttons) = 0;
};

} // namespace korvex
