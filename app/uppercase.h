#pragma once

#include <QValidator>

namespace zenvo {

// Forces a line edit's text to upper case, typed, pasted or set. The plain Unicode mapping is
// used ("i" gives "I"), as the boxes of the program always did.
class BuyukHarfDogrulayici final : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override { input = input.toUpper(); }
};

} // namespace zenvo
