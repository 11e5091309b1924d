#pragma once

#include "support/Prompter.h"

class QWidget;

namespace korvex {

// Messages and questions as the system's message boxes, over parent.
class DialogPrompter final : public Prompter {
public:
    explicit DialogPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void message(MessageKind kind, const QString& text) override;
    bool ask(MessageKind kind, const QString& text, AskButtons buttons) override;

private:
    QWidget* m_parent;
};

} // namespace korvex
