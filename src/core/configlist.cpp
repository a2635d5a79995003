#include "core/configlist.h"

namespace orvix {

ConfigList::ConfigList() : m_lines(kLayoutLines) {}

QString ConfigList::line(int n) const {
    if (n < 0 || n >= m_lines.size())
        return {};
    return m_lines[n].left(kReadCap);
}

void ConfigList::setLine(int n, const QString& text) {
    if (n < 0 || n >= m_lines.size())
        return;
    QString clean = text;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');
    m_lines[n] = clean;
}

QString ConfigList::text() const {
    return m_lines.join(QStringLiteral("\r\n"));
}

void ConfigList::setText(QStringView text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines.append(text.sliced(start).toString());
    while (lines.size() < kLayoutLines)
        lines.append(QString());
    m_lines = std::move(lines);
}

} // namespace orvix
