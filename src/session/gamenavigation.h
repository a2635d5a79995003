#pragma once

#include "core/hosts.h"

#include <QString>

namespace orvix {

class Browser;

// Every in-game request is built on these: the server of the current city, loads into named
// frames of the main browser, and form posts into them.
class GameNavigation {
public:
    GameNavigation(Browser& webB, const Hosts& hosts) : m_webB(webB), m_hosts(hosts) {}

    // Worked out from the main browser's address on every call.
    QString ServerBase() const;
    QString MainServerBase() const { return Hosts::base(m_hosts.main); }

    // A relative address into a frame, resolved against that frame's page, bypassing the cache.
    void NavigateInFrame(const QString& frame, const QString& address);
    // The body's Windows-1251 bytes, posted to the current server's page, shown in the frame.
    void PostInFrame(const QString& page, const QString& frame, const QString& body);

private:
    Browser& m_webB;
    const Hosts& m_hosts;
};

} // namespace orvix
