#pragma once
// What korvel-cli says on stderr: the messages of the core, and its own failures.

#include "cli/ExitCodes.h"
#include "text/Messages.h"

#include <QString>

namespace korvel::cli {

// Prints every message on stderr and never waits for an answer (OK/Cancel answers Cancel).
class PrintedMessages : public Messages {
public:
    void information(const QString& text) override { print(text); }
    void message(const QString& text) override { print(text); }
    void error(const QString& text) override
    {
        ++errors;
        print(text);
    }
    bool askOkCancel(const QString& text) override
    {
        print(text);
        return false;
    }
    static void print(const QString& text);

    // Errors told so far: each one ended an operation.
    int errors = 0;
};

// The program's own message on stderr; returns ExitFailure.
int Failure(const QString& text);

}  // namespace korvel::cli
