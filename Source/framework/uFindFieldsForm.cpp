#include "uFindFieldsForm.h"

#include "uButtonStrip.h"
#include "uEditingPictures.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uFieldSettingsForm.h"
#include "uUserMessagesModule.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kColumns = 4;

} // namespace

QString TFindFieldsForm::KindCaption(const QString& KindName) {
    for (const auto& kind : TFieldSettingsForm::Kinds())
        if (kind.second == KindName)
            return kind.first;
    return {};
}

QString TFindFieldsForm::KindName(const QString& Caption) {
    for (const auto& kind : TFieldSettingsForm::Kinds())
        if (kind.first == Caption)
            return kind.second;
    return {};
}

TFindFieldsForm::TFindFieldsForm(QWidget* OwnerWindow, const QList<QStringList>& Rows, TFrame* OwnerFrame,
                                 const TIntfPtr<IDynamicFields>& Definitions)
    : TForm(OwnerWindow), FRows(Rows), FOwnerFrame(OwnerFrame), FDynamicFields(Definitions) {
    setObjectName(QStringLiteral("FindFieldsForm"));
    setWindowTitle(QStringLiteral("Lista pól"));
    resize(552, 347);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    DrawGrid1 = new TDrawGrid(this);
    DrawGrid1->setObjectName(QStringLiteral("DrawGrid1"));
    DrawGrid1->SetEmptyCellsEnabled(true);
    outer->addWidget(DrawGrid1, 1);

    pnlButtons = ButtonStrip(this, QStringLiteral("Przywróć pole"), btnPost, btnClose);
    outer->addWidget(pnlButtons);
    connect(btnPost, &QToolButton::clicked, this, &TFindFieldsForm::btnPostClick);
    connect(btnClose, &QToolButton::clicked, this, &QDialog::reject);
    DrawGrid1->SetOnRowDblClick([this](TDrawGrid*, int, bool Fixed) {
        if (!Fixed)
            btnPost->click();
    });
    FillGrid();
}

void TFindFieldsForm::FillGrid() {
    DrawGrid1->SetColCount(kColumns);
    DrawGrid1->SetRowCount(1 + qMax<qsizetype>(1, FRows.size()));
    DrawGrid1->SetFixedRows(1);
    const QStringList titles = {QStringLiteral("Symbol"), QStringLiteral("Wartość"), QStringLiteral("Opis"),
                                QStringLiteral("Typ danych")};
    for (int c = 0; c < kColumns; ++c)
        DrawGrid1->SetCells(c, 0, titles[c]);
    for (int c = 0; c < kColumns; ++c)
        DrawGrid1->SetCells(c, 1, QString());
    for (int r = 0; r < FRows.size(); ++r) {
        const QStringList& row = FRows[r];
        for (int c = 0; c < kColumns; ++c) {
            const QString item = row.value(c);
            DrawGrid1->SetCells(c, r + 1, c == 3 ? KindCaption(item) : item);
        }
    }
    DrawGrid1->SetRow(1);
    DrawGrid1->SetWidthColumns();
}

void TFindFieldsForm::btnPostClick() {
    const int row = DrawGrid1->Row();
    const int index = row - DrawGrid1->FixedRows();
    if (!FDynamicFields || index < 0 || index >= FRows.size())
        return;
    bool anything = false;
    for (int c = 0; c < kColumns; ++c)
        anything = anything || !DrawGrid1->Cells(c, row).isEmpty();
    if (!anything)
        return;
    const QStringList& values = FRows[index];
    const TIntfPtr<IDynamicField> definition = FDynamicFields->AddField();
    if (!definition)
        return;
    definition->SetSymbol(values.value(0).toStdU16String());
    definition->SetDescription(values.value(2).toStdU16String());
    definition->SetFieldType(KindName(KindCaption(values.value(3))).toStdU16String());
    if (!ShowFieldSettings(this, FOwnerFrame, definition, QStringLiteral("Przywróć")))
        return;
    if (!definition->PostDefinition()) {
        ShowUserMessage(uint32_t(definition->GetLastErrorCode()), this);
        return;
    }
    FAddedFieldArray.append(definition);
    FRows.removeAt(index);
    FillGrid();
    if (FRows.isEmpty())
        accept();
}

TAddedFieldArray ShowFindFields(QWidget* OwnerWindow, const QList<QStringList>& Rows, TFrame* OwnerFrame,
                                const TIntfPtr<IDynamicFields>& Definitions) {
    TFindFieldsForm form(OwnerWindow, Rows, OwnerFrame, Definitions);
    form.exec();
    return form.AddedFields();
}
