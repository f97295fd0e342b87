#pragma once

#include <QFont>

namespace zenvo {

// The typefaces the windows name, each followed by the free look-alikes Debian ships, so text
// keeps its metrics where the named face is missing.
QFont tahomaFont(int pixelSize, bool bold = false);
QFont arialFont(int pixelSize, bool bold = false);
QFont courierFont(int pixelSize, bool bold = false); // fixed pitch

} // namespace zenvo
