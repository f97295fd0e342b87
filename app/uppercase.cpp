#include "app/uppercase.h"

namespace zenvo {

QValidator::State BuyukHarfDogrulayici::validate(QString &input, int &pos) const {
    const QString upper = input.toUpper();
    if (upper.size() != input.size())
        pos = int(std::min<qsizetype>(upper.size(), pos + (upper.size() - input.size())));
    input = upper;
    return Acceptable;
}

} // namespace zenvo
