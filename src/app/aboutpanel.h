#pragma once

#include "app/floatingpanel.h"

class QPushButton;

namespace orvix {

// PanelAutor: who made the program and a link to the makers' site.
class AboutPanel final : public FloatingPanel {
    Q_OBJECT
public:
    AboutPanel(const QString& siteAddress, QWidget* parent);

    QLabel* StaticText57() const { return m_link; }
    QPushButton* StaticText56() const { return m_close; }

signals:
    void siteRequested();

private:
    QLabel* m_link;
    QPushButton* m_close;
};

} // namespace orvix
