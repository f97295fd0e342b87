#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>
#include <vector>

namespace zenvo {

// The operating-system services the client uses. Everything that identifies the machine, opens
// something outside the program or ends the process goes through here, so that tests can put a
// replacement in place: a test never ends the process, opens a browser or reads the real disk.
class Platform {
public:
    virtual ~Platform() = default;

    // Serial number of the first physical disk, as the disk reports it (empty when it reports
    // none). Throws std::runtime_error when there is no disk to ask.
    virtual QString diskSerial() = 0;
    // Hardware address of every network interface in index order; std::nullopt for an
    // interface that reports no address.
    virtual std::vector<std::optional<QByteArray>> adapterAddresses() = 0;
    virtual QString computerName() = 0; // the host name, any length; empty on failure
    virtual QString userName() = 0;     // the logged-on user, any length; empty on failure
    // First IPv4 address that host resolves to, dotted; empty when it does not resolve.
    virtual QString resolveIPv4(const QString &host) = 0;

    virtual QString configHome() = 0;      // per-user settings base ($XDG_CONFIG_HOME)
    virtual QString dataHome() = 0;        // per-user local data ($XDG_DATA_HOME)
    virtual QString documentsFolder() = 0; // the user's documents

    // Opens a web address or a file with the system's default handler.
    virtual bool openUrl(const QUrl &url) = 0;
    // The sound of a message kind: 0 warning, 1 error (stop), 2 information, 3 question.
    virtual void beep(int kind) = 0;
    // Ends the process at once with the exit code: no clean-up, nothing saved. A replacement
    // installed by a test returns; callers then leave what they were doing.
    virtual void endProcess(int code) = 0;
};

// The platform in use: the real Linux one unless a test installed another.
Platform &platform();
// Installs a replacement (the caller keeps it alive); nullptr restores the real platform.
void setPlatform(Platform *replacement);

class LinuxPlatform final : public Platform {
public:
    QString diskSerial() override;
    std::vector<std::optional<QByteArray>> adapterAddresses() override;
    QString computerName() override;
    QString userName() override;
    QString resolveIPv4(const QString &host) override;
    QString configHome() override;
    QString dataHome() override;
    QString documentsFolder() override;
    bool openUrl(const QUrl &url) override;
    void beep(int kind) override;
    void endProcess(int code) override;

    // Exposed for tests on a fake /sys tree: the disk serial found under sysBlock (normally
    // "/sys/block") with udev data under udevData (normally "/run/udev/data").
    static QString diskSerialFrom(const QString &sysBlock, const QString &udevData);
    // Addresses of the interfaces under sysClassNet (normally "/sys/class/net").
    static std::vector<std::optional<QByteArray>> adapterAddressesFrom(const QString &sysClassNet);
};

} // namespace zenvo
