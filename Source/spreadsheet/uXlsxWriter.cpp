#include "uXlsxWriter.h"

#include <QDate>

#include <xlsxwriter.h>

namespace {

// Rows of one sheet (the header included) and characters of one cell, as the format allows.
constexpr int kMaxRows = 1048576;
constexpr qsizetype kMaxCell = 32767;
constexpr double kColumnWidth = 24;

// A whole date written yyyy-mm-dd; null otherwise.
QDate CellDate(const QString& Text) {
    if (Text.size() != 10 || Text[4] != u'-' || Text[7] != u'-')
        return {};
    return QDate::fromString(Text, Qt::ISODate);
}

} // namespace

TXlsxWriter::~TXlsxWriter() {
    Abandon();
}

bool TXlsxWriter::Check(int Code) {
    if (Code == LXW_NO_ERROR)
        return true;
    m_error = QString::fromUtf8(lxw_strerror(static_cast<lxw_error>(Code)));
    return false;
}

bool TXlsxWriter::Open(const QString& Path, const QStringList& Header) {
    Abandon();
    m_error.clear();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray path = Path.toUtf8();
    m_book = workbook_new_opt(path.constData(), &options);
    if (!m_book) {
        m_error = QStringLiteral("Nie można utworzyć skoroszytu.");
        return false;
    }
    m_sheet = workbook_add_worksheet(m_book, "Lista");
    m_bold = workbook_add_format(m_book);
    format_set_bold(m_bold);
    m_date = workbook_add_format(m_book);
    format_set_num_format(m_date, "yyyy-mm-dd");
    if (!Header.isEmpty())
        worksheet_set_column(m_sheet, 0, static_cast<lxw_col_t>(Header.size() - 1), kColumnWidth, nullptr);
    worksheet_freeze_panes(m_sheet, 1, 0);
    m_row = 0;
    for (int c = 0; c < Header.size(); ++c) {
        const QByteArray text = Header[c].toUtf8();
        if (!Check(worksheet_write_string(m_sheet, 0, static_cast<lxw_col_t>(c), text.constData(), m_bold)))
            return false;
    }
    m_row = 1;
    return true;
}

bool TXlsxWriter::WriteCell(int Col, const QString& Text) {
    if (Text.isEmpty())
        return true;
    const auto col = static_cast<lxw_col_t>(Col);
    const auto row = static_cast<lxw_row_t>(m_row);
    if (const QDate d = CellDate(Text); d.isValid()) {
        lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0};
        return Check(worksheet_write_datetime(m_sheet, row, col, &dt, m_date));
    }
    if (Text.size() > kMaxCell) {
        m_error = QStringLiteral("Wartość w wierszu %1 jest dłuższa niż %2 znaków, których mieści komórka arkusza.")
                      .arg(m_row)
                      .arg(kMaxCell);
        return false;
    }
    const QByteArray utf8 = Text.toUtf8();
    return Check(worksheet_write_string(m_sheet, row, col, utf8.constData(), nullptr));
}

bool TXlsxWriter::WriteRow(const QStringList& Cells) {
    if (!m_book)
        return false;
    if (m_row >= kMaxRows) {
        m_error = QStringLiteral("Arkusz mieści najwyżej %1 wierszy.").arg(kMaxRows - 1);
        return false;
    }
    for (int c = 0; c < Cells.size(); ++c)
        if (!WriteCell(c, Cells[c]))
            return false;
    ++m_row;
    return true;
}

bool TXlsxWriter::Close() {
    if (!m_book)
        return false;
    lxw_workbook* book = m_book;
    m_book = nullptr;
    return Check(workbook_close(book));
}

void TXlsxWriter::Abandon() {
    if (!m_book)
        return;
    // libxlsxwriter has no way to drop a workbook unwritten; the caller removes the file.
    workbook_close(m_book);
    m_book = nullptr;
}
