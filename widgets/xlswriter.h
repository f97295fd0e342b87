#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <vector>

namespace zenvo {

// A legacy Excel workbook (BIFF8 records in the "Workbook" stream of an OLE2 compound file).
// Cells are added row by row, left to right, as the format stores them. Text goes through the
// shared string table (UTF-16 when a string has characters beyond Latin-1), numbers are stored
// as IEEE doubles with a number format.
class XlsWorkbook final {
public:
    static constexpr int kMaxRows = 65536;
    static constexpr int kMaxColumns = 256;
    static constexpr int kMaxTextLength = 32767;

    enum class Align : std::uint8_t { General, Left, Centre, Right };
    struct CellStyle {
        QString numberFormat; // spreadsheet format code; empty for General
        bool bold = false;
        bool wrap = false;
        Align align = Align::General;
        bool operator==(const CellStyle &) const = default;
    };

    int addSheet(const QString &name); // returns the sheet index
    int sheetCount() const { return int(m_sheets.size()); }
    void setColumnWidth(int sheet, int column, int pixels);
    void freezeTopRow(int sheet);

    int style(const CellStyle &style); // cell format handle for the cell writers
    // Both return false (and write nothing) for a cell outside the sheet limits or out of order.
    bool writeText(int sheet, int row, int column, const QString &text, int style = -1);
    bool writeNumber(int sheet, int row, int column, double value, int style = -1);

    QByteArray workbookStream() const;
    // Writes the compound file; the file appears only when it was written completely.
    bool save(const QString &path, QString *error = nullptr) const;

private:
    struct Sheet {
        QString name;
        QByteArray cells;
        std::vector<std::pair<int, int>> widths; // column, pixels
        int lastRow = -1;
        int lastColumn = -1;
        int maxColumn = -1;
        bool frozen = false;
    };
    bool placeCell(Sheet &sheet, int row, int column);
    int xfIndex(int style) const;

    std::vector<Sheet> m_sheets;
    std::vector<CellStyle> m_styles;
    QHash<QString, quint32> m_sstIndex;
    std::vector<QString> m_strings;
    quint32 m_sstRefs = 0;
};

// Writes one stream into a new OLE2 compound file at path (libgsf).
bool writeOleFile(const QString &path, const char *streamName, const QByteArray &data,
                  QString *error = nullptr);

} // namespace zenvo
