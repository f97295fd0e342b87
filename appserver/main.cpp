#include "appserver/demodata.h"
#include "appserver/dispatch.h"
#include "appserver/listener.h"
#include "appserver/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <unistd.h>

using namespace zenvo;
using namespace zenvo::appserver;

namespace {

int usage() {
    std::fputs("usage:\n"
               "  zenvo-server [--db FILE] [--listen ADDR] [--port N]\n"
               "  zenvo-server --list-methods\n"
               "  zenvo-server init --db FILE --demo [--items N] [--seed N]\n"
               "  zenvo-server register --db FILE --machine ID --user NAME\n"
               "  zenvo-server users --db FILE\n",
               stderr);
    return 2;
}

// Every answer is written before its connection closes and SQLite keeps its journal, so
// ending at once is safe.
void onSignal(int) {
    std::_Exit(0);
}

QString optionValue(const QStringList &args, const QString &name, const QString &fallback = {}) {
    const qsizetype i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        // Qt wants a private runtime folder even without a display.
        const QByteArray dir =
            QDir::tempPath().toUtf8() + "/zenvo-runtime-" + QByteArray::number(uint(getuid()));
        QDir().mkpath(QString::fromUtf8(dir));
        QFile::setPermissions(QString::fromUtf8(dir),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
    QGuiApplication app(argc, argv); // pictures and PDFs are drawn with QtGui
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.contains(QStringLiteral("--list-methods"))) {
            const Dispatcher d = serverDispatcher();
            for (int i = 0; i < kMethodCount; ++i) {
                const auto id = MethodId(i);
                std::cout << methodSignature(methodDecl(id)).toStdString()
                          << (d.implemented(id) ? "" : " [placeholder]") << '\n';
            }
            return 0;
        }
        const QString db = optionValue(args, QStringLiteral("--db"), QStringLiteral("zenvo.db"));
        const QString command = args.value(0);
        if (command == QLatin1String("init")) {
            if (!args.contains(QStringLiteral("--demo")))
                return usage();
            DemoOptions opt;
            opt.items =
                optionValue(args, QStringLiteral("--items"), QStringLiteral("5000")).toInt();
            opt.seed = optionValue(args, QStringLiteral("--seed"), QStringLiteral("1")).toUInt();
            if (opt.items < 1)
                return usage();
            QFile::remove(db);
            QFile::remove(db + QStringLiteral("-wal"));
            QFile::remove(db + QStringLiteral("-shm"));
            Db d(db, true);
            createSchema(d.handle());
            fillDemoData(d.handle(), opt);
            std::cout << "demo database written to " << db.toStdString() << " (" << opt.items
                      << " items)\n";
            return 0;
        }
        if (command == QLatin1String("register")) {
            const QString machine = optionValue(args, QStringLiteral("--machine"));
            const QString user = optionValue(args, QStringLiteral("--user"));
            if (machine.trimmed().isEmpty() || user.isEmpty())
                return usage();
            Db d(db);
            registerMachine(d.handle(), machine, user);
            std::cout << "machine " << machine.toStdString() << " registered to "
                      << user.toStdString() << '\n';
            return 0;
        }
        if (command == QLatin1String("users")) {
            Db d(db);
            for (const UserRow &u : listUsers(d.handle()))
                std::cout << u.name.toStdString() << '\t' << u.type << '\t' << u.carino << '\n';
            return 0;
        }
        if (!command.isEmpty() && !command.startsWith(QLatin1String("--")))
            return usage();

        ServerOptions opt;
        opt.dbPath = db;
        opt.listen = optionValue(args, QStringLiteral("--listen"), QStringLiteral("127.0.0.1"))
                         .toStdString();
        bool ok = false;
        const uint port =
            optionValue(args, QStringLiteral("--port"), QStringLiteral("9090")).toUInt(&ok);
        if (!ok || port > 65535)
            return usage();
        opt.port = std::uint16_t(port);
        if (!QFile::exists(db)) {
            std::cerr << "zenvo-server: database " << db.toStdString()
                      << " not found; create it with: zenvo-server init --db " << db.toStdString()
                      << " --demo\n";
            return 1;
        }
        const Dispatcher d = serverDispatcher();
        AppServer server(opt, d);
        server.start();
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
        std::cout << "zenvo-server listening on " << opt.listen << ':' << server.port()
                  << std::endl;
        server.wait();
        return 0;
    } catch (const std::exception &e) {
        std::cerr << "zenvo-server: " << e.what() << '\n';
        return 1;
    }
}
