#include "session/accounts.h"

#include "browser/browser.h"
#include "core/alerts.h"
#include "core/configlist.h"
#include "core/configstore.h"
#include "core/cp1251.h"
#include "core/formtext.h"
#include "session/gamenavigation.h"

namespace orvix {

using namespace Qt::StringLiterals;

Accounts::Accounts(Browser& webB, GameNavigation& nav, ConfigList& config, ConfigStore& store,
                   Alerts& alerts, Hooks hooks)
    : m_webB(webB), m_nav(nav), m_config(config), m_store(store), m_alerts(alerts),
      m_hooks(std::move(hooks)) {}

void Accounts::Login(const QString& login, const QString& password) {
    if (m_hooks.ieVersionOk && !m_hooks.ieVersionOk()) {
        m_alerts.message(u"Не корректная версия IE"_s);
        if (m_hooks.closeMainWindow)
            m_hooks.closeMainWindow();
        return;
    }
    const QString l = EscapeUserText(login);
    const QString body =
        u"login="_s + l + u"&psw="_s + EscapeUserText(password) + u"&enter=Зайти&lastlogin="_s + l;
    // Always the main server, whatever city the browser shows.
    m_webB.Navigate2(m_nav.MainServerBase() + u"enter.pl"_s, QString(), cp1251::encode(body));
    m_ownLogin = login;
}

Status Accounts::AddAccount(const QString& login, const QString& password) {
    for (int line = 9; line >= 2; --line)
        m_config.setLine(line, m_config.line(line - 2));
    m_config.setLine(0, login);
    m_config.setLine(1, password);
    if (Status saved = m_store.SaveConfiguration(); !saved.ok())
        return saved;
    Login(login, password);
    if (m_hooks.accountsChanged)
        m_hooks.accountsChanged();
    if (m_hooks.hidePanel)
        m_hooks.hidePanel();
    return Status::success();
}

void Accounts::LoginSaved(int k) {
    if (k >= 1 && k <= kSlots)
        Login(m_config.line(2 * (k - 1)), m_config.line(2 * (k - 1) + 1));
}

QStringList Accounts::Names() const {
    QStringList names;
    for (int k = 1; k <= kSlots; ++k)
        names << m_config.line(2 * (k - 1));
    return names;
}

} // namespace orvix
