#include "uWyszukiwarkaRegonTables.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int kRowMargin = 3;

QLabel* NewBox(QWidget* Parent, bool Bold) {
    auto* box = new QLabel(Parent);
    box->setWordWrap(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (Bold) {
        QFont font = box->font();
        font.setBold(true);
        box->setFont(font);
    }
    return box;
}

} // namespace

TRegonResultRow::TRegonResultRow(const TTableFieldRecord& Field, double MaxLabelWidthProcent,
                                 TRegonResultTable* Table, QWidget* Parent)
    : QFrame(Parent), FLabel(NewBox(this, false)), FMemo(NewBox(this, true)),
      FMaxLabelWidthProcent(MaxLabelWidthProcent), FOwnerTable(Table) {
    setObjectName(Field.ID);
    setAutoFillBackground(true);
    FLabel->setText(Field.Caption);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kRowMargin, kRowMargin, kRowMargin, kRowMargin);
    layout->setSpacing(4);
    layout->addWidget(FLabel);
    layout->addWidget(FMemo, 1);
}

QString TRegonResultRow::Caption() const {
    return FLabel->text();
}

void TRegonResultRow::SetValue(const QString& Value) {
    FValue = Value;
    FMemo->setText(Breakable(Value));
}

QString TRegonResultRow::Breakable(const QString& Value) {
    // A long word (an e-mail or web address) may break after its punctuation, so that it wraps
    // within its column instead of widening the table beyond the window.
    constexpr int kLongWord = 16;
    QString shown;
    int run = 0;
    for (const QChar c : Value) {
        shown += c;
        run = c.isSpace() ? 0 : run + 1;
        if (run >= kLongWord && (c == u'@' || c == u'.' || c == u'/' || c == u'-' || c == u'_')) {
            shown += QChar(0x200B);
            run = 0;
        }
    }
    return shown;
}

void TRegonResultRow::resizeEvent(QResizeEvent* Event) {
    QFrame::resizeEvent(Event);
    FLabel->setFixedWidth(static_cast<int>(width() * FMaxLabelWidthProcent));
}

TRegonResultTable::TRegonResultTable(const QString& Name, QWidget* Parent)
    : QFrame(Parent), FHeaderPanel(new QLabel(this)) {
    setObjectName(Name);
    setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    FHeaderPanel->setObjectName(Name + QStringLiteral("Header"));
    FHeaderPanel->setAlignment(Qt::AlignCenter);
    FHeaderPanel->setStyleSheet(
        QStringLiteral("background:#4a6fa5;color:white;font-weight:bold;padding:4px;"));
    layout->addWidget(FHeaderPanel);
    FContainerLayout = new QHBoxLayout;
    FContainerLayout->setSpacing(1);
    layout->addLayout(FContainerLayout);
    hide();
}

void TRegonResultTable::CreateTable(const QString& Header, const QList<int>& Widths) {
    TableHeader(Header);
    int rest = 100;
    for (int i = 0; i <= Widths.size(); ++i) {
        const int width = i < Widths.size() ? Widths[i] : rest;
        rest -= width;
        auto* column = new QWidget(this);
        column->setObjectName(objectName() + QStringLiteral("Column%1").arg(i + 1));
        auto* rows = new QVBoxLayout(column);
        rows->setContentsMargins(0, 0, 0, 0);
        rows->setSpacing(0);
        rows->addStretch(1);
        FContainerLayout->addWidget(column, width);
        FColumnArray << column;
    }
}

void TRegonResultTable::TableHeader(const QString& Value) {
    FHeaderPanel->setText(Value);
}

QString TRegonResultTable::Header() const {
    return FHeaderPanel->text();
}

void TRegonResultTable::ClearTable() {
    for (TRegonResultRow* row : FFieldListInternal)
        row->SetValue(QString());
}

TRegonResultRow* TRegonResultTable::AddRow(int Column, const TTableFieldRecord& Field,
                                           double MaxLabelWidthProcent) {
    QWidget* column = FColumnArray.at(Column);
    auto* layout = static_cast<QVBoxLayout*>(column->layout());
    auto* row = new TRegonResultRow(Field, MaxLabelWidthProcent, this, column);
    // Alternate shading within each column.
    const int index = layout->count() - 1;
    QPalette palette = row->palette();
    palette.setColor(QPalette::Window, index % 2 == 0 ? QColor(235, 235, 235) : Qt::white);
    row->setPalette(palette);
    layout->insertWidget(index, row);
    FFieldListInternal << row;
    return row;
}

