#include "app/WidgetMessages.h"

#include "app/EventHook.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace korvel {

namespace {

bool box(QWidget* parent, QMessageBox::Icon icon, const QString& text, bool withCancel)
{
    QMessageBox mb(icon, QApplication::applicationDisplayName(), text, QMessageBox::NoButton, parent);
    QPushButton* ok = mb.addButton(QStringLiteral("ОК"), QMessageBox::AcceptRole);
    if (withCancel)
        mb.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    mb.setDefaultButton(ok);
    mb.exec();
    return mb.clickedButton() == ok;
}

void print(const char* kind, const QString& text)
{
    std::fprintf(stderr, "korvel: %s: %s\n", kind, text.toLocal8Bit().constData());
}

}  // namespace

void WidgetMessages::setParent(QWidget* parent)
{
    parent_ = parent;
    parentShown_ = parent && parent->isVisible();
    if (!parent || parentShown_)
        return;
    new EventHook(parent, [this, parent](QEvent* e) {
        if (e->type() == QEvent::Show && parent_ == parent && !parentShown_) {
            parentShown_ = true;
            // Queued, so that the window is drawn before the first box covers it.
            QTimer::singleShot(0, parent, [this] { showHeld(); });
        }
        return false;
    });
}

void WidgetMessages::say(QMessageBox::Icon icon, const QString& text)
{
    if (parentShown_)
        box(parent_, icon, text, false);
    else
        held_.append({icon, text});
}

void WidgetMessages::showHeld()
{
    while (!held_.isEmpty()) {
        const Held next = held_.takeFirst();
        box(parent_, next.icon, next.text, false);
    }
}

void WidgetMessages::information(const QString& text)
{
    say(QMessageBox::Information, text);
}

void WidgetMessages::message(const QString& text)
{
    say(QMessageBox::NoIcon, text);
}

void WidgetMessages::error(const QString& text)
{
    say(QMessageBox::Critical, text);
}

bool WidgetMessages::askOkCancel(const QString& text)
{
    showHeld();
    return box(parent_, QMessageBox::Information, text, true);
}

void StderrMessages::information(const QString& text) { print("information", text); }
void StderrMessages::message(const QString& text) { print("message", text); }
void StderrMessages::error(const QString& text) { print("error", text); }

bool StderrMessages::askOkCancel(const QString& text)
{
    print("question (answered Cancel)", text);
    return false;
}

}  // namespace korvel
