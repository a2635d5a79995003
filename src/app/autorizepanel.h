#pragma once

#include "app/floatingpanel.h"

class QLineEdit;
class QPushButton;

namespace orvix {

// The small login panel: a new login name and password, confirmed by "Ok" or Enter.
class AutorizePanel final : public FloatingPanel {
    Q_OBJECT
public:
    explicit AutorizePanel(QWidget* parent = nullptr);

    QLineEdit* NewLogin;
    QLineEdit* NewPass;
    QPushButton* XPButton1; // "Ok"
    QPushButton* XPButton2; // "X"

signals:
    void confirmed(const QString& login, const QString& password);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace orvix
