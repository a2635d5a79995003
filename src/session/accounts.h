#pragma once

#include "core/status.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace orvix {

class Alerts;
class Browser;
class ConfigList;
class ConfigStore;
class GameNavigation;

// The five saved accounts (newest in lines 0 and 1) and the login post of the game's entry form.
class Accounts {
public:
    static constexpr int kSlots = 5;

    struct Hooks {
        std::function<bool()> ieVersionOk;
        std::function<void()> closeMainWindow; // a refused login ends the program
        std::function<void()> accountsChanged; // LoadAccounts
        std::function<void()> hidePanel;       // AutorizePanel
    };

    Accounts(Browser& webB, GameNavigation& nav, ConfigList& config, ConfigStore& store,
             Alerts& alerts, Hooks hooks);

    void Login(const QString& login, const QString& password);
    // Stores the pair as the newest account, then logs in. A failed save stops before the login.
    Status AddAccount(const QString& login, const QString& password);
    // Account k (1 to 5).
    void LoginSaved(int k);
    // The login names for menu items 1 to 5; an empty one has no item.
    QStringList Names() const;

    const QString& OwnLogin() const { return m_ownLogin; }

private:
    Browser& m_webB;
    GameNavigation& m_nav;
    ConfigList& m_config;
    ConfigStore& m_store;
    Alerts& m_alerts;
    Hooks m_hooks;
    QString m_ownLogin;
};

} // namespace orvix
