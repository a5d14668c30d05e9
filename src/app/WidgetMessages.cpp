#include "app/WidgetMessages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
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

void WidgetMessages::information(const QString& text)
{
    box(parent_, QMessageBox::Information, text, false);
}

void WidgetMessages::message(const QString& text)
{
    box(parent_, QMessageBox::NoIcon, text, false);
}

void WidgetMessages::error(const QString& text)
{
    box(parent_, QMessageBox::Critical, text, false);
}

bool WidgetMessages::askOkCancel(const QString& text)
{
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
