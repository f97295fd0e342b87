#include "app/program.h"

#include "app/application.h"
#include "app/machineid.h"
#include "app/mainwindow.h"
#include "app/messages.h"
#include "app/runner.h"
#include "server/resulttable.h"

#include <QScreen>

#include <cstdio>
#include <cstring>

namespace zenvo {

int ProgramCalistir(int argc, char **argv, const std::function<void(TForm1 &)> &ozellikleriKur) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--print-machine-id") == 0) {
            std::puts(BilgisayarIdAl().toUtf8().constData());
            return 0;
        }
    }
    tuneAllocatorForLargeResults();
    ZenvoApplication app(argc, argv);
    GorunumUygula(app);
    SetBaglantiMesajGosterici(
        [](const QString &mesaj) { ArayuzdeCalistir([&mesaj] { MesajGoster(mesaj, Hata); }); });

    TForm1 form;
    if (ozellikleriKur)
        ozellikleriKur(form);
    if (!form.FormCreate())
        return 0;
    SetMesajSahibi(&form);
    // Without a window manager "maximised" means nothing: fill the screen ourselves.
    if (const QScreen *screen = form.screen())
        form.setGeometry(screen->availableGeometry());
    form.showMaximized();
    return app.exec();
}

} // namespace zenvo
