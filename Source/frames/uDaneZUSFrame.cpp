#include "uDaneZUSFrame.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <array>
#include <tuple>

namespace {

struct TAccountRow {
    const char* Nazwa;
    const TInternalFieldRecord* NazwaField;
    const char* Numer;
    const TInternalFieldRecord* NumerField;
    const char* DefaultName;
};

const std::array<TAccountRow, TDaneZUSFrame::AccountCount> kAccounts = {{
    {"pnlNazwa1", &cDaneZUSNazwaRachunku1, "pnlNumer1", &cDaneZUSNumerRachunku1, "ubezpieczenie społeczne"},
    {"pnlNazwa2", &cDaneZUSNazwaRachunku2, "pnlNumer2", &cDaneZUSNumerRachunku2, "ubezpieczenie zdrowotne"},
    {"pnlNazwa3", &cDaneZUSNazwaRachunku3, "pnlNumer3", &cDaneZUSNumerRachunku3, "FP i FGŚP"},
    {"pnlNazwa4", &cDaneZUSNazwaRachunku4, "pnlNumer4", &cDaneZUSNumerRachunku4,
     "Fundusz Emerytur Pomostowych"},
}};

QLabel* Heading(QWidget* Parent, const QString& Text) {
    auto* label = new QLabel(Text, Parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

TPanel* AccountPanel(QWidget* Parent, const char* Name, const TInternalFieldRecord& Field) {
    auto* panel = new TPanel(Parent);
    panel->setObjectName(QLatin1String(Name));
    panel->SetCaptionVisible(false);
    panel->SetField(Field);
    return panel;
}

} // namespace

const TSectionDescription& TDaneZUSFrame::Declaration() {
    static const TSectionDescription d{
        "TDaneZUSFrame",
        QStringLiteral("Dane zakładu ubezpieczeń społecznych"),
        {{"pnlNazwa", &cDaneZUSNazwa}, {"pnlAdres", &cDaneZUSAdres}},
        {kKontrahent},
        600,
    };
    return d;
}

TDaneZUSFrame::TDaneZUSFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlNazwa(Panel("pnlNazwa")), pnlAdres(Panel("pnlAdres")) {
    Panel7 = new TPanel(pnlContainer);
    Panel7->setObjectName(QStringLiteral("Panel7"));
    Panel7->Header()->SetCaptionLabel(QStringLiteral("Rachunki bankowe zakładu ubezpieczeń społecznych"));
    Panel7->SetBorderLeft(false);
    Panel7->SetBorderRight(false);
    auto* table = new QGridLayout;
    table->setContentsMargins(4, 2, 4, 2);
    table->setHorizontalSpacing(8);
    table->addWidget(Heading(Panel7, QStringLiteral("Lp.")), 0, 0);
    table->addWidget(Heading(Panel7, QStringLiteral("Nazwa rachunku bankowego")), 0, 1);
    table->addWidget(Heading(Panel7, QStringLiteral("Numer rachunku bankowego")), 0, 2);
    std::array<TPanel*, AccountCount> names{}, numbers{};
    for (int i = 0; i < AccountCount; ++i) {
        table->addWidget(new QLabel(QString::number(i + 1), Panel7), i + 1, 0, Qt::AlignCenter);
        names[i] = AccountPanel(Panel7, kAccounts[i].Nazwa, *kAccounts[i].NazwaField);
        numbers[i] = AccountPanel(Panel7, kAccounts[i].Numer, *kAccounts[i].NumerField);
        table->addWidget(names[i], i + 1, 1);
        table->addWidget(numbers[i], i + 1, 2);
    }
    table->setColumnStretch(1, 1);
    table->setColumnStretch(2, 1);
    Panel7->Layout()->addLayout(table);
    AddBelowPanels(Panel7);
    std::tie(pnlNazwa1, pnlNazwa2, pnlNazwa3, pnlNazwa4) = std::tuple(names[0], names[1], names[2], names[3]);
    std::tie(pnlNumer1, pnlNumer2, pnlNumer3, pnlNumer4) =
        std::tuple(numbers[0], numbers[1], numbers[2], numbers[3]);
}

void TDaneZUSFrame::SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) {
    TSectionFrame::SetEwidarRecord(Record);
    if (!Record || Record->GetID() != 0)
        return;
    const TIntfPtr<IDataFields> fields = Record->GetDataFields();
    if (!fields)
        return;
    const std::array<TPanel*, AccountCount> names = {pnlNazwa1, pnlNazwa2, pnlNazwa3, pnlNazwa4};
    for (int i = 0; i < AccountCount; ++i) {
        if (const TIntfPtr<IDataField> field =
                fields->GetDataField(kAccounts[i].NazwaField->Symbol.toStdU16String()))
            field->SetValue(QString::fromUtf8(kAccounts[i].DefaultName).toStdU16String());
        // Bound again, the names are the start values, not changes.
        names[i]->SetDataFields(fields);
    }
}

void TDaneZUSFrame::SetSize() {
    Panel7->adjustSize();
    TSectionFrame::SetSize();
}
