#include "w2/form2.h"

#include <QCloseEvent>

namespace orvix {

using namespace Qt::StringLiterals;

TForm2::TForm2(QWebEngineProfile* profile, QWidget* parent)
    : QMainWindow(parent),
      m_webB2(new WebEngineBrowser(profile, WebEngineBrowser::Visibility::Shown, this)) {
    setObjectName(u"Form2"_s);
    setWindowTitle(u"W2"_s);
    resize(800, 600);
    m_webB2->view()->setObjectName(u"WebB2"_s);
    setCentralWidget(m_webB2->view());
    // A page that starts loading here brings the window forward.
    connect(m_webB2, &Browser::BeforeNavigate2, this, &TForm2::BringForward);
}

void TForm2::BringForward() {
    show();
    raise();
    activateWindow();
}

void TForm2::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

} // namespace orvix
