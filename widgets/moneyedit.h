#pragma once

#include <QLineEdit>

#include <optional>

namespace zenvo {

// An edit for amounts: shows its value with a display format ("#,###,##0.00" by default, or
// for instance ",0.00 TL;-,0.00 TL") and the user's separators, accepts digits, separators and
// a minus sign, and keeps the value within its limits.
class MoneyEdit final : public QLineEdit {
    Q_OBJECT
public:
    explicit MoneyEdit(QWidget *parent = nullptr);

    double value() const { return m_value; }
    void setValue(double value);
    void setDisplayFormat(const QString &format);
    QString displayFormat() const { return m_format; }
    void setMaximum(double maximum);
    void setMinimum(double minimum);
    void clearLimits();
    // Keep the display format while the edit has the focus (otherwise the plain number shows).
    void setFormatOnEditing(bool on);

signals:
    void valueChanged(double value);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    double clamp(double value) const;
    void showValue(bool editing);
    void commit();
    void readText();

    double m_value = 0;
    QString m_format;
    std::optional<double> m_maximum;
    std::optional<double> m_minimum;
    bool m_formatOnEditing = false;
};

} // namespace zenvo
