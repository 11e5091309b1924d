#pragma once

#include "support/Prompter.h"

#include <QStringList>

namespace korvex::test {

// Records what would have been shown and answers every question the same way.
class FakePrompter final : public Prompter {
public:
    explicit FakePrompter(bool answer = true) : answer(answer) {}
    void message(MessageKind, const QString& text) override { messages.append(text); }
    bool ask(MessageKind, const QString& text, AskButtons) override {
        questions.append(text);
        return answer;
    }

    bool answer;
    QStringList messages;
    QStringList questions;
};

} // namespace korvex::test
