#include "session/gamenavigation.h"

#include "browser/browser.h"
#include "core/cp1251.h"
#include "core/gameaddress.h"

namespace orvix {

QString GameNavigation::ServerBase() const {
    return orvix::ServerBase(m_webB.LocationURL(), m_hosts);
}

void GameNavigation::NavigateInFrame(const QString& frame, const QString& address) {
    m_webB.Navigate(address, Browser::NoReadFromCache | Browser::NoWriteToCache, frame);
}

void GameNavigation::PostInFrame(const QString& page, const QString& frame, const QString& body) {
    m_webB.Navigate2(ServerBase() + page, frame, cp1251::encode(body));
}

} // namespace orvix
