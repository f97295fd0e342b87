#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

namespace zenvo::testing {

// What to expect of the next modal window and how to answer it.
struct ModalAnswer {
    QString title;  // exact window title
    QString text;   // exact text of a message box; for another dialog, a label's exact text;
                    // empty: not checked
    QString button; // caption of the button to press ('&' ignored); empty: close the window
    // Runs on the window before the button is pressed (check state, fill in boxes).
    std::function<void(QWidget *window)> inspect = {};
};

// Answers modal windows as they open, in the order the answers were queued. A window that was
// already modal when an answer was queued is left alone, so a test can queue answers for the
// message boxes of a dialog it has opened. The dialogs are the real ones: the answer presses
// their button. Polls the active modal window from the event loop (also inside nested loops
// such as QDialog::exec), so the test must run the event loop: QTRY_VERIFY(m.done()).
//
//   ModalAnswerer m;
//   m.expect({u"Soru"_s, u"Programdan Çıkmak İstiyor musunuz ?"_s, u"Hayır"_s});
//   window.close();
//   QVERIFY2(m.done(), qPrintable(m.report()));
class ModalAnswerer final : public QObject {
    Q_OBJECT
public:
    explicit ModalAnswerer(QObject *parent = nullptr);
    ~ModalAnswerer() override;

    void expect(ModalAnswer answer);
    int pending() const { return int(m_queue.size()); }
    int answered() const { return m_answered; }
    // Every queued answer was given and every check held.
    bool done() const { return m_queue.isEmpty() && m_failures.isEmpty(); }
    // True once every queued answer was given (checks may have failed).
    bool idle() const { return m_queue.isEmpty(); }
    QStringList failures() const { return m_failures; }
    QString report() const; // failures and what is still pending, for QVERIFY2
    // Titles and texts of the windows answered so far, in order ("title | text").
    QStringList seen() const { return m_seen; }

    // The text a window shows: a message box's text, else its labels joined by newlines.
    static QString windowText(QWidget *window);
    // Presses the button with that caption ('&' ignored); false when there is none.
    static bool pressButton(QWidget *window, const QString &caption);

private:
    void poll();

    struct Entry {
        ModalAnswer answer;
        QList<QPointer<QWidget>> ignored; // modal when the answer was queued
    };
    QList<Entry> m_queue;
    QList<QPointer<QWidget>> m_answeredWindows;
    QPointer<QWidget> m_candidate;
    QStringList m_failures;
    QStringList m_seen;
    int m_answered = 0;
    QTimer m_timer;
};

// Waits until a modal window other than `except` is active, at most timeoutMs; nullptr if none.
QWidget *waitForModal(int timeoutMs = 5000, QWidget *except = nullptr);

} // namespace zenvo::testing
