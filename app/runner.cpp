#include "app/runner.h"

#include "app/messages.h"
#include "server/connection.h"
#include "widgets/busyindicator.h"
#include "widgets/grid.h"

#include <QApplication>
#include <QPointer>
#include <QRunnable>
#include <QSet>
#include <QThread>
#include <QThreadPool>

namespace zenvo {

namespace {

class TAwait final : public IAwait, public std::enable_shared_from_this<TAwait> {
public:
    explicit TAwait(std::function<void()> async) : FAsync(std::move(async)) {}

    void Await(std::function<void()> continuation) override {
        // The task holds this object until the continuation has run.
        auto self = shared_from_this();
        QThreadPool::globalInstance()->start([self, continuation = std::move(continuation)] {
            std::exception_ptr error;
            try {
                if (self->FAsync)
                    self->FAsync();
            } catch (...) {
                error = std::current_exception();
            }
            QMetaObject::invokeMethod(
                qApp,
                [self, continuation, error] {
                    try {
                        if (continuation)
                            continuation();
                    } catch (...) {
                        GenelHataGoster(std::current_exception());
                    }
                    GenelHataGoster(error);
                },
                Qt::QueuedConnection);
        });
    }

private:
    std::function<void()> FAsync;
};

QSet<const void *> &runningLoads() {
    static QSet<const void *> loads; // user-interface thread only
    return loads;
}

} // namespace

std::shared_ptr<IAwait> Async(std::function<void()> work) {
    return std::make_shared<TAwait>(std::move(work));
}

void ArayuzdeCalistir(const std::function<void()> &fn) {
    if (QThread::currentThread() == qApp->thread()) {
        fn();
        return;
    }
    std::exception_ptr error;
    QMetaObject::invokeMethod(
        qApp,
        [&fn, &error] {
            try {
                fn();
            } catch (...) {
                error = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (error)
        std::rethrow_exception(error);
}

bool YuklemeSuruyor(const void *tablo) {
    return runningLoads().contains(tablo);
}

bool TabloYukle(TabloYukleme y) {
    if (y.tablo && runningLoads().contains(y.tablo))
        return false;
    if (y.tablo)
        runningLoads().insert(y.tablo);
    QPointer<BusyIndicator> gif = y.gif;
    QPointer<QWidget> kontrol = y.kontrol;
    QPointer<Grid> grid = y.grid;
    if (gif)
        gif->start();
    if (kontrol)
        kontrol->setEnabled(false);
    if (grid)
        grid->detach();
    auto hata = std::make_shared<bool>(false);
    Async([hata, yukle = std::move(y.yukle)] {
        if (yukle)
            *hata = yukle();
    })->Await([hata, gif, kontrol, grid, tablo = y.tablo, bitir = std::move(y.bitir)] {
        runningLoads().remove(tablo);
        if (grid)
            grid->attach();
        if (kontrol)
            kontrol->setEnabled(true);
        if (gif)
            gif->stop();
        if (bitir)
            bitir(*hata);
        if (*hata)
            MesajGoster(QString::fromUtf8(kBaglantiMesaji), Hata);
    });
    return true;
}

} // namespace zenvo
