#pragma once

#include "app/platform.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <stdexcept>

namespace zenvo::testing {

// A platform whose sources a test sets; it records what the program asked of it and never ends
// the process.
class FakePlatform final : public Platform {
public:
    FakePlatform() { setPlatform(this); }
    ~FakePlatform() override { setPlatform(nullptr); }

    std::optional<QString> serial; // nullopt: the disk query fails
    std::vector<std::optional<QByteArray>> adapters;
    QString computer = QStringLiteral("BAYI-PC");
    QString user = QStringLiteral("ahmet");
    QString ipv4 = QStringLiteral("192.0.2.10"); // empty: the host name does not resolve
    QString config, data, documents;

    QList<int> exitCodes;
    QList<QUrl> opened;
    QList<int> beeps;

    QString diskSerial() override {
        if (!serial)
            throw std::runtime_error("disk query failed");
        return *serial;
    }
    std::vector<std::optional<QByteArray>> adapterAddresses() override { return adapters; }
    QString computerName() override { return computer; }
    QString userName() override { return user; }
    QString resolveIPv4(const QString &host) override {
        return host == computer ? ipv4 : QString();
    }
    QString configHome() override { return config; }
    QString dataHome() override { return data; }
    QString documentsFolder() override { return documents; }
    bool openUrl(const QUrl &url) override {
        opened << url;
        return true;
    }
    void beep(int kind) override { beeps << kind; }
    void endProcess(int code) override { exitCodes << code; }
};

} // namespace zenvo::testing
