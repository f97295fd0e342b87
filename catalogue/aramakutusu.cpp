#include "catalogue/aramakutusu.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace zenvo {

QString AramaMetniCevir(QString text) {
    for (QChar &c : text) {
        switch (c.unicode()) {
        case u'ğ':
            c = u'g';
            break;
        case u'Ğ':
            c = u'G';
            break;
        case u'ü':
            c = u'u';
            break;
        case u'Ü':
            c = u'U';
            break;
        case u'ş':
            c = u's';
            break;
        case u'Ş':
            c = u'S';
            break;
        case u'ö':
            c = u'o';
            break;
        case u'Ö':
            c = u'O';
            break;
        case u'ç':
            c = u'c';
            break;
        case u'Ç':
            c = u'C';
            break;
        case u'ı':
        case u'İ':
            c = u'I';
            break;
        default:
            break;
        }
    }
    return text;
}

AramaKutusuFiltresi::AramaKutusuFiltresi(std::function<void()> ara, QObject *parent)
    : QObject(parent), m_ara(std::move(ara)) {}

bool AramaKutusuFiltresi::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            if (m_ara)
                m_ara();
            return true;
        }
        const QString mapped = AramaMetniCevir(key->text());
        if (mapped != key->text()) {
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->nativeScanCode(),
                           key->nativeVirtualKey(), key->nativeModifiers(), mapped,
                           key->isAutoRepeat(), ushort(key->count()));
            QCoreApplication::sendEvent(watched, &copy);
            return true;
        }
    } else if (event->type() == QEvent::InputMethod) {
        auto *im = static_cast<QInputMethodEvent *>(event);
        const QString mapped = AramaMetniCevir(im->commitString());
        if (mapped != im->commitString()) {
            QInputMethodEvent copy(im->preeditString(), im->attributes());
            copy.setCommitString(mapped, im->replacementStart(), im->replacementLength());
            QCoreApplication::sendEvent(watched, &copy);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zenvo
