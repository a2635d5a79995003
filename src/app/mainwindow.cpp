#include "app/mainwindow.h"

#include "actions/backpackpanel.h"
#include "actions/mappanel.h"
#include "actions/phrasespanel.h"
#include "actions/takeoffpanel.h"
#include "app/aboutpanel.h"
#include "app/autorizepanel.h"
#include "app/esckey.h"
#include "app/floatingpanel.h"
#include "app/httpclient.h"
#include "app/settingspanel.h"
#include "browser/webenginebrowser.h"
#include "core/gameaddress.h"
#include "core/programdir.h"
#include "session/accounts.h"
#include "w2/form2.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace orvix {

using namespace Qt::StringLiterals;

TForm1::TForm1(QWebEngineProfile* profile, const Hosts& hosts, Alerts* alerts, QWidget* parent)
    : QMainWindow(parent), m_hosts(hosts), m_boxes(this), m_alerts(alerts ? *alerts : m_boxes),
      m_log(m_alerts), m_store(m_config, m_log, m_alerts),
      m_webB(new WebEngineBrowser(profile, WebEngineBrowser::Visibility::Shown, this)),
      m_webChat(new WebEngineBrowser(profile, WebEngineBrowser::Visibility::Hidden, this)),
      m_webOnC(new WebEngineBrowser(profile, WebEngineBrowser::Visibility::Hidden, this)),
      m_webRuk(new WebEngineBrowser(profile, WebEngineBrowser::Visibility::Hidden, this)),
      m_nav(*m_webB, hosts), m_http(new HttpClient(profile, this)), m_chat(*m_webChat, m_nav) {
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Orvix - Dazu"_s);
    m_webChat->setObjectName(u"WebChat"_s);
    m_webOnC->setObjectName(u"WebOnC"_s);
    m_webRuk->setObjectName(u"WebRuk"_s);
    m_http->setObjectName(u"HTTP"_s);

    QMenuBar* mm = menuBar();
    mm->setObjectName(u"MM"_s);
    QMenu* accountsMenu = mm->addMenu(u"Авторизация"_s);
    for (const QString& title : {u"Информация"_s, u"Tarvoовцы"_s})
        mm->addMenu(title);
    QAction* settingsItem = mm->addAction(u"Настройки"_s);
    settingsItem->setObjectName(u"N34"_s);
    QAction* aboutItem = mm->addAction(u"Об авторах"_s);
    aboutItem->setObjectName(u"N38"_s);

    auto* central = new QWidget(this);
    // The menu bar and the panels were laid out for an 8-point face of Arial's widths; a wider
    // face runs the fixed-position labels into each other.
    QFont panelFont = central->font();
    panelFont.setFamilies({u"Arial"_s, u"Liberation Sans"_s, u"Nimbus Sans"_s, u"DejaVu Sans"_s});
    panelFont.setPixelSize(11);
    central->setFont(panelFont);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_toolBar = new QFrame(central);
    m_toolBar->setObjectName(u"ToolBar1"_s);
    m_toolBar->setFixedHeight(22);
    m_toolBar->installEventFilter(this);
    m_panelMenu = new QFrame(m_toolBar);
    m_panelMenu->setObjectName(u"PanelMenu"_s);
    m_panelMenu->setGeometry(0, 2, 0, 18);
    m_panelMenu->setAutoFillBackground(true);
    QPalette bar = m_panelMenu->palette();
    bar.setColor(QPalette::Window, QColor(224, 224, 226));
    m_panelMenu->setPalette(bar);
    layout->addWidget(m_toolBar);
    m_webB->view()->setObjectName(u"WebB"_s);
    layout->addWidget(m_webB->view(), 1);
    setCentralWidget(central);

    m_settings = new SettingsPanel(central);
    m_map = new MapPanel(m_nav, central);
    m_phrases = new PhrasesPanel(m_chat, m_config, m_store,
                                 [this](const Status& s) { reportFailure(s); }, central);
    m_backpack = new BackpackPanel(*m_webRuk, m_nav, m_log, central);
    m_takeOff = new TakeOffPanel(
        m_nav,
        [this] {
            // Read the list once the game has answered the take-off, or it misses the item.
            if (!m_backpack->isHidden())
                m_webB->WhenFrameLoadsDone([this] { m_backpack->RefreshBackpack(); });
        },
        central);
    m_about = new AboutPanel(Hosts::base(m_hosts.makers), central);
    connect(m_about, &AboutPanel::siteRequested, this, &TForm1::OpenMakersSite);
    connect(aboutItem, &QAction::triggered, m_about, &FloatingPanel::Toggle);
    BuildMenuBar();
    connect(settingsItem, &QAction::triggered, m_settings, &FloatingPanel::Toggle);
    connect(m_settings->XPButton45, &QPushButton::clicked, this,
            [this] { reportFailure(m_settings->Save(m_config, m_store)); });

    m_autorize = new AutorizePanel(central);
    m_accounts = std::make_unique<Accounts>(
        *m_webB, m_nav, m_config, m_store, m_alerts,
        Accounts::Hooks{[this] { return m_ieVersionOk; }, [this] { close(); },
                        [this] { LoadAccounts(); }, [this] { m_autorize->hide(); }});
    QAction* other = accountsMenu->addAction(u"Другой..."_s);
    other->setObjectName(u"N2"_s);
    connect(other, &QAction::triggered, this, [this] {
        m_autorize->show();
        m_autorize->raise();
    });
    for (int k = 1; k <= Accounts::kSlots; ++k) {
        QAction* item = accountsMenu->addAction(QString());
        item->setObjectName(u"N0%1"_s.arg(k));
        item->setVisible(false);
        connect(item, &QAction::triggered, this, [this, k] { m_accounts->LoginSaved(k); });
        m_accountItems << item;
    }
    connect(m_autorize, &AutorizePanel::confirmed, this,
            [this](const QString& login, const QString& password) {
                reportFailure(m_accounts->AddAccount(login, password));
            });

    m_timerEsc.setObjectName(u"TimerEsc"_s);
    m_timerEsc.setInterval(100);
    m_timerOnChar.setObjectName(u"TimerOnChar"_s);
    connect(&m_timerEsc, &QTimer::timeout, this, &TForm1::TimerEscTimer);
    // Setting the box from code runs the handler exactly when its state changes.
    connect(m_settings->Check3, &QCheckBox::toggled, this, &TForm1::Check3Click);
    m_webB->setNewWindowHandler([this] { return WebBNewWindow2(); });
    WatchEscKey();

    resize(602, 537);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormCreate();
}

