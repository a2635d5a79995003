#pragma once

#include <QString>
#include <QStringList>

namespace orvix {

// The configuration list: text lines numbered from 0, joined by CR LF. Lines 0 to 67 always
// exist (the whole layout), so a first run can store every setting; a loaded text may hold more.
class ConfigList {
public:
    static constexpr int kLayoutLines = 68;
    static constexpr qsizetype kReadCap = 4096;

    ConfigList();

    // Line n, at most kReadCap characters; empty when the line doesn't exist.
    QString line(int n) const;
    // Replaces an existing line; a missing line is left alone, the list never grows this way.
    // A line break inside the text would shift every later line, so it becomes a blank.
    void setLine(int n, const QString& text);
    int lineCount() const { return int(m_lines.size()); }

    // The whole text with CR LF separators.
    QString text() const;
    // Replaces the whole list; a lone CR or LF counts as CR LF. Missing layout lines are added.
    void setText(QStringView text);

private:
    QStringList m_lines;
};

} // namespace orvix
