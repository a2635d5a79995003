#include "app/autorizepanel.h"

#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace orvix {

using namespace Qt::StringLiterals;

AutorizePanel::AutorizePanel(QWidget* parent)
    : FloatingPanel(u"AutorizePanel"_s, QRect(304, 152, 185, 89), parent) {

    auto* box = new QGroupBox(u"Авторизация:"_s, this);
    box->setGeometry(4, 2, 177, 83);
    NewLogin = new QLineEdit(u"Логин"_s, box);
    NewLogin->setObjectName(u"NewLogin"_s);
    NewLogin->setAccessibleName(u"Логин"_s);
    NewLogin->setGeometry(8, 20, 161, 21);
    NewPass = new QLineEdit(u"Пароль"_s, box);
    NewPass->setObjectName(u"NewPass"_s);
    NewPass->setAccessibleName(u"Пароль"_s);
    NewPass->setEchoMode(QLineEdit::Password);
    NewPass->setGeometry(8, 46, 110, 21);
    XPButton1 = new QPushButton(u"Ok"_s, box);
    XPButton1->setObjectName(u"XPButton1"_s);
    XPButton1->setGeometry(122, 46, 30, 21);
    XPButton2 = new QPushButton(u"X"_s, box);
    XPButton2->setObjectName(u"XPButton2"_s);
    XPButton2->setAccessibleName(u"Закрыть"_s);
    XPButton2->setGeometry(154, 46, 17, 21);

    const auto confirm = [this] { emit confirmed(NewLogin->text(), NewPass->text()); };
    connect(XPButton1, &QPushButton::clicked, this, confirm);
    connect(NewLogin, &QLineEdit::returnPressed, this, confirm);
    connect(NewPass, &QLineEdit::returnPressed, this, confirm);
    connect(XPButton2, &QPushButton::clicked, this, &QWidget::hide);
    // Every click into a field empties it, typed text included.
    NewLogin->installEventFilter(this);
    NewPass->installEventFilter(this);
    hide();
}

bool AutorizePanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress)
        if (auto* edit = qobject_cast<QLineEdit*>(watched))
            edit->clear();
    return QFrame::eventFilter(watched, event);
}

} // namespace orvix
