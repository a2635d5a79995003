#pragma once

#include "actions/chat.h"
#include "app/floatingpanel.h"
#include "core/status.h"

#include <QLabel>

#include <functional>

class QLineEdit;
class QPushButton;

namespace orvix {

class ConfigList;
class ConfigStore;

// One ready-made phrase: a click sends it, the pointer over it picks it for the editor, a
// right-click opens the editor.
class PhraseLabel final : public QLabel {
    Q_OBJECT
public:
    PhraseLabel(const QString& name, QWidget* parent);
    void setTextColor(const QColor& color);
    QColor textColor() const;

signals:
    void clicked();
    void entered();
    void left();
    void editRequested();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

// PanelFr with its ten phrases (configuration lines 48 to 57, colour name in 58), and the
// phrase editor PanFrRed beside it.
class PhrasesPanel final : public FloatingPanel {
    Q_OBJECT
public:
    static constexpr int kPhrases = 10;
    static constexpr int kFirstLine = 48;

    // The editor is a panel of the main window of its own, so it shares this panel's parent.
    PhrasesPanel(Chat& chat, ConfigList& config, ConfigStore& store,
                 std::function<void(const Status&)> reportFailure, QWidget* parent);

    void LoadPhrases();
    void SelectPhrase(int line);
    // The label's click: fresh phrases, then the toggle.
    void Open();
    void resetPick() { m_pickArmed = true; }

    PhraseLabel* phrase(int n) const { return m_phrases[n - 1]; } // n from 1 to 10
    FloatingPanel* PanFrRed() const { return m_editor; }
    QLineEdit* EditFr() const { return m_edit; }
    QPushButton* XPButton41() const { return m_close; }
    QPushButton* XPButton42() const { return m_editorClose; }
    QPushButton* XPButton43() const { return m_done; }
    bool PhrasePickArmed() const { return m_pickArmed; }
    int PhraseEditLine() const { return m_editLine; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PhraseClick(int n);
    void PopFRPopup(int n);
    void storeEdit(const QString& text);

    Chat& m_chat;
    ConfigList& m_config;
    ConfigStore& m_store;
    std::function<void(const Status&)> m_reportFailure;
    PhraseLabel* m_phrases[kPhrases];
    QPushButton* m_close;
    FloatingPanel* m_editor;
    QLineEdit* m_edit;
    QPushButton* m_done;
    QPushButton* m_editorClose;
    bool m_pickArmed = true;
    int m_editLine = 0;
};

} // namespace orvix
