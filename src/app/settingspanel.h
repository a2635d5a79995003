#pragma once

#include "app/floatingpanel.h"
#include "core/status.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace orvix {

class ConfigList;
class ConfigStore;

// The settings panel's controls: the live settings that the rest of the program reads.
class SettingsPanel final : public FloatingPanel {
    Q_OBJECT
public:
    explicit SettingsPanel(QWidget* parent = nullptr);

    // "Сохранить": lines 62 to 67 from the controls, the panel hidden, the list saved. An
    // interval caption that is no number stops it after line 64, with the panel still open.
    Status Save(ConfigList& config, ConfigStore& store);

    QGroupBox* XPGroupBox11;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QCheckBox* Check3;
    QCheckBox* XPCheckBox1;
    ClickLabel* XPLabel9;  // "<"
    QLabel* XPLabel10;     // minutes between friends-online checks
    ClickLabel* XPLabel11; // ">"
    QRadioButton* RB[4];
    QPushButton* XPButton45; // "Сохранить"
    QPushButton* XPButton46; // "X"

private:
    void stepMinutes(int by);
};

} // namespace orvix
