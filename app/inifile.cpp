#include "app/inifile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace zenvo {

namespace {

// Windows-1254 is Latin-1 apart from 0x80-0x9F and six Turkish letters.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0xFFFD, 0x0178};

char16_t cp1254(uchar b) {
    if (b >= 0x80 && b <= 0x9F)
        return kHighControls[b - 0x80];
    switch (b) {
    case 0xD0:
        return 0x011E; // Ğ
    case 0xDD:
        return 0x0130; // İ
    case 0xDE:
        return 0x015E; // Ş
    case 0xF0:
        return 0x011F; // ğ
    case 0xFD:
        return 0x0131; // ı
    case 0xFE:
        return 0x015F; // ş
    default:
        return b;
    }
}

constexpr auto kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString unquote(QString v) {
    v = v.trimmed();
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
        v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

// The section named by a header line "[name]", or nullopt for any other line.
std::optional<QString> headerName(const QString &line) {
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return std::nullopt;
}

// The key of a "key=value" line, or nullopt for a comment or any other line.
std::optional<QString> keyName(const QString &line) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return std::nullopt;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return std::nullopt;
    return t.left(eq).trimmed();
}

bool sameName(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString decodeWindows1254(const QByteArray &bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(cp1254(uchar(bytes[i])));
    return out;
}

QString decodeIniText(const QByteArray &bytes) {
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE)(bytes.mid(2));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return decodeWindows1254(bytes);
}

bool IniFile::load(const QString &path) {
    m_lines.clear();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // An INI file is small; a huge one is not ours.
    constexpr qint64 kLimit = 1 << 20;
    const QByteArray bytes = f.read(kLimit + 1);
    if (bytes.size() > kLimit || f.error() != QFileDevice::NoError)
        return false;
    setText(decodeIniText(bytes));
    return true;
}

void IniFile::setText(const QString &text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_lines = t.split(QLatin1Char('\n'));
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
}

QString IniFile::text() const {
    QString out;
    for (const QString &line : m_lines)
        out += line + QLatin1Char('\n');
    return out;
}

int IniFile::sectionStart(const QString &section) const {
    for (int i = 0; i < m_lines.size(); ++i) {
        const auto name = headerName(m_lines[i]);
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

int IniFile::sectionEnd(int start) const {
    int i = start + 1;
    while (i < m_lines.size() && !headerName(m_lines[i]))
        ++i;
    return i;
}

std::optional<QString> IniFile::value(const QString &section, const QString &key) const {
    const int start = sectionStart(section);
    if (start < 0)
        return std::nullopt;
    const int end = sectionEnd(start);
    for (int i = start + 1; i < end; ++i) {
        const auto k = keyName(m_lines[i]);
        if (k && sameName(*k, key))
            return unquote(m_lines[i].mid(m_lines[i].indexOf(QLatin1Char('=')) + 1));
    }
    return std::nullopt;
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &fallback) const {
    return value(section, key).value_or(fallback);
}

bool IniFile::readBool(const QString &section, const QString &key, bool fallback) const {
    const auto v = value(section, key);
    if (!v)
        return fallback;
    bool ok = false;
    const int n = v->toInt(&ok, 10);
    return ok ? n != 0 : fallback;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value) {
    const QString line = key + QLatin1Char('=') + value;
    const int start = sectionStart(section);
    if (start < 0) {
        m_lines << QLatin1Char('[') + section + QLatin1Char(']') << line;
        return;
    }
    const int end = sectionEnd(start);
    int lastKey = start;
    for (int i = start + 1; i < end; ++i) {
        const auto k = keyName(m_lines[i]);
        if (!k)
            continue;
        if (sameName(*k, key)) {
            m_lines[i] = line;
            return;
        }
        lastKey = i;
    }
    m_lines.insert(lastKey + 1, line);
}

bool IniFile::save(const QString &path, QString *error) const {
    QSaveFile f(path);
    bool ok = f.open(QIODevice::WriteOnly);
    if (ok) {
        f.setPermissions(kOwnerOnly);
        f.write(text().toUtf8());
        ok = f.commit();
    }
    if (ok)
        ok = QFile::setPermissions(path, kOwnerOnly);
    if (!ok && error)
        *error = f.errorString();
    return ok;
}

} // namespace zenvo
