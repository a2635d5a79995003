#pragma once

#include "browser/webenginebrowser.h"

#include <QMainWindow>

namespace orvix {

// W2, the window for everything opened beside the game. Closing it only hides it.
class TForm2 final : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm2(QWebEngineProfile* profile, QWidget* parent = nullptr);

    WebEngineBrowser* WebB2() const { return m_webB2; }
    void BringForward();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    WebEngineBrowser* m_webB2;
};

} // namespace orvix
