#pragma once

#include <QIcon>
#include <QPixmap>

namespace zenvo {

// The main window's pictures, drawn in code so that they stay sharp at any scale.
QPixmap logoResmi(int height);             // the firm's logo: emblem and name
QPixmap girisArkaPlani(const QSize &size); // background of the login dialog
QIcon sekmeSimgesi(int index);             // tab icon by image-list index (0..10)
QIcon araSimgesi();                        // search button
QIcon temizleSimgesi();                    // clear button
QIcon menuSimgesi();                       // general menu button
QPixmap aramaKutusuSimgesi();              // small icon before the search box

} // namespace zenvo
