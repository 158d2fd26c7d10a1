#include "uImportRows.h"

#include "CheckCRC.h"
#include "uCsv.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

namespace ImportRows {

namespace {

using SubjectFields::TField;

QString Digits(const QString& Text) {
    QString out;
    for (const QChar c : Text)
        if (c.isDigit())
            out += c;
    return out;
}

QString CheckIdentifier(const QString& Value, bool (*Valid)(const QString&), const QList<int>& Lengths,
                        const QString& Name) {
    if (Valid(Value))
        return {};
    const QString digits = Digits(Value);
    if (!Lengths.contains(digits.size()) || CheckCRC::HasNonDigit(QString(Value).remove(u'-')))
        return QStringLiteral("%1 musi składać się z %2 cyfr.")
            .arg(Name, Lengths.size() == 1 ? QString::number(Lengths[0]) : QStringLiteral("9 lub 14"));
    return QStringLiteral("Błędna cyfra kontrolna numeru %1.").arg(Name);
}

// yyyy-mm-dd, or dd.mm.yyyy / dd-mm-yyyy as Polish spreadsheets write dates.
QString CheckDate(QString& Value) {
    for (const QString& format : {QStringLiteral("yyyy-MM-dd"), QStringLiteral("dd.MM.yyyy"),
                                  QStringLiteral("d.M.yyyy"), QStringLiteral("dd-MM-yyyy")}) {
        const QDate d = QDate::fromString(Value, format);
        if (d.isValid()) {
            Value = d.toString(Qt::ISODate);
            return {};
        }
    }
    return QStringLiteral("Nieprawidłowa data (oczekiwano rrrr-mm-dd lub dd.mm.rrrr).");
}

QString CheckAccount(QString& Value) {
    switch (CheckCRC::CheckAccountNumber(Value.toUpper())) {
    case 0:
        return {};
    case -1:
        return QStringLiteral("Błędna suma kontrolna numeru rachunku.");
    default:
        return QStringLiteral("To nie jest numer rachunku bankowego (NRB lub IBAN).");
    }
}

// Identifier digits already met in the file, by kind, with the line that carried them.
class TSeen {
public:
    // The line of an earlier row with the same digits of this kind; 0 for none.
    int Find(const QString& Kind, const QString& Digits) const { return m_seen.value(Kind + Digits, 0); }
    void Add(const QString& Kind, const QString& Digits, int Line) {
        if (!Digits.isEmpty() && !m_seen.contains(Kind + Digits))
            m_seen.insert(Kind + Digits, Line);
    }

private:
    QHash<QString, int> m_seen;
};

const QString& Value(const TRow& Row, const char* Key) {
    static const QString none;
    const int i = SubjectFields::IndexOfKey(QString::fromLatin1(Key));
    return i >= 0 && i < Row.Values.size() ? Row.Values[i] : none;
}

void CheckRow(TRow& Row) {
    const auto& fields = SubjectFields::Fields();
    for (size_t i = 0; i < fields.size(); ++i) {
        QString& v = Row.Values[static_cast<qsizetype>(i)];
        if (v.isEmpty())
            continue;
        const QString reason = CheckValue(fields[i], v);
        if (!reason.isEmpty()) {
            Row.Status = stInvalid;
            Row.Field = fields[i].Caption;
            Row.Reason = reason;
            return;
        }
    }
    if (Value(Row, "nazwa").isEmpty() && Value(Row, "nazwisko").isEmpty()) {
        Row.Status = stInvalid;
        Row.Field = QStringLiteral("Nazwa pełna (firma) / Nazwisko");
        Row.Reason = QStringLiteral("Nie podano ani nazwy, ani nazwiska.");
    }
}

void CheckDuplicate(TRow& Row, TSeen& Seen, const TDuplicateProbe& Probe) {
    const std::pair<const char*, const char*> ids[] = {{"pesel", "PESEL"}, {"nip", "NIP"}, {"regon", "REGON"}};
    for (const auto& [key, name] : ids) {
        const QString digits = Digits(Value(Row, key));
        if (const int line = Seen.Find(QLatin1String(key), digits); line > 0) {
            Row.Status = stDuplicate;
            Row.Field = QLatin1String(name);
            Row.Reason = QStringLiteral("Ten sam numer %1 ma wiersz %2 pliku.").arg(QLatin1String(name)).arg(line);
            return;
        }
    }
    for (const auto& [key, name] : ids)
        Seen.Add(QLatin1String(key), Digits(Value(Row, key)), Row.Line);
    if (!Probe)
        return;
    for (const auto& [key, name] : ids) {
        const QString v = Value(Row, key);
        if (v.isEmpty())
            continue;
        const bool pesel = QLatin1String(key) == QLatin1String("pesel");
        const bool nip = QLatin1String(key) == QLatin1String("nip");
        if (Probe(pesel ? v : QString(), nip ? v : QString(), !pesel && !nip ? v : QString())) {
            Row.Status = stDuplicate;
            Row.Field = QLatin1String(name);
            Row.Reason = QStringLiteral("Podmiot o tym numerze %1 jest już w bazie.").arg(QLatin1String(name));
            return;
        }
    }
}

} // namespace

QString CheckValue(const TField& Field, QString& Value) {
    if (Field.Check == SubjectFields::ckNip || Field.Check == SubjectFields::ckRegon ||
        Field.Check == SubjectFields::ckPesel)
        Value.remove(u' ');
    switch (Field.Check) {
    case SubjectFields::ckNip:
        return CheckIdentifier(Value, CheckCRC::IsValidNIP, {10}, QStringLiteral("NIP"));
    case SubjectFields::ckRegon:
        return CheckIdentifier(Value, CheckCRC::IsValidREGON, {9, 14}, QStringLiteral("REGON"));
    case SubjectFields::ckPesel:
        return CheckIdentifier(Value, CheckCRC::IsValidPESEL, {11}, QStringLiteral("PESEL"));
    case SubjectFields::ckPostalCode:
        return CheckCRC::IsValidPostalCode(Value)
                   ? QString()
                   : QStringLiteral("Nieprawidłowy format kodu pocztowego (oczekiwano NN-NNN).");
    case SubjectFields::ckEmail:
        return CheckCRC::IsValidEmail(Value) ? QString() : QStringLiteral("Nieprawidłowy format adresu e-mail.");
    case SubjectFields::ckAccount:
        return CheckAccount(Value);
    case SubjectFields::ckDate:
        return CheckDate(Value);
    case SubjectFields::ckNone:
        break;
    }
    return {};
}

TPreview Build(const QList<QStringList>& Rows, const QList<int>& Lines, const ColumnMapping::TMapping& Mapping,
               const TDuplicateProbe& Probe) {
    TPreview out;
    if (Rows.isEmpty())
        return out;
    out.Header = Rows.front();
    const int fieldCount = static_cast<int>(SubjectFields::Fields().size());
    TSeen seen;
    for (qsizetype r = 1; r < Rows.size(); ++r) {
        TRow row;
        row.Line = r < Lines.size() ? Lines[r] : static_cast<int>(r + 1);
        row.Source = Rows[r];
        if (row.Source.size() == 1 && row.Source.front().trimmed().isEmpty())
            continue; // a blank line
        for (int f = 0; f < fieldCount; ++f)
            row.Values.append(QString());
        for (qsizetype c = 0; c < Mapping.size() && c < row.Source.size(); ++c)
            if (Mapping[c] >= 0 && Mapping[c] < fieldCount)
                row.Values[Mapping[c]] = CheckCRC::TrimSpaces(Csv::Unguard(row.Source[c]));
        CheckRow(row);
        if (row.Status == stReady)
            CheckDuplicate(row, seen, Probe);
        ++(row.Status == stReady ? out.Ready : row.Status == stInvalid ? out.Invalid : out.Duplicate);
        out.Rows.append(std::move(row));
    }
    return out;
}

QString ReportPath(const QString& SourcePath) {
    const QFileInfo info(SourcePath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".raport.csv"));
}

