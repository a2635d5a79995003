#pragma once

#include "actions/minimap.h"
#include "app/floatingpanel.h"

#include <memory>

class QPushButton;

namespace orvix {

// PanelMap: the room buttons in their group boxes, the beginners' sub-panel and "X".
class MapPanel final : public FloatingPanel {
    Q_OBJECT
public:
    MapPanel(GameNavigation& nav, QWidget* parent);

    FloatingPanel* PanelMsml() const { return m_msml; }

private:
    QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption, int x,
                           int y);

    MiniMap m_map;
    FloatingPanel* m_msml;
};

} // namespace orvix
