#include "widgets/collation.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <array>

namespace zenvo {

namespace {

constexpr char16_t kFirst = 0x20;
constexpr char16_t kLast = 0x24F; // through Latin Extended-B

struct RankTable {
    QString localeName;
    std::array<char16_t, kLast + 1> rank{};
};

const RankTable &ranks() {
    static RankTable table;
    const QLocale locale;
    if (table.localeName == locale.name() && table.rank[u'A'] != 0)
        return table;
    table.localeName = locale.name();
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QString> chars;
    for (char16_t c = kFirst; c <= kLast; ++c)
        if (c < 0x7F || c > 0x9F)
            chars.emplace_back(QChar(c));
    std::stable_sort(chars.begin(), chars.end(), [&](const QString &a, const QString &b) {
        return collator.compare(a, b) < 0;
    });
    char16_t weight = 1;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (i > 0 && collator.compare(chars[i - 1], chars[i]) != 0)
            ++weight;
        table.rank[chars[i][0].unicode()] = weight;
    }
    return table;
}

} // namespace

namespace {
char16_t weight(const RankTable &table, char16_t u) {
    if (u <= kLast && table.rank[u] != 0)
        return table.rank[u];
    return char16_t(std::min<int>(0x1000 + u, 0xFFFF)); // after every ranked character
}
} // namespace

std::array<quint64, 4> collationPrefix(QStringView text) {
    const RankTable &table = ranks();
    std::array<quint64, 4> out{};
    const qsizetype n = text.size();
    for (int i = 0; i < 16; ++i) {
        quint64 unit = 0;
        if (i < n)
            unit = weight(table, text[i].unicode());
        else if (i > n && i - n - 1 < n)
            unit = text[i - n - 1].unicode(); // the text itself follows the separator
        out[std::size_t(i / 4)] |= unit << (48 - 16 * (i % 4));
    }
    return out;
}

QString collationKey(QStringView text) {
    const RankTable &table = ranks();
    QString key(text.size() * 2 + 1, Qt::Uninitialized);
    QChar *out = key.data();
    for (QChar c : text)
        *out++ = QChar(weight(table, c.unicode()));
    *out++ = QChar(0); // a shorter text sorts before its extensions
    std::copy(text.begin(), text.end(), out);
    return key;
}

} // namespace zenvo
