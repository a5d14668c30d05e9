#include "app/LongText.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

namespace korvel {

namespace {

// Only a blank ends a word here: a no-break space is none, and a hyphen may or may not be.
bool holdsLongWord(QStringView text)
{
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c == u' ' || c == u'\t' ? 0 : run + 1;
        if (run > LongestWordWrappedAtItsEnd)
            return true;
    }
    return false;
}

bool holdsLongWord(const QTextDocument* document)
{
    // A word never spans two blocks: blocks are split at line breaks.
    for (QTextBlock b = document->begin(); b.isValid(); b = b.next())
        if (b.length() > LongestWordWrappedAtItsEnd && holdsLongWord(b.text()))
            return true;
    return false;
}

void fitWrap(QPlainTextEdit* box, bool longWord)
{
    const QTextOption::WrapMode mode =
        longWord ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (box->wordWrapMode() != mode)
        box->setWordWrapMode(mode);
}

}  // namespace

void WrapAnywhereForLongWords(QPlainTextEdit* box)
{
    // contentsChange comes before the document's layout sees the change. setPlainText empties
    // the box before it puts the new text in: the mode fitted to that text stays meanwhile.
    QObject::connect(box->document(), &QTextDocument::contentsChange, box, [box] {
        if (!box->document()->isEmpty())
            fitWrap(box, holdsLongWord(box->document()));
    });
    fitWrap(box, holdsLongWord(box->document()));
}

void SetLongText(QPlainTextEdit* box, const QString& text)
{
    // The old text goes first: laid out again in the new text's mode, a long word of it would
    // be the slow case.
    box->clear();
    box->setVerticalScrollBarPolicy(text.size() > TextThatAlwaysScrolls ? Qt::ScrollBarAlwaysOn
                                                                          : Qt::ScrollBarAsNeeded);
    fitWrap(box, holdsLongWord(text));
    box->setPlainText(text);
}

}  // namespace korvel
