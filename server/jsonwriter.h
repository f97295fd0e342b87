#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

namespace zenvo {

// Appends compact JSON text to a byte buffer; the caller places commas and brackets.
class JsonWriter final {
public:
    std::string &buffer() { return m_out; }
    const std::string &text() const { return m_out; }
    void clear() { m_out.clear(); }

    JsonWriter &raw(std::string_view s) {
        m_out.append(s);
        return *this;
    }
    JsonWriter &raw(char c) {
        m_out.push_back(c);
        return *this;
    }
    JsonWriter &key(std::string_view k); // "k":
    JsonWriter &string(std::string_view utf8);
    JsonWriter &string(const QString &s) { return string(QStringView(s)); }
    JsonWriter &string(QStringView s);
    JsonWriter &integer(qint64 v);
    JsonWriter &number(double v); // shortest round-trip form; throws on NaN and infinities
    JsonWriter &boolean(bool v) { return raw(v ? std::string_view("true") : "false"); }
    JsonWriter &null() { return raw(std::string_view("null")); }
    JsonWriter &base64(const QByteArray &bytes);

private:
    std::string m_out;
};

} // namespace zenvo
