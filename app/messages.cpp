#include "app/messages.h"

#include "app/application.h"
#include "app/platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <utility>

namespace zenvo {

namespace {

int g_pointSize = 0;
QPointer<QWidget> g_owner;

struct Caption {
    QMessageBox::StandardButton button;
    const char *text;
};
constexpr Caption kCaptions[] = {
    {QMessageBox::Yes, "Evet"},
    {QMessageBox::No, "Hayır"},
    {QMessageBox::Cancel, "Vazgeç"},
    {QMessageBox::Ok, "Tamam"},
    {QMessageBox::Abort, "İptal"},
    {QMessageBox::Retry, "Tekrar"},
    {QMessageBox::Ignore, "Atla"},
    {QMessageBox::YesToAll, "Tümüne Evet"},
    {QMessageBox::NoToAll, "Tümüne Hayır"},
    {QMessageBox::Help, "Yardım"},
};

const char *title(int kind) {
    switch (kind) {
    case Uyari:
        return "Uyarı";
    case Hata:
        return "Hata";
    case Bilgi:
        return "Bilgi";
    case Soru:
        return "Soru";
    default:
        return "";
    }
}

QMessageBox::Icon icon(int kind) {
    switch (kind) {
    case Uyari:
        return QMessageBox::Warning;
    case Hata:
        return QMessageBox::Critical;
    case Bilgi:
        return QMessageBox::Information;
    case Soru:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

void centre(QMessageBox &box) {
    box.adjustSize();
    QRect area;
    if (g_owner && g_owner->isVisible())
        area = g_owner->frameGeometry();
    else if (const QScreen *s = QGuiApplication::primaryScreen())
        area = s->availableGeometry();
    if (area.isValid()) {
        QRect r = box.frameGeometry();
        r.moveCenter(area.center());
        box.move(r.topLeft());
    }
}

// Captions only: some platform themes put stock pictures on dialog buttons.
void plainButtons(QMessageBox &box) {
    for (QAbstractButton *b : box.buttons())
        b->setIcon(QIcon());
}

} // namespace

void SetMesajYaziBoyutu(int pointSize) {
    g_pointSize = pointSize;
}

void SetMesajSahibi(QWidget *mainWindow) {
    g_owner = mainWindow;
}

QMessageBox::StandardButton MesajGoster(const QString &mesaj, int tur,
                                        QMessageBox::StandardButtons butonlar,
                                        QMessageBox::StandardButton varsayilan) {
    QWidget *owner = g_owner && g_owner->isVisible() ? g_owner.data() : nullptr;
    QMessageBox box(icon(tur), QString::fromUtf8(title(tur)), mesaj, butonlar, owner);
    box.setObjectName(QStringLiteral("MesajGoster"));
    if (g_pointSize > 0) {
        QFont f = box.font();
        f.setPointSize(g_pointSize);
        box.setFont(f);
    }
    for (const Caption &c : kCaptions) {
        if (QAbstractButton *b = box.button(c.button))
            b->setText(QString::fromUtf8(c.text));
    }
    plainButtons(box);
    // The default button comes first in the keyboard order and holds the focus.
    QList<QAbstractButton *> order = box.buttons();
    if (auto *def = qobject_cast<QPushButton *>(box.button(varsayilan))) {
        box.setDefaultButton(def);
        order.removeOne(def);
        order.prepend(def);
        def->setFocus();
    }
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    centre(box);
    platform().beep(tur);
    box.exec();
    QAbstractButton *clicked = box.clickedButton();
    return clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
}

void DuzMesajGoster(const QString &baslik, const QString &mesaj, QMessageBox::Icon simge) {
    QMessageBox box(simge, baslik, mesaj, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("DuzMesaj"));
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    plainButtons(box);
    centre(box);
    box.exec();
}

QString hataMetni(std::exception_ptr error) {
    try {
        std::rethrow_exception(std::move(error));
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Bilinmeyen hata");
    }
}

void GenelHataGoster(std::exception_ptr error) {
    if (!error)
        return;
    const QString text = hataMetni(std::move(error));
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kUygulamaBasligi), text,
                    QMessageBox::Ok);
    box.setObjectName(QStringLiteral("GenelHata"));
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    plainButtons(box);
    centre(box);
    box.exec();
}

} // namespace zenvo
