#include "cart/secimgrubu.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zenvo {

SecimGrubu::SecimGrubu(const QString &title, QWidget *parent)
    : QGroupBox(title, parent), m_group(new QButtonGroup(this)), m_layout(new QVBoxLayout(this)) {
    m_layout->setContentsMargins(8, 4, 4, 4);
    m_layout->setSpacing(2);
    m_layout->addStretch(1);
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::buttonClicked, this, [this](QAbstractButton *b) {
        for (int i = 0; i < m_items.size(); ++i) {
            if (m_items[i].button == b) {
                emit clicked(i);
                return;
            }
        }
    });
}

void SecimGrubu::clear() {
    for (const Item &item : std::as_const(m_items)) {
        m_group->removeButton(item.button);
        delete item.button;
    }
    m_items.clear();
}

void SecimGrubu::addItem(const QString &text, int id) {
    auto *b = new QRadioButton(text, this);
    b->setObjectName(QStringLiteral("secim%1").arg(m_items.size()));
    m_group->addButton(b);
    m_layout->insertWidget(int(m_items.size()), b);
    m_items.append({b, id});
}

QString SecimGrubu::itemText(int index) const {
    return index >= 0 && index < m_items.size() ? m_items[index].button->text() : QString();
}

int SecimGrubu::itemId(int index) const {
    return index >= 0 && index < m_items.size() ? m_items[index].id : 0;
}

QRadioButton *SecimGrubu::button(int index) const {
    return index >= 0 && index < m_items.size() ? m_items[index].button : nullptr;
}

int SecimGrubu::itemIndex() const {
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].button->isChecked())
            return i;
    }
    return -1;
}

void SecimGrubu::setItemIndex(int index) {
    if (index >= 0 && index < m_items.size()) {
        m_items[index].button->setChecked(true);
        return;
    }
    // An exclusive group keeps one button checked; lift that for a moment to clear it.
    m_group->setExclusive(false);
    for (const Item &item : std::as_const(m_items))
        item.button->setChecked(false);
    m_group->setExclusive(true);
}

void SecimGrubu::clickItem(int index) {
    if (QRadioButton *b = button(index))
        b->click();
}

} // namespace zenvo
