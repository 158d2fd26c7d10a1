#pragma once
// One worksheet written with libxlsxwriter: a bold, frozen header row, then rows whose
// cells are text, except a cell that is a whole date "yyyy-mm-dd", which is written as
// a date. Text cells are never formulas, whatever they start with. Rows stream to the
// file (libxlsxwriter's constant-memory mode), so long lists need little memory.

#include <QString>
#include <QStringList>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

class TXlsxWriter {
public:
    TXlsxWriter() = default;
    ~TXlsxWriter();
    TXlsxWriter(const TXlsxWriter&) = delete;
    TXlsxWriter& operator=(const TXlsxWriter&) = delete;

    // Creates the workbook at Path with one sheet and its header row.
    bool Open(const QString& Path, const QStringList& Header);
    bool WriteRow(const QStringList& Cells);
    // Writes the file out; false (and Error) when that failed.
    bool Close();
    // Drops the workbook without keeping a usable file.
    void Abandon();
    QString Error() const { return m_error; }

private:
    bool WriteCell(int Col, const QString& Text);
    bool Check(int Code);

    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_bold = nullptr;
    lxw_format* m_date = nullptr;
    int m_row = 0;
    QString m_error;
};
