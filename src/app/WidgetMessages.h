#pragma once
// Message boxes for the running program: modal QMessageBox with Russian buttons, and a variant
// for unattended runs that prints to stderr and never waits.

#include "text/Messages.h"

#include <QList>
#include <QMessageBox>
#include <QPointer>

class QWidget;

namespace korvel {

class WidgetMessages : public Messages {
public:
    explicit WidgetMessages(QWidget* parent = nullptr) { setParent(parent); }
    // Boxes asked for before the parent window is first shown (the start-up's "АЦП не
    // обнаружено", a refused file named on the command line) wait and then appear over it:
    // shown earlier they would stand alone on an empty screen.
    void setParent(QWidget* parent);

    void information(const QString& text) override;
    void message(const QString& text) override;
    void error(const QString& text) override;
    // A question cannot wait: what is held is shown first, then the question.
    bool askOkCancel(const QString& text) override;

private:
    struct Held {
        QMessageBox::Icon icon;
        QString text;
    };
    void say(QMessageBox::Icon icon, const QString& text);
    void showHeld();

    QPointer<QWidget> parent_;
    bool parentShown_ = false;
    QList<Held> held_;
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
