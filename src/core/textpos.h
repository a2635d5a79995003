#pragma once

#include <QStringView>

namespace orvix::textpos {

// The page readers' arithmetic counts from 1 and clamps to the text, as the game's markers were
// first read: a missing marker is position 0, a start before the text is its first character,
// a length past the end stops at the end, and a length of zero or less is nothing.

// 1-based position of the first `what` in `text`, 0 when there is none.
inline qsizetype Pos(QStringView what, QStringView text) {
    return text.indexOf(what) + 1;
}

// `count` characters from position `index`.
inline QStringView Copy(QStringView text, qsizetype index, qsizetype count) {
    if (index < 1) {
        count += index - 1;
        index = 1;
    }
    if (count <= 0 || index > text.size())
        return {};
    return text.sliced(index - 1, qMin(count, text.size() - index + 1));
}

// The text with its first `count` characters removed.
inline QStringView DropFront(QStringView text, qsizetype count) {
    return count <= 0 ? text : count >= text.size() ? QStringView() : text.sliced(count);
}

} // namespace orvix::textpos
