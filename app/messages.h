#pragma once

#include <QMessageBox>
#include <QString>

#include <exception>

class QWidget;

namespace zenvo {

// Message kinds of MesajGoster.
enum MesajTuru : int { Uyari = 0, Hata = 1, Bilgi = 2, Soru = 3 };

// The program's message dialog: the kind's title, icon and sound, Turkish button captions, the
// default button first in the keyboard order. Centred over the main window once that is shown,
// over the screen before. Returns the button that closed it.
QMessageBox::StandardButton MesajGoster(const QString &mesaj, int tur,
                                        QMessageBox::StandardButtons butonlar = QMessageBox::Ok,
                                        QMessageBox::StandardButton varsayilan = QMessageBox::Ok);

// The toolkit's plain box: the given title, one "OK" button, no caption translation.
void DuzMesajGoster(const QString &baslik, const QString &mesaj,
                    QMessageBox::Icon simge = QMessageBox::Warning);

// Point size of the message dialogs' font (0 keeps the application font).
void SetMesajYaziBoyutu(int pointSize);
// The window message dialogs centre on; set once the main window is shown.
void SetMesajSahibi(QWidget *mainWindow);

// The general error report: a modal error box with the error's own text. Used for every
// exception that escapes an event handler or a background call.
void GenelHataGoster(std::exception_ptr error);
QString hataMetni(std::exception_ptr error);

} // namespace zenvo
