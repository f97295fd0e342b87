// The background call runner: where and when continuations run, errors after the continuation,
// the busy animation contract and one load per table.
#include "app/application.h"
#include "app/messages.h"
#include "app/runner.h"
#include "server/connection.h"
#include "tests/app/fakeplatform.h"
#include "tests/support/modal.h"
#include "widgets/busyindicator.h"

#include <QLineEdit>
#include <QSemaphore>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace zenvo;
using zenvo::testing::FakePlatform;
using zenvo::testing::ModalAnswer;
using zenvo::testing::ModalAnswerer;

namespace {

const QString kGenel = QString::fromUtf8(kUygulamaBasligi);

// A tab's loading controls.
struct Tab {
    QWidget window;
    BusyIndicator *gif = new BusyIndicator(&window);
    QLineEdit *grid = new QLineEdit(&window);
    int table = 0;
    Tab() { window.show(); }
    bool busy() const { return !gif->isHidden() && gif->isRunning(); }
};

} // namespace

class TestRunner : public QObject {
    Q_OBJECT
    FakePlatform fake;

private slots:
    void continuationOnUiThreadNeverInsideAwait() {
        QSemaphore workDone;
        std::atomic<bool> continued{false};
        QThread *workThread = nullptr;
        QThread *continuationThread = nullptr;
        Async([&] {
            workThread = QThread::currentThread();
            workDone.release();
        })->Await([&] {
            continuationThread = QThread::currentThread();
            continued = true;
        });
        // The work has ended before anything else happens here; its continuation still waits
        // for the event loop.
        QVERIFY(workDone.tryAcquire(1, 5000));
        QVERIFY(!continued);
        QTRY_VERIFY(continued);
        QVERIFY(workThread != qApp->thread());
        QCOMPARE(continuationThread, qApp->thread());
    }

    // The continuation runs first, then the work's error reaches the general error report.
    void errorAfterContinuation() {
        QStringList order;
        ModalAnswerer m;
        m.expect({kGenel, QStringLiteral("sunucu yanıt vermedi"), QStringLiteral("OK"),
                  [&](QWidget *) { order << QStringLiteral("rapor"); }});
        Async([] { throw std::runtime_error("sunucu yanıt vermedi"); })->Await([&] {
            order << QStringLiteral("devam");
        });
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(order, QStringList({QStringLiteral("devam"), QStringLiteral("rapor")}));
    }

    void handOverRunsOnUiThreadAndWaits() {
        std::atomic<bool> finished{false};
        QThread *ran = nullptr;
        QString error;
        Async([&] {
            ArayuzdeCalistir([&] { ran = QThread::currentThread(); });
            try {
                ArayuzdeCalistir([] { throw std::runtime_error("etiket yok"); });
            } catch (const std::exception &e) {
                error = QString::fromUtf8(e.what());
            }
        })->Await([&] { finished = true; });
        QTRY_VERIFY(finished);
        QCOMPARE(ran, qApp->thread());
        QCOMPARE(error, QStringLiteral("etiket yok"));
    }

    // An error in the load: the animation is gone and the grid usable before the error box.
    void loadErrorRestoresControlsFirst() {
        Tab tab;
        bool finished = false;
        bool busyAtReport = true, enabledAtReport = false;
        ModalAnswerer m;
        m.expect({kGenel, QStringLiteral("tablo bozuk"), QStringLiteral("OK"), [&](QWidget *) {
                      busyAtReport = tab.busy();
                      enabledAtReport = tab.grid->isEnabled();
                  }});
        QVERIFY(TabloYukle({&tab.table, tab.gif, tab.grid, nullptr,
                            []() -> bool { throw std::runtime_error("tablo bozuk"); },
                            [&](bool hata) {
                                QVERIFY(!hata);
                                finished = true;
                            }}));
        QVERIFY(tab.busy());
        QVERIFY(!tab.grid->isEnabled());
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QVERIFY(finished);
        QVERIFY(!busyAtReport);
        QVERIFY(enabledAtReport);
    }

    // A connection that did not open: the failure flag, then the connection message.
    void failureFlagShowsConnectionMessage() {
        Tab tab;
        bool flag = false;
        ModalAnswerer m;
        m.expect(
            {QStringLiteral("Hata"), QString::fromUtf8(kBaglantiMesaji), QStringLiteral("Tamam")});
        QVERIFY(TabloYukle({&tab.table, tab.gif, tab.grid, nullptr, [] { return true; },
                            [&](bool hata) { flag = hata; }}));
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QVERIFY(flag);
        QVERIFY(!tab.busy());
        QVERIFY(tab.grid->isEnabled());
    }

    // Two tables loading at once: each load hides only its own animation; a second load of a
    // table whose load runs is not started.
    void twoLoadsAndOneLoadPerTable() {
        Tab a, b;
        QSemaphore releaseA, releaseB;
        int finishedA = 0, finishedB = 0, loadsA = 0;
        auto load = [&](Tab &t, QSemaphore &gate, int &finished, int *loads) {
            return TabloYukle({&t.table, t.gif, t.grid, nullptr,
                               [&gate, loads] {
                                   if (loads)
                                       ++*loads;
                                   gate.acquire();
                                   return false;
                               },
                               [&finished](bool) { ++finished; }});
        };
        QVERIFY(load(a, releaseA, finishedA, &loadsA));
        QVERIFY(load(b, releaseB, finishedB, nullptr));
        QVERIFY(!load(a, releaseA, finishedA, &loadsA));
        QVERIFY(YuklemeSuruyor(&a.table));
        QVERIFY(a.busy() && b.busy());

        releaseB.release();
        QTRY_COMPARE(finishedB, 1);
        QVERIFY(!b.busy());
        QVERIFY(b.grid->isEnabled());
        QVERIFY(a.busy());
        QVERIFY(!a.grid->isEnabled());

        releaseA.release();
        QTRY_COMPARE(finishedA, 1);
        QVERIFY(!a.busy());
        QCOMPARE(loadsA, 1);
        QVERIFY(!YuklemeSuruyor(&a.table));
        // Once finished, the table can load again.
        releaseA.release();
        QVERIFY(load(a, releaseA, finishedA, &loadsA));
        QTRY_COMPARE(finishedA, 2);
    }

    // An exception escaping an event handler ends in the general error report.
    void handlerErrorReachesGeneralReport() {
        QWidget w;
        auto *edit = new QLineEdit(&w);
        connect(edit, &QLineEdit::returnPressed, edit,
                [] { throw std::runtime_error("beklenmeyen durum"); });
        w.show();
        ModalAnswerer m;
        m.expect({kGenel, QStringLiteral("beklenmeyen durum"), QStringLiteral("OK")});
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
    }
};

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ZenvoApplication app(argc, argv);
    TestRunner t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_runner.moc"