TForm1::~TForm1() = default;

Browser& TForm1::WebB() {
    return *m_webB;
}

QWidget& TForm1::ToolBar1() {
    return *m_toolBar;
}

void TForm1::FormCreate() {
    const QString version = m_webB->EngineVersion();
    m_settings->XPGroupBox11->setTitle(u"System: IE version - "_s + EngineVersionPrefix(version));
    m_ieVersionOk = IsAcceptedEngineVersion(version);

    m_phrases->resetPick();
    m_chat.reset();

    if (!DiagnosticLog::RemoveOldFile())
        m_alerts.message(u"BugRep-is nil"_s);
    m_store.LoadConfiguration();
    LoadAccounts();
    LoadFriends();
    ApplySavedSettings();
    HideEmptyOnlineItems();
}

void TForm1::ApplySavedSettings() {
    const auto ok = [this](int line) { return m_config.line(line) == u"ok"_s; };
    if (ok(62))
        m_settings->Check1->setChecked(true);
    if (ok(63))
        m_settings->Check2->setChecked(true);
    if (!m_config.line(65).isEmpty())
        m_settings->XPLabel10->setText(m_config.line(65));
    if (ok(64)) {
        m_settings->XPCheckBox1->setChecked(true);
        ReadFriendsOnline();
    }
    if (ok(66)) {
        m_settings->Check3->setChecked(true);
        m_timerEsc.start();
    }
    for (int i = 0; i < 4; ++i)
        if (m_config.line(67) == QString::number(i + 1))
            m_settings->RB[i]->setChecked(true);
}

