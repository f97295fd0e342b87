#include "app/platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zenvo {

namespace {

std::atomic<Platform *> g_replacement{nullptr};

QByteArray readSmallFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(4096);
}

// Block devices that are not physical disks: loop, RAM, compressed RAM, optical, floppy,
// device-mapper and software RAID.
bool isPhysicalDiskName(const QString &name) {
    static const char *const skipped[] = {"loop", "ram", "zram", "sr", "fd", "dm-", "md"};
    for (const char *prefix : skipped) {
        if (name.startsWith(QLatin1String(prefix)))
            return false;
    }
    return true;
}

// ID_SERIAL_SHORT of the udev database entry of a block device ("8:0" -> b8:0).
QString udevSerial(const QString &udevData, const QString &majorMinor) {
    const QList<QByteArray> lines =
        readSmallFile(udevData + QStringLiteral("/b") + majorMinor).split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("E:ID_SERIAL_SHORT="))
            return QString::fromUtf8(line.mid(18));
    }
    return {};
}

} // namespace

Platform &platform() {
    static LinuxPlatform real;
    Platform *p = g_replacement.load();
    return p ? *p : real;
}

void setPlatform(Platform *replacement) {
    g_replacement.store(replacement);
}

QString LinuxPlatform::diskSerialFrom(const QString &sysBlock, const QString &udevData) {
    QDir dir(sysBlock);
    QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    std::sort(names.begin(), names.end());
    for (const QString &name : names) {
        const QString base = sysBlock + QLatin1Char('/') + name;
        if (!isPhysicalDiskName(name) || !QFileInfo::exists(base + QStringLiteral("/device")))
            continue;
        QString serial =
            QString::fromUtf8(readSmallFile(base + QStringLiteral("/device/serial"))).trimmed();
        if (serial.isEmpty()) {
            const QString dev =
                QString::fromLatin1(readSmallFile(base + QStringLiteral("/dev"))).trimmed();
            if (!dev.isEmpty())
                serial = udevSerial(udevData, dev);
        }
        return serial;
    }
    throw std::runtime_error("no physical disk");
}

QString LinuxPlatform::diskSerial() {
    return diskSerialFrom(QStringLiteral("/sys/block"), QStringLiteral("/run/udev/data"));
}

std::vector<std::optional<QByteArray>>
LinuxPlatform::adapterAddressesFrom(const QString &sysClassNet) {
    struct Interface {
        int index;
        std::optional<QByteArray> address;
    };
    std::vector<Interface> found;
    QDir dir(sysClassNet);
    const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    for (const QString &name : names) {
        const QString base = sysClassNet + QLatin1Char('/') + name;
        bool ok = false;
        const int index = QString::fromLatin1(readSmallFile(base + QStringLiteral("/ifindex")))
                              .trimmed()
                              .toInt(&ok);
        if (!ok)
            continue;
        Interface itf{index, std::nullopt};
        const QByteArray text = readSmallFile(base + QStringLiteral("/address")).trimmed();
        const QList<QByteArray> parts = text.split(':');
        if (parts.size() == 6) {
            QByteArray bytes;
            for (const QByteArray &part : parts) {
                bool hexOk = false;
                const uint v = part.toUInt(&hexOk, 16);
                if (!hexOk || part.size() != 2)
                    break;
                bytes.append(char(v));
            }
            if (bytes.size() == 6)
                itf.address = bytes;
        }
        found.push_back(itf);
    }
    std::sort(found.begin(), found.end(),
              [](const Interface &a, const Interface &b) { return a.index < b.index; });
    std::vector<std::optional<QByteArray>> out;
    for (const Interface &itf : found)
        out.push_back(itf.address);
    return out;
}

std::vector<std::optional<QByteArray>> LinuxPlatform::adapterAddresses() {
    return adapterAddressesFrom(QStringLiteral("/sys/class/net"));
}

QString LinuxPlatform::computerName() {
    char buf[256] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0)
        return {};
    return QString::fromLocal8Bit(buf);
}

QString LinuxPlatform::userName() {
    const passwd *pw = ::getpwuid(::geteuid());
    return pw && pw->pw_name ? QString::fromLocal8Bit(pw->pw_name) : QString();
}

QString LinuxPlatform::resolveIPv4(const QString &host) {
    if (host.isEmpty())
        return {};
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *res = nullptr;
    if (::getaddrinfo(host.toLocal8Bit().constData(), nullptr, &hints, &res) != 0 || !res)
        return {};
    QString out;
    for (const addrinfo *a = res; a && out.isEmpty(); a = a->ai_next) {
        if (a->ai_family != AF_INET)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto *in = reinterpret_cast<const sockaddr_in *>(a->ai_addr);
        if (::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
            out = QString::fromLatin1(text);
    }
    ::freeaddrinfo(res);
    return out;
}

QString LinuxPlatform::configHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString LinuxPlatform::dataHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString LinuxPlatform::documentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

bool LinuxPlatform::openUrl(const QUrl &url) {
    return QDesktopServices::openUrl(url);
}

void LinuxPlatform::beep(int) {
    QApplication::beep();
}

void LinuxPlatform::endProcess(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

} // namespace zenvo
