#pragma once
// Message boxes for the running program: modal QMessageBox with Russian buttons, and a variant
// for unattended runs that prints to stderr and never waits.

#include "text/Messages.h"

class QWidget;

namespace korvel {

class WidgetMessages : public Messages {
public:
    explicit WidgetMessages(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void information(const QString& text) override;
    void message(const QString& text) override;
    void error(const QString& text) override;
    bool askOkCancel(const QString& text) override;

private:
    QWidget* parent_;
};

// Prints each message to stderr; a question is answered with Cancel.
class StderrMessages : public Messages {
public:
    void information(const QString& text) override;
    void message(const QString& text) override;
    void error(const QString& text) override;
    bool askOkCancel(const QString& text) override;
};

}  // namespace korvel
