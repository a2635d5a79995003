#pragma once

#include "actions/chat.h"
#include "app/messageboxalerts.h"
#include "core/configlist.h"
#include "core/configstore.h"
#include "core/diagnosticlog.h"
#include "core/hosts.h"
#include "session/gamenavigation.h"

#include <QMainWindow>
#include <QTimer>

#include <memory>

class QFrame;
class QLabel;
class QMenu;
class QWebEngineProfile;

namespace orvix {

class Browser;
class AboutPanel;
class BackpackPanel;
class TakeOffPanel;
class Accounts;
class ClickLabel;
class MapPanel;
class PhrasesPanel;
class AutorizePanel;
class HttpClient;
class SettingsPanel;
class TForm2;
class WebEngineBrowser;

// The main window: the game in WebB, the menu bar strip above it, and the start-up and shut-down
// of the program.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Alerts default to message boxes; tests hand in their own.
    TForm1(QWebEngineProfile* profile, const Hosts& hosts, Alerts* alerts = nullptr,
           QWidget* parent = nullptr);
    ~TForm1() override;

    // W2 is created after this window; new windows and the Esc key lead there.
    void setSecondWindow(TForm2* w2) { m_w2 = w2; }
    // Shows the main game server's entry page: a player expects the game, not a blank page.
    void ShowEntryPage();

    ConfigList& configList() { return m_config; }
    DiagnosticLog& log() { return m_log; }
    ConfigStore& configStore() { return m_store; }
    GameNavigation& navigation() { return m_nav; }
    Browser& WebB();
    SettingsPanel& settings() { return *m_settings; }
    PhrasesPanel& phrases() { return *m_phrases; }
    BackpackPanel& backpack() { return *m_backpack; }
    TakeOffPanel& takeOff() { return *m_takeOff; }
    Chat& chat() { return m_chat; }
    bool IEVersionOk() const { return m_ieVersionOk; }
    QTimer& TimerEsc() { return m_timerEsc; }
    Accounts& accounts() { return *m_accounts; }
    HttpClient& HTTP() { return *m_http; }
    QWidget& ToolBar1();

    // The browser that receives a page the game opens in a new window; nullptr lets the engine
    // open a window of its own.
    Browser* WebBNewWindow2();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    bool FormClose();
    void ToolBar1Resize();
    void TimerEscTimer();
    void Check3Click();
    void ApplySavedSettings();

    void LoadAccounts();

    void BuildMenuBar();
    // The makers' site in W2, which comes forward to show it.
    void OpenMakersSite();
    void reportFailure(const Status& status);

    // Start-up duties of features that plug in here.
    void LoadFriends() {}
    void ReadFriendsOnline() {}
    void HideEmptyOnlineItems() {}

    const Hosts& m_hosts;
    MessageBoxAlerts m_boxes;
    Alerts& m_alerts;
    DiagnosticLog m_log;
    ConfigList m_config;
    ConfigStore m_store;

    WebEngineBrowser* m_webB;
    WebEngineBrowser* m_webChat;
    WebEngineBrowser* m_webOnC;
    WebEngineBrowser* m_webRuk;
    GameNavigation m_nav;
    HttpClient* m_http;
    std::unique_ptr<Accounts> m_accounts;
    AutorizePanel* m_autorize = nullptr;
    QList<QAction*> m_accountItems; // N01 to N05
    TForm2* m_w2 = nullptr;

    QFrame* m_toolBar;
    QFrame* m_panelMenu;
    ClickLabel* m_label4 = nullptr;
    MapPanel* m_map;
    SettingsPanel* m_settings;
    Chat m_chat;
    PhrasesPanel* m_phrases;
    AboutPanel* m_about;
    BackpackPanel* m_backpack;
    TakeOffPanel* m_takeOff;
    QTimer m_timerEsc;
    QTimer m_timerOnChar;

    // Process state set by the start-up sequence.
    bool m_ieVersionOk = false;
};

} // namespace orvix
