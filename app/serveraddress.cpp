#include "app/serveraddress.h"

#include "app/inifile.h"

#include <QFile>
#include <QRegularExpression>

namespace zenvo {

namespace {

QString g_host = QString::fromLatin1(kVarsayilanSunucu);
QString g_web = QStringLiteral("http://") + QString::fromLatin1(kVarsayilanSunucu) + u'/';

QString g_port = QString::fromLatin1(kSunucuPortu);

} // namespace

QString SunucuPortu() {
    return g_port;
}

void SetSunucuPortu(const QString &port) {
    g_port = port;
}

QString SunucuAdresi() {
    return g_host;
}

QString WebAdresi() {
    return g_web;
}

void SetSunucuAdresi(const QString &host) {
    g_host = host;
    g_web = QStringLiteral("http://") + host + u'/';
}

void SunucuAdresiOku(const QString &folder) {
    QFile f(folder + QStringLiteral("/ip.txt"));
    if (!f.exists() || !f.open(QIODevice::ReadOnly))
        return;
    const QString text = decodeIniText(f.read(64 * 1024));
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    SetSunucuAdresi((end < 0 ? text : text.left(end)).trimmed());
}

} // namespace zenvo
