#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace zenvo {

// Turns the Turkish-specific letters ğ ü ş ö ç ı İ (and their upper-case forms) into plain Latin
// letters; every other character stays. The search finds codes and names written without them.
QString AramaMetniCevir(QString text);

// Installed on the search box: every typed key (and text committed by an input method) passes
// through AramaMetniCevir before the box sees it; Enter calls `ara` instead of reaching the box.
class AramaKutusuFiltresi final : public QObject {
    Q_OBJECT
public:
    AramaKutusuFiltresi(std::function<void()> ara, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> m_ara;
};

} // namespace zenvo
