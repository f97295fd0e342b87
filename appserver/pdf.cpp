#include "appserver/pdf.h"

#include "server/oledate.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>
#include <mutex>

namespace zenvo::appserver {

namespace {

constexpr int kDpi = 300;

double mm(double v) {
    return v * kDpi / 25.4;
}

QFont font(double points, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Draws blocks top to bottom, starting a new page when the next piece does not fit.
class Layout final {
public:
    Layout(QPainter &p, QPdfWriter &w, const QString &issuer, const QString &title)
        : m_p(p), m_w(w), m_issuer(issuer), m_title(title), m_width(w.width()),
          m_bottom(w.height() - mm(8)) {
        pageHeader();
    }

    void finish() { pageFooter(); }

    void heading(const QString &text) {
        const QFont f = font(11, true);
        const double h = QFontMetricsF(f, &m_w).height();
        ensure(h + mm(6));
        m_y += mm(3);
        m_p.setFont(f);
        m_p.setPen(Qt::black);
        m_p.drawText(QRectF(0, m_y, m_width, h), Qt::AlignLeft | Qt::AlignVCenter, text);
        m_y += h + mm(2);
    }

    void fields(const PdfDocument::Fields &pairs) {
        const QFont labelFont = font(9, true), valueFont = font(9);
        const double labelWidth = m_width * 0.3;
        const double valueWidth = m_width - labelWidth - mm(2);
        for (const auto &[label, value] : pairs) {
            const QRectF box(0, 0, valueWidth, 1e6);
            const double h = std::max(QFontMetricsF(labelFont, &m_w).height(),
                                      QFontMetricsF(valueFont, &m_w)
                                          .boundingRect(box, Qt::TextWordWrap, value)
                                          .height()) +
                             mm(1);
            ensure(h);
            m_p.setPen(Qt::black);
            m_p.setFont(labelFont);
            m_p.drawText(QRectF(0, m_y, labelWidth, h), Qt::AlignLeft | Qt::AlignTop, label);
            m_p.setFont(valueFont);
            m_p.drawText(QRectF(labelWidth + mm(2), m_y, valueWidth, h),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, value);
            m_y += h;
        }
        m_y += mm(2);
    }

    void paragraph(const QString &text) {
        const QFont f = font(9);
        const QRectF box(0, 0, m_width, 1e6);
        const double h =
            QFontMetricsF(f, &m_w).boundingRect(box, Qt::TextWordWrap, text).height() + mm(2);
        ensure(h);
        m_p.setFont(f);
        m_p.setPen(Qt::black);
        m_p.drawText(QRectF(0, m_y, m_width, h), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     text);
        m_y += h;
    }

    void table(const QList<PdfDocument::Column> &columns, const QList<QStringList> &rows,
               const QStringList &totals) {
        if (columns.isEmpty())
            return;
        int weights = 0;
        for (const auto &c : columns)
            weights += std::max(1, c.weight);
        m_colX.clear();
        double x = 0;
        for (const auto &c : columns) {
            m_colX.append(x);
            x += m_width * std::max(1, c.weight) / weights;
        }
        m_colX.append(m_width);
        const QFont body = font(8), bold = font(8, true);
        const double rowH = QFontMetricsF(body, &m_w).height() * 1.5;

        ensure(rowH * 2);
        tableHeader(columns, bold, rowH);
        for (const QStringList &row : rows) {
            if (m_y + rowH > m_bottom) {
                newPage();
                tableHeader(columns, bold, rowH);
            }
            tableRow(columns, row, body, rowH);
        }
        if (!totals.isEmpty()) {
            ensure(rowH);
            m_p.setPen(QPen(Qt::black, mm(0.3)));
            m_p.drawLine(QPointF(0, m_y), QPointF(m_width, m_y));
            tableRow(columns, totals, bold, rowH);
        }
        m_y += mm(3);
    }

private:
    void ensure(double h) {
        if (m_y + h > m_bottom)
            newPage();
    }

    void newPage() {
        pageFooter();
        m_w.newPage();
        ++m_page;
        pageHeader();
    }

    void pageHeader() {
        m_y = 0;
        const QFont small = font(8, true), big = font(15, true);
        const double hs = QFontMetricsF(small, &m_w).height();
        const double hb = QFontMetricsF(big, &m_w).height();
        m_p.setPen(QColor(0, 70, 120));
        m_p.setFont(small);
        m_p.drawText(QRectF(0, 0, m_width, hs), Qt::AlignLeft | Qt::AlignVCenter, m_issuer);
        m_p.setPen(Qt::black);
        m_p.setFont(big);
        m_p.drawText(QRectF(0, hs + mm(1), m_width, hb), Qt::AlignLeft | Qt::AlignVCenter, m_title);
        m_y = hs + hb + mm(2.5);
        m_p.setPen(QPen(QColor(0, 70, 120), mm(0.5)));
        m_p.drawLine(QPointF(0, m_y), QPointF(m_width, m_y));
        m_y += mm(3);
    }

    void pageFooter() {
        const QFont f = font(7);
        m_p.setFont(f);
        m_p.setPen(Qt::darkGray);
        m_p.drawText(QRectF(0, m_bottom + mm(2), m_width, mm(5)), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Sayfa %1").arg(m_page));
    }

    void tableHeader(const QList<PdfDocument::Column> &columns, const QFont &f, double rowH) {
        m_p.fillRect(QRectF(0, m_y, m_width, rowH), QColor(225, 232, 240));
        QStringList captions;
        for (const auto &c : columns)
            captions.append(c.caption);
        tableRow(columns, captions, f, rowH, false);
    }

    void tableRow(const QList<PdfDocument::Column> &columns, const QStringList &cells,
                  const QFont &f, double rowH, bool rule = true) {
        m_p.setFont(f);
        m_p.setPen(Qt::black);
        const QFontMetricsF fm(f, &m_w);
        const double pad = mm(1);
        for (qsizetype c = 0; c < columns.size() && c < cells.size(); ++c) {
            const QRectF cell(m_colX[c] + pad, m_y, m_colX[c + 1] - m_colX[c] - 2 * pad, rowH);
            const QString text = fm.elidedText(cells[c], Qt::ElideRight, cell.width());
            m_p.drawText(
                cell, (columns[c].right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, text);
        }
        m_y += rowH;
        if (rule) {
            m_p.setPen(QPen(QColor(200, 200, 200), mm(0.15)));
            m_p.drawLine(QPointF(0, m_y), QPointF(m_width, m_y));
        }
    }

    QPainter &m_p;
    QPdfWriter &m_w;
    QString m_issuer, m_title;
    double m_width;
    double m_bottom;
    double m_y = 0;
    int m_page = 1;
    QList<double> m_colX;
};

} // namespace

PdfDocument::PdfDocument(QString issuer, QString title)
    : m_issuer(std::move(issuer)), m_title(std::move(title)) {}

void PdfDocument::heading(const QString &text) {
    m_blocks.push_back({Kind::Heading, text, {}, {}, {}, {}});
}

void PdfDocument::fields(const Fields &pairs) {
    m_blocks.push_back({Kind::Fields, {}, pairs, {}, {}, {}});
}

void PdfDocument::paragraph(const QString &text) {
    m_blocks.push_back({Kind::Paragraph, text, {}, {}, {}, {}});
}

void PdfDocument::table(const QList<Column> &columns, const QList<QStringList> &rows,
                        const QStringList &totals) {
    m_blocks.push_back({Kind::Table, {}, {}, columns, rows, totals});
}

QByteArray PdfDocument::render() const {
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return {};
    // Workers share Qt's font caches; one document at a time keeps them out of each other's way.
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kDpi);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(m_landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
        writer.setTitle(m_title);
        writer.setCreator(QStringLiteral("zenvo-server"));
        QPainter p;
        if (!p.begin(&writer))
            return {};
        Layout layout(p, writer, m_issuer, m_title);
        for (const Block &b : m_blocks) {
            switch (b.kind) {
            case Kind::Heading:
                layout.heading(b.text);
                break;
            case Kind::Fields:
                layout.fields(b.pairs);
                break;
            case Kind::Paragraph:
                layout.paragraph(b.text);
                break;
            case Kind::Table:
                layout.table(b.columns, b.rows, b.totals);
                break;
            }
        }
        layout.finish();
        p.end();
    }
    buffer.close();
    return bytes;
}

QString pdfMoney(double v) {
    if (!std::isfinite(v) || v == 0)
        v = 0; // no "-0,00"
    static const QLocale tr(QLocale::Turkish, QLocale::Turkey);
    return tr.toString(v, 'f', 2);
}

QString pdfDate(double oleDay) {
    if (!(oleDay > 0))
        return {};
    return FromOleDate(oleDay).date().toString(QStringLiteral("dd.MM.yyyy"));
}

QString pdfDateTime(double oleDay) {
    if (!(oleDay > 0))
        return {};
    return FromOleDate(oleDay).toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

} // namespace zenvo::appserver