void TForm1::ShowEntryPage() {
    m_webB->Navigate(m_nav.MainServerBase());
}

void TForm1::BuildMenuBar() {
    struct Item {
        const char16_t* name;
        const char16_t* caption;
        int left;
        std::function<void()> click; // empty: the feature plugs in later, or a separator
    };
    const Item items[] = {
        {u"XPLabel1", u"Обновить", 8, [this] { m_nav.NavigateInFrame(u"main"_s, u"battle.pl"_s); }},
        {u"XPLabel6", u"Фразы", 62, [this] { m_phrases->Open(); }},
        {u"XPLabel13", u"Одеть", 106,
         [this] {
             m_backpack->RefreshBackpack();
             m_backpack->show();
             m_backpack->raise();
         }},
        {u"XPLabel15", u"\\", 138, {}},
        {u"XPLabel5", u"Снять", 145, [this] { m_takeOff->Toggle(); }},
        {u"XPLabel7", u"Знакомых OnLine -", 181, {}},
        {u"XPLabel16", u"Приват в бою", 298, {}},
        {u"XPLabel2", u"Мини-карта", 377, [this] { m_map->Toggle(); }},
        {u"XPLabel3", u"Окно W2", 486,
         [this] {
             if (m_w2)
                 m_w2->BringForward();
         }},
    };
    for (const Item& item : items) {
        const bool separator = QStringView(item.name) == u"XPLabel15";
        auto* label = new ClickLabel(QString::fromUtf16(item.name),
                                     QString::fromUtf16(item.caption), m_panelMenu, !separator);
        label->move(item.left, 1);
        label->adjustSize();
        if (item.click)
            connect(label, &ClickLabel::clicked, this, item.click);
    }
    m_label4 = new ClickLabel(u"XPLabel4"_s, u"Orvix-Dazu"_s, m_toolBar);
    m_label4->setGeometry(584, 3, 60, 16);
    connect(m_label4, &ClickLabel::clicked, this, &TForm1::OpenMakersSite);
}

void TForm1::OpenMakersSite() {
    if (!m_w2)
        return;
    m_w2->WebB2()->Navigate(Hosts::base(m_hosts.makers));
    m_w2->BringForward();
}

void TForm1::reportFailure(const Status& status) {
    if (!status.ok())
        QMessageBox::critical(this, windowTitle(), status.message());
}

void TForm1::LoadAccounts() {
    const QStringList names = m_accounts->Names();
    for (int k = 0; k < m_accountItems.size(); ++k) {
        m_accountItems[k]->setText(names.value(k));
        m_accountItems[k]->setVisible(!names.value(k).isEmpty());
    }
}

bool TForm1::FormClose() {
    if (m_settings->Check1->isChecked())
        for (int line = 0; line <= 9; ++line)
            m_config.setLine(line, QString());
    const Status saved = m_store.SaveConfiguration();
    if (!saved.ok()) {
        // The window stays open, so nothing the user set is lost.
        QMessageBox::critical(this, windowTitle(), saved.message());
        return false;
    }
    QFile::remove(ProgramFile(u"clock.htm"_s));
    return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!FormClose()) {
        event->ignore();
        return;
    }
    event->accept();
    // W2 or a window of the engine's own may still be open; closing this one ends the program.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_toolBar && event->type() == QEvent::Resize)
        ToolBar1Resize();
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::ToolBar1Resize() {
    if (!m_label4)
        return;
    m_panelMenu->resize(m_toolBar->width(), m_panelMenu->height());
    m_label4->move(m_toolBar->width() - 60, m_label4->y());
}

Browser* TForm1::WebBNewWindow2() {
    if (m_settings->Check2->isChecked() || !m_w2)
        return nullptr;
    return m_w2->WebB2();
}

void TForm1::TimerEscTimer() {
    if (m_w2 && EscKeyDown())
        m_w2->BringForward();
}

void TForm1::Check3Click() {
    if (m_settings->Check3->isChecked())
        m_timerEsc.start();
    else
        m_timerEsc.stop();
}

} // namespace orvix
