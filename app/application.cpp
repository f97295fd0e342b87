#include "app/application.h"

#include "app/messages.h"

#include <QPalette>
#include <QStyleFactory>

namespace zenvo {

ZenvoApplication::ZenvoApplication(int &argc, char **argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("zenvo"));
}

bool ZenvoApplication::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        GenelHataGoster(std::current_exception());
        return false;
    }
}

void GorunumUygula(QApplication &app) {
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QColor turquoise(0x1F, 0x9E, 0xA6);
    const QColor darkTurquoise(0x13, 0x6F, 0x76);
    const QColor grey(0xE6, 0xE9, 0xEB);
    const QColor midGrey(0xC4, 0xCA, 0xCF);
    const QColor slate(0x2F, 0x3B, 0x45);
    QPalette p;
    p.setColor(QPalette::Window, grey);
    p.setColor(QPalette::WindowText, slate);
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::AlternateBase, QColor(0xEF, 0xF7, 0xF7));
    p.setColor(QPalette::Text, slate);
    p.setColor(QPalette::Button, QColor(0xF1, 0xF3, 0xF4));
    p.setColor(QPalette::ButtonText, slate);
    p.setColor(QPalette::Highlight, turquoise);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Light, Qt::white);
    p.setColor(QPalette::Mid, midGrey);
    p.setColor(QPalette::Dark, QColor(0x8A, 0x94, 0x9C));
    p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFD, 0xE8));
    p.setColor(QPalette::ToolTipText, slate);
    p.setColor(QPalette::Link, darkTurquoise);
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x9A, 0xA2, 0xA8));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x9A, 0xA2, 0xA8));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x9A, 0xA2, 0xA8));
    app.setPalette(p);

    app.setStyleSheet(QStringLiteral(R"css(
QPushButton {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 #DDE3E6);
    border: 1px solid #9FB0B8; border-radius: 3px; padding: 4px 14px; min-height: 20px;
}
QPushButton:hover { border-color: #1F9EA6; background: #E4F5F6; }
QPushButton:pressed { background: #BFE6E8; }
QPushButton:default { border: 2px solid #1F9EA6; }
QPushButton:disabled { color: #9AA2A8; background: #ECEFF1; border-color: #C4CACF; }
QPushButton:focus { border-color: #1F9EA6; }
QLineEdit {
    border: 1px solid #9FB0B8; border-radius: 2px; padding: 2px 4px; background: #FFFFFF;
    selection-background-color: #1F9EA6;
}
QLineEdit:focus { border: 1px solid #1F9EA6; }
QLineEdit:disabled { background: #ECEFF1; }
QToolButton { border: 1px solid transparent; border-radius: 3px; padding: 2px; }
QToolButton:hover { border-color: #1F9EA6; background: #DFF3F4; }
QToolButton:pressed { background: #BFE6E8; }
QMenu { background: #FFFFFF; border: 1px solid #9FB0B8; }
QMenu::item { padding: 6px 26px 6px 22px; }
QMenu::item:selected { background: #1F9EA6; color: #FFFFFF; }
QMenu::separator { height: 1px; background: #C4CACF; margin: 3px 8px; }
QTabWidget::pane { border: 1px solid #9FB0B8; border-top: 3px solid #1F9EA6; background: #FFFFFF; }
QTabBar::tab {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #F4F6F7, stop:1 #D5DCE0);
    border: 1px solid #9FB0B8; border-bottom: none; border-top-left-radius: 4px;
    border-top-right-radius: 4px; min-width: 120px; min-height: 45px; max-height: 45px;
    padding: 0 8px; margin-right: 2px; color: #2F3B45;
}
QTabBar::tab:selected {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3DBAC2, stop:1 #1F9EA6);
    color: #FFFFFF; border-color: #178890;
}
QTabBar::tab:hover:!selected { background: #DFF3F4; }
QCheckBox::indicator { width: 14px; height: 14px; }
QMessageBox QPushButton { min-width: 70px; }
QToolTip { border: 1px solid #9FB0B8; padding: 3px; }
)css"));
}

} // namespace zenvo
