#include "server/jsonwriter.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace zenvo {

JsonWriter &JsonWriter::key(std::string_view k) {
    string(k);
    m_out.push_back(':');
    return *this;
}

JsonWriter &JsonWriter::string(std::string_view s) {
    static constexpr char kHex[] = "0123456789abcdef";
    m_out.push_back('"');
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        m_out.append(s.data() + start, i - start);
        start = i + 1;
        switch (c) {
        case '"':
            m_out.append("\\\"");
            break;
        case '\\':
            m_out.append("\\\\");
            break;
        case '\n':
            m_out.append("\\n");
            break;
        case '\r':
            m_out.append("\\r");
            break;
        case '\t':
            m_out.append("\\t");
            break;
        default: {
            const char esc[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
            m_out.append(esc, sizeof esc);
        }
        }
    }
    m_out.append(s.data() + start, s.size() - start);
    m_out.push_back('"');
    return *this;
}

JsonWriter &JsonWriter::string(QStringView s) {
    // Plain ASCII without characters to escape goes straight in; anything else through UTF-8.
    const char16_t *p = s.utf16();
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n && p[i] < 0x80 && p[i] >= 0x20 && p[i] != '"' && p[i] != '\\')
        ++i;
    if (i == n) {
        const std::size_t at = m_out.size();
        m_out.resize(at + std::size_t(n) + 2);
        char *dst = m_out.data() + at;
        *dst++ = '"';
        for (qsizetype k = 0; k < n; ++k)
            *dst++ = char(p[k]);
        *dst = '"';
        return *this;
    }
    const QByteArray utf8 = s.toUtf8();
    return string(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

JsonWriter &JsonWriter::integer(qint64 v) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    m_out.append(buf, res.ptr);
    return *this;
}

JsonWriter &JsonWriter::number(double v) {
    if (!std::isfinite(v))
        throw std::runtime_error("a number that is not finite cannot be sent");
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    m_out.append(buf, res.ptr);
    return *this;
}

JsonWriter &JsonWriter::base64(const QByteArray &bytes) {
    const QByteArray b = bytes.toBase64();
    m_out.push_back('"');
    m_out.append(b.constData(), std::size_t(b.size()));
    m_out.push_back('"');
    return *this;
}

} // namespace zenvo
