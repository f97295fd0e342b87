#pragma once

#include <QGroupBox>
#include <QList>

class QButtonGroup;
class QRadioButton;
class QVBoxLayout;

namespace zenvo {

// A titled group of radio buttons, one per item, each item carrying the server's integer id.
// At most one item is chosen; itemIndex() is -1 while none is.
class SecimGrubu final : public QGroupBox {
    Q_OBJECT
public:
    explicit SecimGrubu(const QString &title, QWidget *parent = nullptr);

    void clear(); // removes every item; nothing is chosen afterwards
    void addItem(const QString &text, int id);
    int count() const { return int(m_items.size()); }
    QString itemText(int index) const;
    int itemId(int index) const;
    QRadioButton *button(int index) const;

    int itemIndex() const;
    void setItemIndex(int index); // -1 chooses none
    // Chooses an item as a click of the user does (clicked is emitted).
    void clickItem(int index);

signals:
    // The user clicked an item (also the arrow keys, which move the choice).
    void clicked(int index);

private:
    struct Item {
        QRadioButton *button;
        int id;
    };
    QList<Item> m_items;
    QButtonGroup *m_group;
    QVBoxLayout *m_layout;
};

} // namespace zenvo