QString StatusText(TStatus Status) {
    switch (Status) {
    case stReady:
        return QStringLiteral("gotowy");
    case stInvalid:
        return QStringLiteral("błędny");
    case stDuplicate:
        return QStringLiteral("duplikat");
    }
    return {};
}

bool WriteReport(const QString& Path, const TPreview& Preview, QString& Error) {
    QSaveFile file(Path);
    if (!file.open(QIODevice::WriteOnly)) {
        Error = QStringLiteral("Nie można zapisać raportu %1: %2").arg(Path, file.errorString());
        return false;
    }
    {
        Csv::TWriter writer(&file, u';');
        writer.WriteRow(Preview.Header + QStringList{QStringLiteral("Wiersz"), QStringLiteral("Stan"),
                                                     QStringLiteral("Pole"), QStringLiteral("Powód")});
        for (const TRow& row : Preview.Rows) {
            if (row.Status == stReady)
                continue;
            QStringList cells = row.Source;
            while (cells.size() < Preview.Header.size())
                cells.append(QString());
            writer.WriteRow(cells + QStringList{QString::number(row.Line), StatusText(row.Status), row.Field,
                                                row.Reason});
        }
        if (!writer.Flush()) {
            file.cancelWriting();
            Error = QStringLiteral("Nie można zapisać raportu %1: %2").arg(Path, file.errorString());
            return false;
        }
    }
    if (!file.commit()) {
        Error = QStringLiteral("Nie można zapisać raportu %1: %2").arg(Path, file.errorString());
        return false;
    }
    return true;
}

} // namespace ImportRows
