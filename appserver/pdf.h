#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <vector>

namespace zenvo::appserver {

// A plain A4 document: a header with the issuer and title, then headings, label/value blocks,
// paragraphs and tables, one after another, onto as many pages as they need.
class PdfDocument final {
public:
    struct Column {
        QString caption;
        int weight = 1;     // share of the page width
        bool right = false; // right-aligned (amounts)
    };
    using Fields = QList<QPair<QString, QString>>;

    PdfDocument(QString issuer, QString title);
    // Wide tables read better across the page.
    void setLandscape(bool on) { m_landscape = on; }

    void heading(const QString &text);
    void fields(const Fields &pairs);
    void paragraph(const QString &text);
    // A table; `totals` (when given) is a bold last row. Rows longer than the columns are cut.
    void table(const QList<Column> &columns, const QList<QStringList> &rows,
               const QStringList &totals = {});

    // The PDF bytes; empty when the process has no QGuiApplication to draw text with.
    QByteArray render() const;

private:
    enum class Kind { Heading, Fields, Paragraph, Table };
    struct Block {
        Kind kind;
        QString text;
        Fields pairs;
        QList<Column> columns;
        QList<QStringList> rows;
        QStringList totals;
    };
    QString m_issuer;
    QString m_title;
    bool m_landscape = false;
    std::vector<Block> m_blocks;
};

// Turkish renderings for documents: "1.234,56", "30.06.2025", "30.06.2025 14:05".
QString pdfMoney(double v);
QString pdfDate(double oleDay);
QString pdfDateTime(double oleDay);

} // namespace zenvo::appserver
