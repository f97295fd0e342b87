#pragma once

#include <QString>

namespace zenvo {

inline constexpr const char *kVarsayilanSunucu = "b2b.zenvora.com.tr";
inline constexpr const char *kFirmaWebSitesi = "http://www.zenvora.com.tr";
inline constexpr const char *kSunucuPortu = "9090";
inline constexpr int kProgramSurumu = 1; // this client's version; any other on the server updates

// The application server's host and the base address of the firm's web pages. Set on the
// user-interface thread before the main window shows; read anywhere afterwards.
QString SunucuAdresi();
QString WebAdresi();
void SetSunucuAdresi(const QString &host); // also rebuilds WebAdresi
// The port the client connects to: always "9090"; tests point it at their own server.
QString SunucuPortu();
void SetSunucuPortu(const QString &port);

// Reads "ip.txt" in `folder` (the executable's folder): its first line, trimmed, becomes the
// server host. A missing or unreadable file keeps the defaults; an empty first line (or an
// empty file) leaves the host empty.
void SunucuAdresiOku(const QString &folder);

} // namespace zenvo
