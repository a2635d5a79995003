#pragma once

#include <QColor>
#include <QString>

namespace orvix {

class Browser;
class GameNavigation;

// The game chat of the city the main browser is in, reached through the hidden chat browser.
// The colour and the cache-busting run of "+" live for the whole run of the program.
class Chat {
public:
    Chat(Browser& webChat, const GameNavigation& nav) : m_webChat(webChat), m_nav(nav) {}

    // One more "+" on every message, so two messages never share an address; after 101
    // messages the run starts again.
    void SendChat(const QString& text);
    // The address of the next message, given the suffix it will carry.
    QString ChatAddress(const QString& text, const QString& suffix) const;

    QString ChatColor() const { return m_color; }
    // The colour name as a whole configuration line; a known name also picks the phrase colour.
    void setChatColor(const QString& name);
    QColor PhraseFontColor() const { return m_fontColor; }

    void reset();
    int ChatCount() const { return m_count; }
    QString ChatSuffix() const { return m_suffix; }

private:
    Browser& m_webChat;
    const GameNavigation& m_nav;
    QString m_color;
    QColor m_fontColor = Qt::black;
    QString m_suffix;
    int m_count = 0;
};

} // namespace orvix
