#pragma once

#include <QString>

#include <array>

namespace zenvo {

// A sort key that orders text as the user's locale does, character by character: the locale's
// collator ranks the Latin characters once (case and accents folded into the letter they belong
// to, so Ç follows C in Turkish), the key is those ranks followed by the text itself to break
// ties. Comparing keys is a plain code-unit comparison, fast enough to sort 100k rows at a
// click. User-interface thread only.
QString collationKey(QStringView text);

// The first 16 units of collationKey(text) packed into four words that compare as the key does
// (missing units are 0), computed without building the key.
std::array<quint64, 4> collationPrefix(QStringView text);

} // namespace zenvo
