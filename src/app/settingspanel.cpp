#include "app/settingspanel.h"

#include "core/configlist.h"
#include "core/configstore.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace orvix {

using namespace Qt::StringLiterals;

namespace {

template <typename W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

} // namespace

SettingsPanel::SettingsPanel(QWidget* parent)
    : FloatingPanel(u"PanelNtr"_s, QRect(131, 25, 214, 248), parent) {
    auto* layout = new QVBoxLayout(this);

    XPGroupBox11 = named(new QGroupBox(u"System:"_s, this), u"XPGroupBox11"_s);
    auto* system = new QVBoxLayout(XPGroupBox11);
    Check1 = named(new QCheckBox(u"Не сохранять L/P"_s), u"Check1"_s);
    Check2 = named(new QCheckBox(u"Не использовать W2"_s), u"Check2"_s);
    Check3 = named(new QCheckBox(u"Использовать Esc для W2"_s), u"Check3"_s);
    for (QCheckBox* box : {Check1, Check2, Check3})
        system->addWidget(box);
    layout->addWidget(XPGroupBox11);

    auto* friends = new QGroupBox(u"Знакомые OnLine: "_s, this);
    auto* row = new QHBoxLayout(friends);
    XPCheckBox1 = named(new QCheckBox(u"Проверять,"_s), u"XPCheckBox1"_s);
    XPLabel10 = named(new QLabel(u"00"_s), u"XPLabel10"_s);
    row->addWidget(XPCheckBox1);
    row->addWidget(new QLabel(u"каждые"_s));
    row->addWidget(XPLabel10);
    row->addWidget(new QLabel(u"мин."_s));
    layout->addWidget(friends);

    auto* analyser = new QGroupBox(u"Анализатор лога:"_s, this);
    auto* radios = new QVBoxLayout(analyser);
    const QString captions[4] = {u"SH"_s, u"Velnar"_s, u"Tarvo"_s, u"Нет"_s};
    for (int i = 0; i < 4; ++i) {
        RB[i] = named(new QRadioButton(captions[i]), u"RB%1"_s.arg(i + 1));
        radios->addWidget(RB[i]);
    }
    layout->addWidget(analyser);

    auto* buttons = new QHBoxLayout();
    XPButton45 = named(new QPushButton(u"Сохранить"_s), u"XPButton45"_s);
    XPButton46 = named(new QPushButton(u"X"_s), u"XPButton46"_s);
    XPButton46->setAccessibleName(u"Закрыть"_s);
    buttons->addWidget(XPButton45);
    buttons->addWidget(XPButton46);
    layout->addLayout(buttons);
    connect(XPButton46, &QPushButton::clicked, this, &FloatingPanel::Toggle);
}

Status SettingsPanel::Save(ConfigList& config, ConfigStore& store) {
    const auto flag = [](const QCheckBox* box) { return box->isChecked() ? u"ok"_s : u"no"_s; };
    config.setLine(62, flag(Check1));
    config.setLine(63, flag(Check2));
    config.setLine(64, flag(XPCheckBox1));
    bool isNumber = false;
    const int minutes = XPLabel10->text().toInt(&isNumber);
    if (!isNumber)
        return Status::failure(u"'%1' is not a valid integer value"_s.arg(XPLabel10->text()));
    config.setLine(65, minutes != 0 ? XPLabel10->text() : QString());
    config.setLine(66, flag(Check3));
    for (int i = 0; i < 4; ++i)
        if (RB[i]->isChecked())
            config.setLine(67, QString::number(i + 1));
    Toggle();
    return store.SaveConfiguration();
}

} // namespace orvix
