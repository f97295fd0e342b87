#include "widgets/moneyedit.h"

#include "widgets/numberformat.h"

#include <QKeyEvent>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace zenvo {

MoneyEdit::MoneyEdit(QWidget *parent)
    : QLineEdit(parent), m_format(QStringLiteral("#,###,##0.00")) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QLineEdit::textEdited, this, [this] { readText(); });
    showValue(false);
}

double MoneyEdit::clamp(double value) const {
    if (m_maximum && value > *m_maximum)
        value = *m_maximum;
    if (m_minimum && value < *m_minimum)
        value = *m_minimum;
    return value;
}

void MoneyEdit::setValue(double value) {
    const double v = clamp(std::isfinite(value) ? value : 0.0);
    const bool changed = v != m_value;
    m_value = v;
    showValue(hasFocus());
    if (changed)
        emit valueChanged(m_value);
}

void MoneyEdit::setDisplayFormat(const QString &format) {
    m_format = format;
    showValue(hasFocus());
}

void MoneyEdit::setMaximum(double maximum) {
    m_maximum = maximum;
    setValue(m_value);
}

void MoneyEdit::setMinimum(double minimum) {
    m_minimum = minimum;
    setValue(m_value);
}

void MoneyEdit::clearLimits() {
    m_maximum.reset();
    m_minimum.reset();
}

void MoneyEdit::setFormatOnEditing(bool on) {
    m_formatOnEditing = on;
    showValue(hasFocus());
}

void MoneyEdit::showValue(bool editing) {
    if (editing && !m_formatOnEditing) {
        QLocale locale;
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        setText(locale.toString(m_value, 'g', 15));
    } else {
        setText(formatFloat(m_format, m_value));
    }
}

void MoneyEdit::readText() {
    bool ok = false;
    double v = parseNumber(text(), QLocale(), &ok);
    v = clamp(ok ? v : 0.0);
    if (v != m_value) {
        m_value = v;
        emit valueChanged(m_value);
    }
}

void MoneyEdit::commit() {
    readText();
    showValue(hasFocus());
}

void MoneyEdit::focusInEvent(QFocusEvent *event) {
    if (!isReadOnly())
        showValue(true);
    QLineEdit::focusInEvent(event);
}

void MoneyEdit::focusOutEvent(QFocusEvent *event) {
    QLineEdit::focusOutEvent(event);
    readText();
    showValue(false);
}

void MoneyEdit::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        commit();
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString text = event->text();
    if (!isReadOnly() && !text.isEmpty() && text.at(0).isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const QLocale locale;
        const bool allowed = std::all_of(text.begin(), text.end(), [&](QChar c) {
            return (c.isDigit() && c.unicode() < 128) || locale.decimalPoint().contains(c) ||
                   locale.groupSeparator().contains(c) || c == u'-' ||
                   locale.negativeSign().contains(c);
        });
        if (!allowed) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace zenvo
