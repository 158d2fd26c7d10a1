#pragma once
// "Lista pól": the values of a record whose user-defined field definition was
// deleted (symbol, value, caption, kind), and "Przywróć pole", which stores a new
// definition for the chosen row. Rows are kept as lists of items, so any text in
// a value survives.

#include "TForm.h"
#include "uEwidarQuorDBIntf.h"

#include <QList>
#include <QPointer>
#include <QStringList>

class QToolButton;
class TDrawGrid;
class TFrame;
class TPanel;

using TAddedFieldArray = QList<TIntfPtr<IDynamicField>>;

class TFindFieldsForm : public TForm {
    Q_OBJECT
public:
    // Rows: symbol, value, caption, kind name.
    TFindFieldsForm(QWidget* OwnerWindow, const QList<QStringList>& Rows, TFrame* OwnerFrame,
                    const TIntfPtr<IDynamicFields>& Definitions);

    void btnPostClick();
    const TAddedFieldArray& AddedFields() const { return FAddedFieldArray; }
    const QList<QStringList>& Rows() const { return FRows; }

    // Caption of a kind name in the "Typ danych" column, and back; empty for unknown ones.
    static QString KindCaption(const QString& KindName);
    static QString KindName(const QString& Caption);

    TDrawGrid* DrawGrid1;
    TPanel* pnlButtons;
    QToolButton* btnPost;
    QToolButton* btnClose;

private:
    void FillGrid();

    QList<QStringList> FRows;
    QPointer<TFrame> FOwnerFrame;
    TIntfPtr<IDynamicFields> FDynamicFields;
    TAddedFieldArray FAddedFieldArray;
};

// Opens the window; the definitions restored while it was open, in order.
TAddedFieldArray ShowFindFields(QWidget* OwnerWindow, const QList<QStringList>& Rows, TFrame* OwnerFrame,
                                const TIntfPtr<IDynamicFields>& Definitions);
