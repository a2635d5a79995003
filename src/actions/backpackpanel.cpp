#include "actions/backpackpanel.h"

#include "browser/browser.h"
#include "core/gameaddress.h"
#include "session/gamenavigation.h"

#include <QPushButton>

namespace orvix {

using namespace Qt::StringLiterals;

namespace {

constexpr int kWidth = 161, kShortHeight = 57, kButtonsTop = 35, kPitch = 16;

// Row k's component name: the first row kept its own, the others were added as 12 to 35.
QString rowName(int k) {
    return k == 1 ? u"XPPanel1"_s : u"XPPanel%1"_s.arg(k + 10);
}

// Names as the page writes them: "&amp;" would read as such on a row.
QString shownName(QString name) {
    name.replace(u"&lt;"_s, u"<"_s).replace(u"&gt;"_s, u">"_s).replace(u"&quot;"_s, u"\""_s);
    name.replace(u"&nbsp;"_s, QString(QChar(0xA0)));
    return name.replace(u"&amp;"_s, u"&"_s);
}

} // namespace

BackpackPanel::BackpackPanel(Browser& webRuk, GameNavigation& nav, DiagnosticLog& log,
                             QWidget* parent)
    : FloatingPanel(u"PanelRuk"_s, QRect(232, 25, kWidth, 48), parent), m_webRuk(webRuk),
      m_nav(nav), m_log(log) {
    m_heading = new QLabel(u"Рюкзак"_s, this);
    m_heading->setObjectName(u"XPLabel14"_s);
    m_heading->setGeometry(7, 1, kWidth - 14, 14);
    for (int k = 1; k <= kBackpackRows; ++k) {
        auto* row = new ClickLabel(rowName(k), QString(), this);
        row->setGeometry(5, 15 + kPitch * (k - 1), 150, 17);
        row->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        connect(row, &ClickLabel::clicked, this, [this, k] { PutOn(k); });
        m_rows[k - 1] = row;
    }
    m_refresh = new QPushButton(u"Обновить..."_s, this);
    m_refresh->setObjectName(u"XPButton49"_s);
    m_close = new QPushButton(u"X"_s, this);
    m_close->setObjectName(u"XPButton50"_s);
    m_close->setAccessibleName(u"Закрыть"_s);
    placeButtons(kButtonsTop);
    connect(m_refresh, &QPushButton::clicked, this, &BackpackPanel::RefreshBackpack);
    connect(m_close, &QPushButton::clicked, this, &QWidget::hide);
    connect(&m_webRuk, &Browser::DocumentComplete, this, &BackpackPanel::WebRukDocumentComplete);
}

void BackpackPanel::placeButtons(int top) {
    m_refresh->setGeometry(40, top, 90, 16);
    m_close->setGeometry(136, top, 17, 17);
}

void BackpackPanel::RefreshBackpack() {
    resize(kWidth, kShortHeight);
    placeButtons(kButtonsTop);
    m_webRuk.Navigate(m_nav.ServerBase() + u"main.pl?edit=1&"_s + CacheBuster());
    m_rows[0]->setText(u"Проверка..."_s);
    m_rows[0]->show();
    m_rows[1]->hide();
    m_rows[2]->hide();
}

void BackpackPanel::WebRukDocumentComplete() {
    for (ClickLabel* row : m_rows)
        row->clear();
    CapturePageHtml(m_webRuk, m_memo, m_log, [this](const QString&) { readList(m_memo.text()); });
}

void BackpackPanel::readList(const QString& page) {
    const BackpackReading reading = ReadBackpack(page);
    if (!reading.isBackpackPage)
        return;
    m_heading->setText(u"Рюкзак: "_s + reading.weight);
    for (int k = 1; k <= reading.items.size(); ++k) {
        const auto& item = reading.items[k - 1];
        m_rows[k - 1]->setText(shownName(item.name));
        m_addresses[k - 1] = PutOnAddress(item, CacheBuster());
    }
    LayoutBackpack();
}

void BackpackPanel::LayoutBackpack() {
    int height = kShortHeight, top = kButtonsTop;
    if (m_rows[0]->text().isEmpty())
        m_rows[0]->setText(u"Пусто.."_s);
    m_rows[0]->show();
    for (int k = 2; k <= kBackpackRows; ++k) {
        ClickLabel* row = m_rows[k - 1];
        if (row->text().isEmpty()) {
            row->hide();
            continue;
        }
        height += kPitch;
        top += kPitch;
        row->show();
    }
    resize(kWidth, height);
    placeButtons(top);
}

void BackpackPanel::PutOn(int k) {
    const QString& address = m_addresses[k - 1];
    // A row that never held an item has nothing to put on; the request would be meaningless.
    if (address.isEmpty())
        return;
    m_webRuk.Navigate(m_nav.ServerBase() + address + u'&' + CacheBuster());
    m_nav.PostInFrame(u"battle.pl"_s, u"main"_s, u"battle="_s + CacheBuster());
}

} // namespace orvix
