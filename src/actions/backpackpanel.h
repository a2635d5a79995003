#pragma once

#include "app/floatingpanel.h"
#include "core/backpack.h"
#include "session/pagecapture.h"

class QPushButton;

namespace orvix {

class Browser;
class DiagnosticLog;
class GameNavigation;

// PanelRuk: the backpack items that can be put on, one row each, read from the game's backpack
// page loaded out of sight in WebRuk.
class BackpackPanel final : public FloatingPanel {
    Q_OBJECT
public:
    BackpackPanel(Browser& webRuk, GameNavigation& nav, DiagnosticLog& log, QWidget* parent);

    void RefreshBackpack();
    void LayoutBackpack();
    // The row click: put the row's item on. Row k from 1 to 25.
    void PutOn(int k);

    ClickLabel* row(int k) const { return m_rows[k - 1]; }
    QString putOnAddress(int k) const { return m_addresses[k - 1]; }
    QLabel* XPLabel14() const { return m_heading; }
    QPushButton* XPButton49() const { return m_refresh; }
    QPushButton* XPButton50() const { return m_close; }
    const PageBuffer& MemoRuk() const { return m_memo; }

private:
    void WebRukDocumentComplete();
    void readList(const QString& page);
    void placeButtons(int top);

    Browser& m_webRuk;
    GameNavigation& m_nav;
    DiagnosticLog& m_log;
    PageBuffer m_memo;
    QLabel* m_heading;
    ClickLabel* m_rows[kBackpackRows];
    QString m_addresses[kBackpackRows];
    QPushButton* m_refresh;
    QPushButton* m_close;
};

} // namespace orvix
