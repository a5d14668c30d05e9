#pragma once
// Long texts in the text boxes (a comment of up to 1 MiB, the comment list of a folder).
//
// The boxes wrap their lines at word boundaries. For a word longer than a line, Qt's word wrap
// looks ahead over the whole rest of that word for every line it lays out, so a comment of
// hundreds of thousands of characters without a blank (which the program saves and opens) took
// minutes to show. While a box holds such a word it wraps anywhere instead: a word longer than a
// line is broken anywhere in either mode, and the look-ahead goes.
//
// A text far longer than a box shows gets its scroll bar before it is laid out: the bar would
// appear anyway, and appearing afterwards it narrows the box and has the text laid out again.

#include <QString>

class QPlainTextEdit;

namespace korvel {

// Longer than any line of a box, short enough that looking over it for every line stays cheap.
inline constexpr int LongestWordWrappedAtItsEnd = 1000;
// More characters than any box shows at once, even spread over a large screen.
inline constexpr int TextThatAlwaysScrolls = 100000;

// Fits box's wrap mode to its text from now on, through pastes and typing.
void WrapAnywhereForLongWords(QPlainTextEdit* box);
// setPlainText with the wrap mode and the scroll bar fitted to text first, so that the text is
// laid out once.
void SetLongText(QPlainTextEdit* box, const QString& text);

}  // namespace korvel
