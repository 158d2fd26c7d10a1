#include "SubjectRows.h"

#include "CheckCRC.h"
#include "uCsv.h"
#include "uSubjectFields.h"

#include <QBuffer>

namespace SubjectRows {

namespace {

QString Digits(qint64 Value, int Width) {
    return QString::number(Value).rightJustified(Width, u'0').right(Width);
}

int Weighted(const QString& Digits, std::initializer_list<int> Weights) {
    int sum = 0;
    int i = 0;
    for (const int w : Weights)
        sum += (Digits[i++].unicode() - u'0') * w;
    return sum;
}

} // namespace

QString Nip(int Index) {
    for (int k = 0;; ++k) {
        const QString base = QStringLiteral("52") + Digits(Index * 13LL + k, 7);
        const int check = Weighted(base, {6, 5, 7, 2, 3, 4, 5, 6, 7}) % 11;
        if (check < 10)
            return base + QString::number(check);
    }
}

QString Regon(int Index) {
    const QString base = QStringLiteral("1") + Digits(Index, 7);
    return base + QString::number(Weighted(base, {8, 9, 2, 3, 4, 5, 6, 7}) % 11 % 10);
}

QString Pesel(int Index) {
    const QString base = QStringLiteral("800517") + Digits(Index, 4);
    return base + QString::number((10 - Weighted(base, {1, 3, 7, 9, 1, 3, 7, 9, 1, 3}) % 10) % 10);
}

QString Account(int Index) {
    const QString basic = QStringLiteral("10201026") + Digits(Index, 16);
    return CheckCRC::NrbCheckDigits(basic) + basic;
}

QStringList Row(int Index) {
    const QString n = QString::number(Index);
    const bool person = Index % 2 == 0;
    QStringList row;
    for (const SubjectFields::TField& f : SubjectFields::Fields()) {
        const QString& k = f.Key;
        QString v;
        if (k == QLatin1String("nazwa"))
            v = person ? QString() : QStringLiteral("Przedsiębiorstwo \"Źródło\"; oddział %1\nul. Główna").arg(n);
        else if (k == QLatin1String("nazwa_skrocona"))
            v = person ? QString() : QStringLiteral("Źródło-%1").arg(n);
        else if (k == QLatin1String("nazwisko"))
            v = person ? QStringLiteral("Gęślą-Żółć %1").arg(n) : QString();
        else if (k == QLatin1String("imie"))
            v = person ? QStringLiteral("Łucja") : QString();
        else if (k == QLatin1String("nip"))
            v = Nip(Index);
        else if (k == QLatin1String("regon"))
            v = person ? QString() : Regon(Index);
        else if (k == QLatin1String("pesel"))
            v = person ? Pesel(Index) : QString();
        else if (k == QLatin1String("data_urodzenia"))
            v = person ? QStringLiteral("1980-05-17") : QString();
        else if (k == QLatin1String("telefon"))
            v = QStringLiteral("+48 600 %1").arg(Index, 3, 10, QChar(u'0'));
        else if (k == QLatin1String("email"))
            v = QStringLiteral("biuro%1@example.pl").arg(n);
        else if (k == QLatin1String("opis"))
            v = Index % 3 == 0 ? QStringLiteral("=HYPERLINK(\"x\")") : QStringLiteral("Uwagi; \"ważne\"\r\ndruga linia");
        else if (k == QLatin1String("miejscowosc"))
            v = QStringLiteral("Świętochłowice");
        else if (k == QLatin1String("ulica"))
            v = QStringLiteral("Źródlana");
        else if (k == QLatin1String("nr_domu"))
            v = QString::number(Index % 200 + 1);
        else if (k == QLatin1String("kod_pocztowy"))
            v = QStringLiteral("41-600");
        else if (k == QLatin1String("kraj"))
            v = QStringLiteral("POLSKA");
        else if (k == QLatin1String("rachunek"))
            v = Index % 4 == 0 ? QString() : Account(Index);
        row.append(v);
    }
    return row;
}

QByteArray Csv(const QList<QStringList>& Rows, const QStringList& Header) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        Csv::TWriter writer(&buffer, u';');
        writer.WriteRow(Header);
        for (const QStringList& r : Rows)
            writer.WriteRow(r);
    }
    return buffer.data();
}

} // namespace SubjectRows
