#include "actions/phrasespanel.h"

#include "core/configlist.h"
#include "core/configstore.h"
#include "core/gameaddress.h"

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace orvix {

using namespace Qt::StringLiterals;

namespace {

const QColor kNavy(0, 0, 128);
const QColor kHover(128, 0, 255);

QPushButton* closeButton(const QString& name, QWidget* parent, const QRect& geometry) {
    auto* button = new QPushButton(u"X"_s, parent);
    button->setObjectName(name);
    button->setAccessibleName(u"Закрыть"_s);
    button->setGeometry(geometry);
    return button;
}

} // namespace

PhraseLabel::PhraseLabel(const QString& name, QWidget* parent) : QLabel(parent) {
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont face(u"Times New Roman"_s);
    face.setPixelSize(12);
    setFont(face);
    setTextColor(kNavy);
}

void PhraseLabel::setTextColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

QColor PhraseLabel::textColor() const {
    return palette().color(QPalette::WindowText);
}

void PhraseLabel::enterEvent(QEnterEvent* event) {
    emit entered();
    QLabel::enterEvent(event);
}

void PhraseLabel::leaveEvent(QEvent* event) {
    emit left();
    QLabel::leaveEvent(event);
}

void PhraseLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void PhraseLabel::contextMenuEvent(QContextMenuEvent* event) {
    emit editRequested();
    event->accept();
}

PhrasesPanel::PhrasesPanel(Chat& chat, ConfigList& config, ConfigStore& store,
                           std::function<void(const Status&)> reportFailure, QWidget* parent)
    : FloatingPanel(u"PanelFr"_s, QRect(3, 25, 254, 200), parent), m_chat(chat), m_config(config),
      m_store(store), m_reportFailure(std::move(reportFailure)) {
    auto* group = new QGroupBox(u"Фразы:"_s, this);
    group->setGeometry(4, 2, 246, 176);
    for (int n = 1; n <= kPhrases; ++n) {
        auto* label = new PhraseLabel(u"XPPanel%1"_s.arg(n + 1), group);
        label->setGeometry(4, 14 + (n - 1) * 16, 239, 17);
        connect(label, &PhraseLabel::clicked, this, [this, n] { PhraseClick(n); });
        connect(label, &PhraseLabel::entered, this, [this, n, label] {
            label->setTextColor(kHover);
            label->setToolTip(label->text());
            if (m_pickArmed)
                SelectPhrase(kFirstLine - 1 + n);
        });
        connect(label, &PhraseLabel::left, this,
                [this, label] { label->setTextColor(m_chat.PhraseFontColor()); });
        connect(label, &PhraseLabel::editRequested, this, [this, n] { PopFRPopup(n); });
        m_phrases[n - 1] = label;
    }
    m_close = closeButton(u"XPButton41"_s, this, QRect(233, 180, 17, 17));
    connect(m_close, &QPushButton::clicked, this, &FloatingPanel::Toggle);

    m_editor = new FloatingPanel(u"PanFrRed"_s, QRect(3, 226, 254, 66), parent);
    auto* editGroup = new QGroupBox(u"Редактор фраз:"_s, m_editor);
    editGroup->setGeometry(4, 2, 246, 60);
    m_edit = new QLineEdit(editGroup);
    m_edit->setObjectName(u"EditFr"_s);
    m_edit->setAccessibleName(u"Фраза"_s);
    m_edit->setGeometry(5, 15, 236, 20);
    m_edit->installEventFilter(this);
    connect(m_edit, &QLineEdit::textChanged, m_edit, &QLineEdit::setToolTip);
    m_done = new QPushButton(u"Готово"_s, editGroup);
    m_done->setObjectName(u"XPButton43"_s);
    m_done->setGeometry(5, 38, 75, 19);
    connect(m_done, &QPushButton::clicked, this, [this] { storeEdit(First50(m_edit->text())); });
    m_editorClose = closeButton(u"XPButton42"_s, editGroup, QRect(224, 39, 17, 17));
    connect(m_editorClose, &QPushButton::clicked, this, [this] {
        m_pickArmed = true;
        m_editor->hide();
    });
}

void PhrasesPanel::LoadPhrases() {
    for (int n = 1; n <= kPhrases; ++n)
        m_phrases[n - 1]->setText(First50(m_config.line(kFirstLine - 1 + n)));
    m_chat.setChatColor(m_config.line(58));
}

void PhrasesPanel::SelectPhrase(int line) {
    m_edit->setText(m_config.line(line));
    m_editLine = line;
}

void PhrasesPanel::Open() {
    LoadPhrases();
    Toggle();
}

void PhrasesPanel::PhraseClick(int n) {
    HideAndFlag();
    m_chat.SendChat(First50(m_config.line(kFirstLine - 1 + n)));
}

void PhrasesPanel::PopFRPopup(int n) {
    // A right-click from the keyboard comes without the pointer entering first.
    if (m_pickArmed)
        SelectPhrase(kFirstLine - 1 + n);
    m_pickArmed = false;
    m_editor->show();
    m_editor->raise();
}

void PhrasesPanel::storeEdit(const QString& text) {
    m_editor->hide();
    // Only a phrase line: an editor that never picked one must not overwrite a login.
    if (m_editLine >= kFirstLine && m_editLine < kFirstLine + kPhrases)
        m_config.setLine(m_editLine, text);
    LoadPhrases();
    const Status saved = m_store.SaveConfiguration();
    m_pickArmed = true;
    if (!saved.ok() && m_reportFailure)
        m_reportFailure(saved);
}

bool PhrasesPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            storeEdit(m_edit->text());
            return true;
        }
    }
    return FloatingPanel::eventFilter(watched, event);
}

} // namespace orvix
