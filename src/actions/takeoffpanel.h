#pragma once

#include "app/floatingpanel.h"

#include <functional>

namespace orvix {

class GameNavigation;

// PanelSnyt: one button per equipment slot and "Все"; it stays open after a take-off.
class TakeOffPanel final : public FloatingPanel {
    Q_OBJECT
public:
    // `afterTakeOff` refreshes the backpack list when that panel is shown.
    TakeOffPanel(GameNavigation& nav, std::function<void()> afterTakeOff, QWidget* parent);

    void TakeOffSlot(const QString& code);
    void XPButton36Click(); // "Все"

private:
    void returnToRoom();

    GameNavigation& m_nav;
    std::function<void()> m_afterTakeOff;
};

} // namespace orvix
