#include "tests/support/modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

namespace zenvo::testing {

namespace {

QString plainCaption(QString text) {
    text.remove(QLatin1Char('&'));
    return text;
}

bool contains(const QList<QPointer<QWidget>> &list, const QWidget *w) {
    for (const QPointer<QWidget> &p : list) {
        if (p && p.data() == w)
            return true;
    }
    return false;
}

QList<QPointer<QWidget>> currentModals() {
    QList<QPointer<QWidget>> out;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->isModal())
            out << QPointer<QWidget>(w);
    }
    return out;
}

} // namespace

ModalAnswerer::ModalAnswerer(QObject *parent) : QObject(parent) {
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
}

ModalAnswerer::~ModalAnswerer() = default;

void ModalAnswerer::expect(ModalAnswer answer) {
    m_queue.append({std::move(answer), currentModals()});
    m_timer.start();
}

QString ModalAnswerer::report() const {
    QStringList lines = m_failures;
    for (const Entry &e : m_queue)
        lines << QStringLiteral("still waiting for \"%1\" / \"%2\"")
                     .arg(e.answer.title, e.answer.text);
    if (!m_seen.isEmpty())
        lines << QStringLiteral("answered: ") + m_seen.join(QStringLiteral("; "));
    return lines.join(QLatin1Char('\n'));
}

QString ModalAnswerer::windowText(QWidget *window) {
    if (auto *box = qobject_cast<QMessageBox *>(window))
        return box->text();
    QStringList texts;
    for (const QLabel *l : window->findChildren<QLabel *>()) {
        if (!l->text().isEmpty())
            texts << l->text();
    }
    return texts.join(QLatin1Char('\n'));
}

bool ModalAnswerer::pressButton(QWidget *window, const QString &caption) {
    for (QAbstractButton *b : window->findChildren<QAbstractButton *>()) {
        if (plainCaption(b->text()) == caption && b->isVisible()) {
            b->click();
            return true;
        }
    }
    return false;
}

void ModalAnswerer::poll() {
    if (m_queue.isEmpty()) {
        m_timer.stop();
        return;
    }
    QWidget *w = QApplication::activeModalWidget();
    if (!w || !w->isVisible() || contains(m_queue.first().ignored, w) ||
        contains(m_answeredWindows, w))
        return;
    // Answer on the second sighting, so the window has finished opening (focus, default
    // button) and a caller's code after show() has run.
    if (m_candidate != w) {
        m_candidate = w;
        return;
    }
    m_candidate = nullptr;
    const Entry entry = m_queue.takeFirst();
    const ModalAnswer &a = entry.answer;
    const QString text = windowText(w);
    m_seen << w->windowTitle() + QStringLiteral(" | ") + text;
    m_answeredWindows << QPointer<QWidget>(w);
    ++m_answered;
    if (w->windowTitle() != a.title)
        m_failures
            << QStringLiteral("title \"%1\", expected \"%2\"").arg(w->windowTitle(), a.title);
    if (!a.text.isEmpty()) {
        const bool ok = qobject_cast<QMessageBox *>(w)
                            ? text == a.text
                            : text.split(QLatin1Char('\n')).contains(a.text);
        if (!ok)
            m_failures << QStringLiteral("text \"%1\", expected \"%2\"").arg(text, a.text);
    }
    QPointer<QWidget> guard(w);
    if (a.inspect)
        a.inspect(w);
    if (!guard)
        return;
    if (a.button.isEmpty()) {
        w->close();
    } else if (!pressButton(w, a.button)) {
        m_failures << QStringLiteral("no button \"%1\" in \"%2\"").arg(a.button, w->windowTitle());
        // Do not leave the test hanging in the window's event loop.
        if (auto *d = qobject_cast<QDialog *>(w))
            d->reject();
        else
            w->close();
    }
}

QWidget *waitForModal(int timeoutMs, QWidget *except) {
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QWidget *w = QApplication::activeModalWidget();
        if (w && w != except && w->isVisible())
            return w;
        QTest::qWait(5);
    }
    return nullptr;
}

} // namespace zenvo::testing
