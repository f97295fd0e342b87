#include "cart/onaysip.h"

#include "widgets/fonts.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace zenvo {

namespace {} // namespace

QString SiparisOzeti(const SiparisOzetBilgisi &b) {
    const auto line = [](const char *caption, const QString &value) -> QString {
        return QString::fromUtf8(caption).leftJustified(9) + QStringLiteral(": ") + value;
    };
    return QStringList{line("Kullanıcı", b.kullanici), line("Cari", b.cari),
                       line("Teslim", b.teslim),       line("Kargo", b.kargoTuru),
                       line("Tutar", b.tutar),         line("Kargo", b.kargoFirma),
                       line("Açıklama", b.aciklama)}
        .join(QLatin1Char('\n'));
}

TONAYSIP::TONAYSIP(QWidget *owner, const QString &ozet, const QString &uyari)
    : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("ONAYSIP"));
    setWindowTitle(QStringLiteral("Sipariş Onay"));
    setModal(true);

    // A very long message must not push the dialog off the screen.
    int maxWidth = 900;
    if (const QScreen *s = owner ? owner->screen() : QGuiApplication::primaryScreen())
        maxWidth = std::max(400, std::min(maxWidth, s->availableGeometry().width() - 80));

    m_label2 = new QLabel(ozet, this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setTextFormat(Qt::PlainText);
    m_label2->setFont(courierFont(16, true));
    m_label2->setWordWrap(true);
    m_label2->setMaximumWidth(maxWidth);

    m_label3 = new QLabel(uyari, this);
    m_label3->setObjectName(QStringLiteral("Label3"));
    m_label3->setTextFormat(Qt::PlainText);
    m_label3->setFont(courierFont(16, true));
    m_label3->setStyleSheet(QStringLiteral("color: red;"));
    m_label3->setWordWrap(true);
    m_label3->setMaximumWidth(maxWidth);
    m_label3->setVisible(!uyari.isEmpty());

    m_label1 =
        new QLabel(QStringLiteral("Yukarıda bilgileri verilen siparişi onaylıyor musunuz ?"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setFont(tahomaFont(20, true));
    m_label1->setAlignment(Qt::AlignCenter);
    m_label1->setWordWrap(true);

    m_button1 = new QPushButton(QStringLiteral("Evet"), this);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button2 = new QPushButton(QStringLiteral("Hayır"), this);
    m_button2->setObjectName(QStringLiteral("Button2"));
    for (QPushButton *b : {m_button1, m_button2})
        b->setMinimumSize(120, 36);
    m_button1->setDefault(true);
    connect(m_button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_button2, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_button1);
    buttons->addStretch(1);
    buttons->addWidget(m_button2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(12);
    layout->addWidget(m_label2);
    layout->addWidget(m_label3);
    layout->addWidget(m_label1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TONAYSIP::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // Centred over the main window.
    if (QWidget *owner = parentWidget()) {
        QRect r = frameGeometry();
        r.moveCenter(owner->window()->frameGeometry().center());
        move(r.topLeft());
    }
}

} // namespace zenvo
