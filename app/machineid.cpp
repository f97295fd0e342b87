#include "app/machineid.h"

#include "app/platform.h"

#include <QDir>
#include <QFile>

namespace zenvo {

namespace {

constexpr int kMaxNameLength = 15;

QString formatAddress(const QByteArray &bytes) {
    QStringList parts;
    for (int i = 0; i < 6; ++i)
        parts << QStringLiteral("%1").arg(uchar(bytes.at(i)), 2, 16, QLatin1Char('0')).toUpper();
    return parts.join(QLatin1Char('-'));
}

QString limitedName(const QString &name) {
    return name.size() > kMaxNameLength ? QString() : name;
}

} // namespace

QString DiskSeriNoAl() {
    return platform().diskSerial().toUpper();
}

QString MacAdresiAl() {
    static const QString zero = QStringLiteral("00-00-00-00-00-00");
    QString last;
    for (const auto &address : platform().adapterAddresses()) {
        // An adapter without status ends the search with what the previous one gave.
        if (!address || address->size() < 6)
            break;
        last = formatAddress(*address);
        if (last != zero)
            break;
    }
    return last;
}

QString OrtakKimlik(const QString &identity) {
    if (identity == QLatin1String(kOrtakSeri1) || identity == QLatin1String(kOrtakSeri2))
        return QString::fromLatin1(kOrtakKimlik);
    return identity;
}

QString BilgisayarIdAl() {
    QString id;
    try {
        id = DiskSeriNoAl().trimmed();
    } catch (...) {
        id.clear();
    }
    if (id.isEmpty()) {
        try {
            id = MacAdresiAl().trimmed();
        } catch (...) {
            id.clear();
        }
    }
    id.remove(QLatin1Char(' '));
    return OrtakKimlik(id);
}

QString BilgisayarAdiAl() {
    try {
        return limitedName(platform().computerName());
    } catch (...) {
        return {};
    }
}

QString KullaniciAdiAl() {
    try {
        return limitedName(platform().userName());
    } catch (...) {
        return {};
    }
}

QString YerelIpAl() {
    QString ip;
    try {
        ip = platform().resolveIPv4(platform().computerName());
    } catch (...) {
        ip.clear();
    }
    return ip.isEmpty() ? QStringLiteral("127.0.0.1") : ip;
}

QString AyarKlasoru() {
    const QString path = QDir::cleanPath(platform().configHome() + QStringLiteral("/zenvo"));
    if (!QFileInfo::exists(path)) {
        // The folder holds the remembered password: its owner alone may enter it.
        if (QDir().mkpath(path))
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner);
    }
    return path;
}

QString BelgelerKlasoru() {
    return QDir::cleanPath(platform().documentsFolder());
}

QString YerelVeriKlasoru() {
    return QDir::cleanPath(platform().dataHome());
}

} // namespace zenvo
