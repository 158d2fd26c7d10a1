#pragma once
// The result tables of the REGON search window: a table is a heading over a row of
// columns; each column holds rows of one register identifier (caption and value).

#include <QFrame>
#include <QList>
#include <QString>

class QLabel;
class QHBoxLayout;
class TRegonResultTable;

// One register identifier and the caption the window shows for it.
struct TTableFieldRecord {
    QString ID;
    QString Caption;
};

// One row: read-only caption and value (bold); its object name is the identifier.
class TRegonResultRow : public QFrame {
    Q_OBJECT
public:
    TRegonResultRow(const TTableFieldRecord& Field, double MaxLabelWidthProcent, TRegonResultTable* Table,
                    QWidget* Parent);

    QString FieldName() const { return objectName(); }
    QString Caption() const;
    QString Value() const { return FValue; }
    void SetValue(const QString& Value);
    TRegonResultTable* OwnerTable() const { return FOwnerTable; }
    // The value as shown: long words get break opportunities (zero-width spaces).
    static QString Breakable(const QString& Value);

protected:
    void resizeEvent(QResizeEvent* Event) override;

private:
    QLabel* FLabel;
    QLabel* FMemo;
    QString FValue;
    double FMaxLabelWidthProcent;
    TRegonResultTable* FOwnerTable;
};

class TRegonResultTable : public QFrame {
    Q_OBJECT
public:
    explicit TRegonResultTable(const QString& Name, QWidget* Parent = nullptr);

    // Heading and column widths in percent; the last column takes the rest.
    void CreateTable(const QString& Header, const QList<int>& Widths);
    void TableHeader(const QString& Value);
    QString Header() const;
    // Empties every row's value.
    void ClearTable();
    TRegonResultRow* AddRow(int Column, const TTableFieldRecord& Field, double MaxLabelWidthProcent = 0.35);
    QWidget* GetColumn(int Index) const { return FColumnArray.value(Index); }
    const QList<TRegonResultRow*>& Rows() const { return FFieldListInternal; }

private:
    QLabel* FHeaderPanel;
    QHBoxLayout* FContainerLayout;
    QList<QWidget*> FColumnArray;
    QList<TRegonResultRow*> FFieldListInternal;
};

// The five tables of the window, in stacking order, as built by the window.
namespace RegonTables {
inline constexpr const char* OsobaFizyczna = "pnlOsobaFizyczna";
inline constexpr const char* OsobaFizycznaDzialalnosc = "pnlOsobaFizycznaDzialalnosc";
inline constexpr const char* JednostkaLokalnaOsobyFizycznej = "pnlJednostkaLokalnaOsobyFizycznej";
inline constexpr const char* JednostkaPrawna = "pnlJednostkaPrawna";
inline constexpr const char* JednostkaLokalnaJednostkiPrawnej = "pnlJednostkaLokalnaJednostkiPrawnej";
// Builds the five tables (hidden) into Parent.
QList<TRegonResultTable*> Build(QWidget* Parent);
} // namespace RegonTables
