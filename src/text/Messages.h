#pragma once
// Every message box of the program is asked of a Messages object: the window shows modal
// boxes, tests and unattended runs record what was said and never block.

#include <QList>
#include <QString>

namespace korvel {

class Messages {
public:
    enum class Kind { Information, Plain, Error, OkCancel };

    virtual ~Messages() = default;
    // Information icon, one OK button.
    virtual void information(const QString& text) = 0;
    // A plain message with one OK button and no icon.
    virtual void message(const QString& text) = 0;
    // The error that ended an operation (a conversion or file error, for example).
    virtual void error(const QString& text) = 0;
    // Information icon with OK and Cancel; true when the user chose OK.
    virtual bool askOkCancel(const QString& text) = 0;
};

// Keeps what was said, for tests and for runs that must never wait on a box.
class RecordingMessages : public Messages {
public:
    struct Entry {
        Kind kind;
        QString text;
    };

    void information(const QString& text) override { said.append({Kind::Information, text}); }
    void message(const QString& text) override { said.append({Kind::Plain, text}); }
    void error(const QString& text) override { said.append({Kind::Error, text}); }
    bool askOkCancel(const QString& text) override
    {
        said.append({Kind::OkCancel, text});
        return okCancelAnswer;
    }

    QStringList texts() const
    {
        QStringList out;
        for (const Entry& e : said)
            out.append(e.text);
        return out;
    }

    QList<Entry> said;
    bool okCancelAnswer = false;
};

}  // namespace korvel
