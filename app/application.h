#pragma once

#include <QApplication>

namespace zenvo {

// The program's application: every exception that escapes an event handler ends in the
// general error report instead of ending the program.
class ZenvoApplication final : public QApplication {
    Q_OBJECT
public:
    ZenvoApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// The program's look: a turquoise and grey palette with its style sheet.
void GorunumUygula(QApplication &app);

inline constexpr const char *kUygulamaBasligi = "Zenvora B2B";
inline constexpr const char *kPencereBasligi = "Zenvora B2B Programı";

} // namespace zenvo
