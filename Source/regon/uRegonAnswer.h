#pragma once
// An answer of the register service, decoded once and read by the search window.
//
// The service wraps every result in an object with one member (the "d-value"), usually a string
// that holds a JSON document of its own. Both levels are decoded as JSON (escapes and \uXXXX
// included). The inner document is kept as the list of its keyed values in document order,
// because the readers below depend on that order (a structure that sorts keys would lose it).
// A null reads as an empty value, a number or a Boolean as its text.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// A link to a full report found in an answer: danePobierzPelnyRaport("regon","name", silo).
struct TRegonReportLink {
    QString Regon;
    QString ReportName;
    QString Silo;
    bool operator==(const TRegonReportLink&) const = default;
};

class TRegonAnswer {
public:
    struct TValue {
        QString Key;
        QString Value;
    };

    // Decodes an answer; false with a readable reason when it is not such an envelope (an HTML
    // page, truncated JSON) or when its d-value looks like a JSON document that does not parse.
    static bool Parse(const QByteArray& Raw, TRegonAnswer& Answer, QString& Error);

    // The decoded d-value.
    const QString& Text() const { return FText; }
    const std::vector<TValue>& Values() const { return FValues; }
    // Whether the d-value is a document with at least one keyed value (a search found something).
    bool Found() const { return !FValues.empty(); }

    // The first value of the key in document order, trimmed; empty when the key is absent.
    QString ValueOf(const QString& Key) const;
    // Rows of three cells (code, name, predominance mark), each starting at the activity code
    // key of a natural person, a legal person or a local unit of either ("fiz_pkdKod",
    // "fiz_pkd_Kod", "praw_pkdKod", "lokfiz_pkd_Kod", "lokpraw_pkdKod"...), whichever the
    // answer holds first in that order.
    QList<QStringList> Activities() const;
    // Rows of eight cells (REGON, name, province, county, commune, locality, street, date of
    // deletion), each starting at "lokfiz_regon14", or at "lokpraw_regon14" when absent. When
    // the unit's values name its removal or end date, that date is the eighth cell; a unit
    // with a date there has ended.
    QList<QStringList> LocalUnits() const;
    // Full-report links in the order in which they stand in the answer's values (or in the text,
    // when the d-value is not a document).
    QList<TRegonReportLink> ReportLinks() const;

private:
    // Rows of Cells consecutive values from each occurrence of the first of Keys present; Spans
    // receives each row's range of values (up to the next row).
    QList<QStringList> Rows(const QStringList& Keys, int Cells,
                            QList<std::pair<size_t, size_t>>* Spans = nullptr) const;

    QString FText;
    std::vector<TValue> FValues;
};

// The links of one text: every "PobierzPelnyRaport(" followed by two quoted arguments and a silo.
// Linear in the text's length whatever it holds; Work, when given, is increased by the number of
// characters examined.
QList<TRegonReportLink> ReportLinksIn(const QString& Text, qsizetype* Work = nullptr);

// The business-activity heading that a report silo names (1, 2 or 3); empty for any other silo.
QString SiloHeading(const QString& Silo);
