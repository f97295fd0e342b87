#pragma once

#include <QString>

namespace zenvo {

// Machine identity and the client's local folders. No function here reports an error: a value
// that cannot be obtained is empty text (the local address falls back to "127.0.0.1"). Each may
// run on any thread; nothing is cached.

// The first physical disk's serial, trimmed; else the first non-zero adapter address; every
// blank removed; the two shared serials replaced by their common identifier.
QString BilgisayarIdAl();
QString DiskSeriNoAl();    // upper case; may throw (BilgisayarIdAl catches)
QString MacAdresiAl();     // "00-1A-2B-3C-4D-5E", or empty text
QString BilgisayarAdiAl(); // at most 15 characters; a longer name gives empty text
QString KullaniciAdiAl();  // at most 15 characters; a longer name gives empty text
QString YerelIpAl();       // first IPv4 address of the host name, else "127.0.0.1"

// The identity two machines share: an exact, case-sensitive match of either serial gives the
// fixed identifier; anything else is returned unchanged.
QString OrtakKimlik(const QString &identity);
inline constexpr const char *kOrtakSeri1 = "ZNV4R7K2M9Q1T8B";
inline constexpr const char *kOrtakSeri2 = "0025_3858_21B0_1F3A_0000_0000_0000_0001.";
inline constexpr const char *kOrtakKimlik = "428193650712";

// Per-user settings folder ($XDG_CONFIG_HOME/zenvo), created (owner only) when missing.
QString AyarKlasoru();
// The user's documents folder.
QString BelgelerKlasoru();
// The user's local application data folder (the update download goes there).
QString YerelVeriKlasoru();

} // namespace zenvo