namespace RegonTables {

namespace {

using TColumn = QList<TTableFieldRecord>;

void Fill(TRegonResultTable* Table, const QList<TColumn>& Columns, const QList<double>& Fractions = {}) {
    for (int c = 0; c < Columns.size(); ++c)
        for (const TTableFieldRecord& field : Columns[c])
            Table->AddRow(c, field, Fractions.value(c, 0.35));
}

using TPairs = QList<std::pair<const char*, const char*>>;

TColumn Prefixed(const char* Prefix, const TPairs& Rows) {
    TColumn column;
    for (const auto& r : Rows)
        column << TTableFieldRecord{QLatin1String(Prefix) + QLatin1String(r.first),
                                    QString::fromUtf8(r.second)};
    return column;
}

// Address rows of every table but the natural person's own.
TColumn Address(const char* Prefix) {
    return Prefixed(Prefix, {{"adSiedzNazwaKraju", "kraj:"},
                             {"adSiedzNazwaWojewodztwa", "województwo:"},
                             {"adSiedzNazwaPowiatu", "powiat:"},
                             {"adSiedzNazwaGminy", "gmina:"},
                             {"adSiedzNazwaMiejscowosci", "miejscowość:"},
                             {"adSiedzKodPocztowy", "kod poczt.:"},
                             {"adSiedzNazwaMiejscowosciPoczty", "miejscowość poczty:"},
                             {"adSiedzNazwaUlicy", "ulica:"},
                             {"adSiedzNumerNieruchomosci", "nr nieruchomości:"},
                             {"adSiedzNumerLokalu", "nr lokalu:"},
                             {"adSiedzNietypoweMiejsceLokalizacji", "nietypowe miejsce lokalizacji:"}});
}

// Date rows of the local units and the legal person.
TColumn Dates(const char* Prefix) {
    return Prefixed(Prefix, {{"dataWpisuDoRejestruEwidencji", "data wpisu do rejestru ewidencji:"},
                             {"dataPowstania", "data powstania:"},
                             {"dataRozpoczeciaDzialalnosci", "data rozpoczęcia działalności:"},
                             {"dataWpisuDoRegon", "data wpisu do Regon:"},
                             {"dataZawieszeniaDzialalnosci", "data zawieszenia działalności:"},
                             {"dataWznowieniaDzialalnosci", "data wznowienia działalności:"},
                             {"dataZakonczeniaDzialalnosci", "data zakończenia działalności:"},
                             {"dataSkresleniazRegon", "data skreślenia z regon:"}});
}

TRegonResultTable* NewTable(QWidget* Parent, const char* Name, const QString& Header,
                            const QList<int>& Widths) {
    auto* table = new TRegonResultTable(QLatin1String(Name), Parent);
    table->CreateTable(Header, Widths);
    return table;
}

} // namespace

QList<TRegonResultTable*> Build(QWidget* Parent) {
    QList<TRegonResultTable*> tables;

    TRegonResultTable* t = NewTable(
        Parent, OsobaFizyczna, QStringLiteral("OSOBA FIZYCZNA PROWADZĄCA DZIAŁALNOŚĆ GOSPODARCZĄ"), {33});
    Fill(t, {{{"fiz_regon9", "REGON:"},
              {"fiz_nip", "NIP:"},
              {"fiz_imie1", "imię:"},
              {"fiz_imie2", "drugie imię:"},
              {"fiz_nazwisko", "nazwisko:"}},
             {{"fiz_dataWpisuDoREGON", "data wpisu do REGON:"},
              {"fiz_dataSkresleniazRegon", "data skreślenia z rejestru:"},
              {"fiz_nazwaPodstawowejFormyPrawnej", "kod i nazwa podstawowej formy prawnej:"},
              {"fiz_nazwaSzczegolnejFormyPrawnej", "kod i nazwa szczególnej formy prawnej:"},
              {"fiz_nazwaFormyWlasnosci", "kod i nazwa formy własności:"}}});
    tables << t;

    t = NewTable(Parent, OsobaFizycznaDzialalnosc, QStringLiteral("DZIAŁALNOŚĆ"), {33, 33});
    Fill(t,
         {{{"fiz_nazwa", "nazwa:"},
           {"fiz_nazwaOrganuRejestrowego", "organu rejestrowy:"},
           {"fiz_nazwaRodzajuRejestru", "rodzaj rejestru lub ewidencji:"},
           {"fiz_numerwRejestrzeEwidencji", "numer w rejestrze ewidencji:"}},
          Address("fiz_"),
          {{"fiz_dataWpisuDoRejestruEwidencji", "data wpisu do rejestru ewidencji:"},
           {"fiz_dataSkresleniaZRejestruEwidencji", "data skreślenia z rejestru ewidencji:"},
           {"fiz_dataPowstania", "data powstania:"},
           {"fiz_dataRozpoczeciaDzialalnosci", "data rozpoczęcia działalności:"},
           {"fiz_dataWpisuDoRegonDzialalnosci", "data wpisu do Regon:"},
           {"fiz_dataZawieszeniaDzialalnosci", "data zawieszenia działalności:"},
           {"fiz_dataWznowieniaDzialalnosci", "data wznowienia działalności:"},
           {"fiz_dataZakonczeniaDzialalnosci", "data zakończenia działalności:"},
           {"fiz_dataSkresleniazRegonDzial", "data skreślenia z regon:"}}},
         {0.35, 0.5, 0.6});
    tables << t;

    t = NewTable(Parent, JednostkaLokalnaOsobyFizycznej,
                 QStringLiteral("JEDNOSTKA LOKALNA JEDNOSTKI FIZYCZNEJ"), {33, 33});
    Fill(t, {{{"lokfiz_regon14", "REGON:"},
              {"lokfiz_nazwa", "nazwa:"},
              {"lokfiz_nazwaSilosu", "opis działalności:"},
              {"lokfiz_nazwaRodzajuRejestru", "rodzaj rejestru lub ewidencji:"},
              {"lokfiz_numerwRejestrzeEwidencji", "numer w rejestrze ewidencji:"},
              {"lokfiz_nazwaOrganuRejestrowego", "organ rejestrowy:"}},
             Address("lokfiz_"),
             Dates("lokfiz_")});
    tables << t;

    t = NewTable(Parent, JednostkaPrawna, QStringLiteral("JEDNOSTKA PRAWNA"), {28, 24, 23});
    Fill(t,
         {{{"praw_regon9", "REGON:"},
           {"praw_nip", "NIP:"},
           {"praw_nazwa", "nazwa:"},
           {"praw_nazwaPodstawowejFormyPrawnej", "kod i nazwa podstawowej formy prawnej:"},
           {"praw_nazwaSzczegolnejFormyPrawnej", "kod i nazwa szczególnej formy prawnej:"},
           {"praw_nazwaFormyWlasnosci", "kod i nazwa formy własności:"},
           {"praw_nazwaOrganuRejestrowego", "organ rejestrowy:"},
           {"praw_nazwaRodzajuRejestru", "rodzaj rejestru lub ewidencji:"},
           {"praw_numerWrejestrzelubEwidencji", "numer w rejestrze lub ewidencji:"}},
          Address("praw_"),
          Dates("praw_"),
          {{"praw_numerTelefonu", "numer telefonu:"},
           {"praw_numerWewnetrznyTelefonu", "numer wewn. telefonu:"},
           {"praw_numerFaksu", "numer faksu:"},
           {"praw_adresEmail", "adres email:"},
           {"praw_adresStronyinternetowej", "adres strony internetowej:"}}},
         {0.35, 0.45, 0.6});
    tables << t;

    t = NewTable(Parent, JednostkaLokalnaJednostkiPrawnej,
                 QStringLiteral("JEDNOSTKA LOKALNA JEDNOSTKI PRAWNEJ"), {33, 33});
    Fill(t,
         {{{"lokpraw_regon14", "REGON:"},
           {"lokpraw_nazwa", "nazwa:"},
           {"lokpraw_nazwaOrganuRejestrowego", "organ rejestrowy:"},
           {"lokpraw_nazwaRodzajuRejestru", "rodzaj rejestru lub ewidencji:"},
           {"lokpraw_numerWrejestrzelubEwidencji", "numer w rejestrze lub ewidencji:"}},
          Address("lokpraw_"),
          Dates("lokpraw_")},
         {0.35, 0.5, 0.6});
    tables << t;
    return tables;
}

} // namespace RegonTables
