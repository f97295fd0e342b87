#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zenvo {

// What the order confirmation repeats.
struct SiparisOzetBilgisi {
    QString kullanici;  // session ADI
    QString cari;       // session CariAdi
    QString teslim;     // delivery kind
    QString kargoTuru;  // cargo kind
    QString tutar;      // the grand total exactly as the totals panel shows it
    QString kargoFirma; // cargo firm
    QString aciklama;   // the message, line breaks included
};

// Seven lines whose captions are padded to 11 characters, so the colons line up in a
// fixed-pitch font.
QString SiparisOzeti(const SiparisOzetBilgisi &b);

// The order confirmation: the summary, the overdue warning in red and the question;
// "Evet" accepts, "Hayır" rejects.
class TONAYSIP final : public QDialog {
    Q_OBJECT
public:
    TONAYSIP(QWidget *owner, const QString &ozet, const QString &uyari);

    QLabel *Label1() const { return m_label1; }
    QLabel *Label2() const { return m_label2; }
    QLabel *Label3() const { return m_label3; }
    QPushButton *Button1() const { return m_button1; }
    QPushButton *Button2() const { return m_button2; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_label1;
    QLabel *m_label2;
    QLabel *m_label3;
    QPushButton *m_button1;
    QPushButton *m_button2;
};

} // namespace zenvo
