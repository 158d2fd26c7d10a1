#include "uFieldSettingsForm.h"

#include "TFrame.h"
#include "uButtonStrip.h"
#include "uEditingPictures.h"
#include "uEwidarComponents_Panel.h"
#include "uUserMessagesModule.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

TPanel* FieldPanel(TPanel* Container, const char* Name, const QString& Caption, TFieldType Kind) {
    auto* panel = new TPanel(Container);
    panel->setObjectName(QLatin1String(Name));
    panel->SetField(TInternalFieldRecord::Create(QString(), Caption, Kind));
    Container->Layout()->addWidget(panel);
    return panel;
}

} // namespace

const QList<QPair<QString, QString>>& TFieldSettingsForm::Kinds() {
    static const QList<QPair<QString, QString>> kinds = {
        {QStringLiteral("Pole tekstowe"), QStringLiteral("ctEdit")},
        {QStringLiteral("Duże pole tekstowe"), QStringLiteral("ctMemo")},
        {QStringLiteral("Pole na datę"), QStringLiteral("ctDate")},
        {QStringLiteral("Kwadrat do zaznaczenia"), QStringLiteral("ctCheckBox")},
    };
    return kinds;
}

TFieldSettingsForm::TFieldSettingsForm(QWidget* OwnerWindow, TFrame* OwnerFrame,
                                       const TIntfPtr<IDynamicField>& Definition, const QString& PostCaption)
    : TForm(OwnerWindow), FDynamicField(Definition), FOwnerFrame(OwnerFrame) {
    setObjectName(QStringLiteral("FieldSettingsForm"));
    setWindowTitle(QStringLiteral("Właściwości pola"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    pnlContainer = new TPanel(this);
    pnlContainer->setObjectName(QStringLiteral("pnlContainer"));
    pnlContainer->Header()->SetCaptionLabel(QStringLiteral("Właściwości pola"));
    pnlContainer->setMinimumWidth(300);
    outer->addWidget(pnlContainer);
    pnlDescription = FieldPanel(pnlContainer, "pnlDescription", QStringLiteral("Opis pola"), ctEdit);
    pnlSymbol = FieldPanel(pnlContainer, "pnlSymbol", QStringLiteral("Symbol pola"), ctEdit);
    pnlType = FieldPanel(pnlContainer, "pnlType", QStringLiteral("Typ pola"), ctComboBox);
    pnlType->ComboBox()->setEditable(false);

    pnlButtons =
        ButtonStrip(this, PostCaption.isEmpty() ? QStringLiteral("Zapisz") : PostCaption, btnPost, btnClose);
    outer->addWidget(pnlButtons);
    connect(btnPost, &QToolButton::clicked, this, &TFieldSettingsForm::btnPostClick);
    connect(btnClose, &QToolButton::clicked, this, &TFieldSettingsForm::btnCloseClick);

    FStartSymbol = QString::fromStdU16String(FDynamicField->GetSymbol());
    for (const auto& kind : Kinds())
        pnlType->AddComboBoxSymbolItem(kind.second, kind.first);
    pnlType->ComboBox()->setCurrentIndex(0);
    pnlDescription->SetValue(QString::fromStdU16String(FDynamicField->GetDescription()));
    pnlSymbol->SetValue(FStartSymbol);
    const QString kind = QString::fromStdU16String(FDynamicField->GetFieldType());
    for (int i = 0; i < Kinds().size(); ++i)
        if (!kind.isEmpty() && Kinds()[i].second == kind)
            pnlType->ComboBox()->setCurrentIndex(i);
}

void TFieldSettingsForm::keyPressEvent(QKeyEvent* Event) {
    switch (Event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        btnPostClick();
        return;
    case Qt::Key_Escape:
        btnCloseClick();
        return;
    default:
        TForm::keyPressEvent(Event);
    }
}

void TFieldSettingsForm::btnPostClick() {
    const QString description = pnlDescription->Value();
    const QString symbol = pnlSymbol->Value().trimmed();
    if (description.trimmed().isEmpty() || symbol.isEmpty()) {
        ShowUserMessage(309, this);
        return;
    }
    // An unchanged symbol is the definition's own and is never refused.
    if (symbol.compare(FStartSymbol, Qt::CaseInsensitive) != 0 && FOwnerFrame &&
        FOwnerFrame->SymbolExists(symbol)) {
        ShowUserMessage(313, this);
        return;
    }
    const int index = qMax(0, pnlType->ComboBox()->currentIndex());
    FDynamicField->SetDescription(description.toStdU16String());
    FDynamicField->SetSymbol(symbol.toStdU16String());
    FDynamicField->SetFieldType(Kinds()[index].second.toStdU16String());
    FCloseType = ctPosted;
    accept();
}

void TFieldSettingsForm::btnCloseClick() {
    FCloseType = ctCancelled;
    reject();
}

TIntfPtr<IDynamicField> ShowFieldSettings(QWidget* OwnerWindow, TFrame* OwnerFrame,
                                          const TIntfPtr<IDynamicField>& Definition,
                                          const QString& PostCaption) {
    if (!OwnerFrame || !Definition)
        return {};
    TFieldSettingsForm form(OwnerWindow, OwnerFrame, Definition, PostCaption);
    form.exec();
    return form.CloseType() == TFieldSettingsForm::ctPosted ? Definition : TIntfPtr<IDynamicField>();
}
