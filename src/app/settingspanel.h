#pragma once

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace orvix {

// The settings panel's controls: the live settings that the rest of the program reads.
class SettingsPanel final : public QFrame {
    Q_OBJECT
public:
    explicit SettingsPanel(QWidget* parent = nullptr);

    QGroupBox* XPGroupBox11;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QCheckBox* Check3;
    QCheckBox* XPCheckBox1;
    QLabel* XPLabel10;
    QRadioButton* RB[4];
};

} // namespace orvix
