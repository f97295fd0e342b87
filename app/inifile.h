#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace zenvo {

// Text of a Windows-1254 (Turkish code page) byte string.
QString decodeWindows1254(const QByteArray &bytes);
// Text of an INI file's bytes: UTF-16 or UTF-8 with a byte order mark, UTF-8 when the bytes are
// valid UTF-8, Windows-1254 otherwise.
QString decodeIniText(const QByteArray &bytes);

// An INI file as Windows programs read and write it: sections and keys found without regard to
// letter case, values trimmed and freed of one pair of enclosing quotes, the first occurrence
// wins. Writing a value keeps every other line as it was. Saved as UTF-8 without a byte order
// mark, so keys such as "hatırla" stand in the file literally.
class IniFile final {
public:
    // False when the file is missing or cannot be read; the object is then empty.
    bool load(const QString &path);
    void setText(const QString &text);
    QString text() const;

    std::optional<QString> value(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key, const QString &fallback) const;
    // An integer value, non-zero meaning true; a missing or non-numeric value gives fallback.
    bool readBool(const QString &section, const QString &key, bool fallback) const;
    void setValue(const QString &section, const QString &key, const QString &value);

    // Writes the file atomically, readable and writable by its owner only.
    bool save(const QString &path, QString *error = nullptr) const;

private:
    int sectionStart(const QString &section) const; // line of the header, -1 when missing
    int sectionEnd(int start) const;                // line after the section's last line

    QStringList m_lines;
};

} // namespace zenvo
