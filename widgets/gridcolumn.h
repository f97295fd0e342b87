#pragma once

#include "server/resulttable.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <type_traits>

class QPainter;

namespace zenvo {

// How a grid cell shows its value.
enum class CellKind : std::uint8_t {
    Text,        // one line, elided
    WrappedText, // word-wrapped, vertically centred
    Number,      // right-aligned, the table column's display format
    Money,       // like Number, "#,###,##0.00" when the column has no format
    StatusIcon,  // stock status code 0..5 as its icon
    FlagIcon,    // 1: green tick, anything else: empty
    PictureIcon, // 1: camera, anything else: empty
    Image,       // a blob column holding a picture, scaled to fit
    CheckBox,    // checked for 1, unchecked otherwise
    Drawn,       // painted by the column's callback
};

// Read access to one row of the grid's table, for callbacks.
class GridRow final {
public:
    GridRow(const ResultTable *table, int row) : m_table(table), m_row(row) {}
    int tableRow() const { return m_row; }
    bool isNull(QStringView field) const {
        const int c = column(field);
        return c < 0 || m_table->isNull(m_row, c);
    }
    double number(QStringView field) const {
        const int c = column(field);
        return c < 0 ? 0.0 : m_table->doubleValue(m_row, c);
    }
    qint64 integer(QStringView field) const {
        const int c = column(field);
        return c < 0 ? 0 : m_table->intValue(m_row, c);
    }
    QString text(QStringView field) const {
        const int c = column(field);
        return c < 0 ? QString() : m_table->stringValue(m_row, c);
    }

private:
    int column(QStringView field) const {
        return m_table && m_row >= 0 && m_row < m_table->rowCount() ? m_table->fieldIndex(field)
                                                                    : -1;
    }
    const ResultTable *m_table;
    int m_row;
};

// What a drawn column's callback gets: the cell rectangle (background already filled with the
// row's colour) and the colours and font the grid would use.
struct GridCell {
    QRect rect;
    GridRow row;
    bool selected = false;
    QColor background;
    QColor textColor;
    QFont font;
};

// One column of a grid, declared by feature code:
//   GridColumn(u"ADI"_s, u"Açıklama"_s, 3, CellKind::WrappedText)
//   GridColumn(u"STOK_STOKNO"_s).hidden().fixed().notFocusable().notFilterable()
struct GridColumn {
    QString field;            // result column it shows; may be empty for a drawn column
    QString caption;          // header text; the field name when empty
    bool visible = true;      // shown at start
    bool customizable = true; // offered in the column chooser
    int weight = 1;           // share of the width for proportional layout
    CellKind kind = CellKind::Text;
    Qt::Alignment alignment = {}; // horizontal; default: numbers right, icons centred, text left
    bool focusable = true;
    bool filterable = true;
    bool captionShown = true; // false: the header stays blank
    QString name;             // identity when field is empty or used twice; defaults to field
    std::function<void(QPainter &, const GridCell &)> paint; // Drawn
    std::function<QString(const GridRow &)> text;            // Drawn: the text the cell stands for

    GridColumn() = default;
    explicit GridColumn(QString field_, QString caption_ = {}, int weight_ = 1,
                        CellKind kind_ = CellKind::Text)
        : field(std::move(field_)), caption(std::move(caption_)), weight(weight_), kind(kind_) {}
    // A column painted by a callback; text gives what it stands for (search, filter, export).
    // The text callback must return a QString: a string-builder expression returned through
    // std::function would refer to temporaries that are gone.
    template <typename Paint, typename Text = std::nullptr_t>
    static GridColumn drawn(QString name, QString caption, int weight, Paint paint,
                            Text text = nullptr) {
        GridColumn c({}, std::move(caption), weight, CellKind::Drawn);
        c.name = std::move(name);
        if constexpr (!std::is_same_v<Paint, std::nullptr_t>)
            c.paint = std::move(paint);
        if constexpr (!std::is_same_v<Text, std::nullptr_t>) {
            static_assert(std::is_same_v<std::invoke_result_t<Text &, const GridRow &>, QString>,
                          "the text callback must return QString");
            c.text = std::move(text);
        }
        return c;
    }

    [[nodiscard]] GridColumn hidden() const {
        return with([](GridColumn &c) { c.visible = false; });
    }
    [[nodiscard]] GridColumn fixed() const {
        return with([](GridColumn &c) { c.customizable = false; });
    }
    [[nodiscard]] GridColumn notFocusable() const {
        return with([](GridColumn &c) { c.focusable = false; });
    }
    [[nodiscard]] GridColumn notFilterable() const {
        return with([](GridColumn &c) { c.filterable = false; });
    }
    [[nodiscard]] GridColumn noCaption() const {
        return with([](GridColumn &c) { c.captionShown = false; });
    }
    [[nodiscard]] GridColumn aligned(Qt::Alignment a) const {
        return with([a](GridColumn &c) { c.alignment = a; });
    }
    [[nodiscard]] GridColumn named(QString n) const {
        return with([&n](GridColumn &c) { c.name = std::move(n); });
    }

    QString key() const { return name.isEmpty() ? field : name; }
    QString headerText() const {
        if (!captionShown)
            return {};
        return caption.isEmpty() ? field : caption;
    }

private:
    template <typename F> GridColumn with(F f) const {
        GridColumn c = *this;
        f(c);
        return c;
    }
};

enum class SummaryKind : std::uint8_t { Count, Sum, Min, Max, Average };

// A footer (or group footer) value shown under a column; sums read the column's field.
struct GridSummary {
    SummaryKind kind = SummaryKind::Count;
    QString column;                        // key of the column it sits under and reads
    QString format = QStringLiteral("%1"); // %1 is replaced by the value
    GridSummary() = default;
    GridSummary(SummaryKind kind_, QString column_, QString format_ = QStringLiteral("%1"))
        : kind(kind_), column(std::move(column_)), format(std::move(format_)) {}
};

// The look of a grid; the defaults are the common look of the program's lists.
struct GridLook {
    int headerHeight = 40;
    int rowHeight = 40;
    bool headerVisible = true;
    QColor evenRowColor = QColor(0xEF, 0xEF, 0xEF);
    QColor oddRowColor = Qt::white;
    QColor headerColor = QColor(0x00, 0xA0, 0xD2);
    QColor headerTextColor = Qt::white;
    QFont headerFont = defaultFont(13, true);
    QColor selectionColor = QColor(0xD2, 0xF0, 0xF9);
    QColor selectionTextColor = Qt::black;
    QColor textColor = Qt::black;
    QFont font = defaultFont(13, false);
    int indicatorWidth = 0; // 0: no indicator column
    QColor indicatorColor = QColor(0x42, 0x42, 0x42);
    bool focusRect = true;
    QColor gridLineColor = QColor(0xD9, 0xDE, 0xE3);
    QColor footerColor = QColor(0xE9, 0xEE, 0xF2);
    QColor groupRowColor = QColor(0xDC, 0xE6, 0xEE);
    bool scrollPerPixel = false;

    static QFont defaultFont(int pixelSize, bool bold) {
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(pixelSize);
        f.setBold(bold);
        return f;
    }
};

} // namespace zenvo
