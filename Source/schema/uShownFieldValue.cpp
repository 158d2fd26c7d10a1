#include "uShownFieldValue.h"

#include <QDate>

QString ShownFieldValue(const TInternalFieldRecord& Field, const QString& Stored) {
    switch (Field.FieldType) {
    case ctDate: {
        if (Stored.startsWith(u'H'))
            return {};
        const QDate date = QDate::fromString(Stored.left(10), Qt::ISODate);
        return date.isValid() ? date.toString(ShownDateFormat) : Stored;
    }
    case ctCheckBox:
        return Stored.isEmpty() ? QStringLiteral("Nie") : QStringLiteral("Tak");
    case ctRadioGroup: {
        const QStringList options = GroupFieldOptions(Field.Symbol);
        bool number = false;
        const int index = Stored.trimmed().toInt(&number);
        if (!number || options.isEmpty() || index >= options.size())
            return Stored;
        return index < 0 ? QString() : options.at(index);
    }
    case ctCheckBoxGroup: {
        const QStringList options = GroupFieldOptions(Field.Symbol);
        const QStringList flags = Stored.split(u',');
        if (options.isEmpty() || Stored.isEmpty() || flags.size() > options.size())
            return Stored;
        QStringList ticked;
        for (int i = 0; i < flags.size(); ++i) {
            bool number = false;
            const int flag = flags.at(i).trimmed().toInt(&number);
            if (!number)
                return Stored;
            if (flag != 0)
                ticked << options.at(i);
        }
        return ticked.join(QStringLiteral(", "));
    }
    case ctComboBox:
        if (Field.Symbol == cDaneDokumentuTozsamosciRodzaj.Symbol && !Stored.isEmpty())
            for (const TComboBoxSymbolItemRecord& item : IdentityDocumentItems())
                if (item.Symbol.compare(Stored, Qt::CaseInsensitive) == 0)
                    return item.Caption;
        return Stored;
    default:
        return Stored;
    }
}
