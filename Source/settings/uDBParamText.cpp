#include "uDBParamText.h"

#include "uParamText.h"

namespace DBParamText {

QString Masked(const QString& Param) {
    return ParamText::Masked(Param);
}

QStringList SplitHistory(const QString& History) {
    return History.split(QLatin1Char('@'), Qt::SkipEmptyParts);
}

QString JoinHistory(const QStringList& Entries) {
    QString text;
    for (const QString& e : Entries)
        if (!e.isEmpty())
            text += e + QLatin1Char('@');
    return text;
}

TMatch MatchChosen(const QString& Param, const QString& Chosen) {
    if (Param.compare(Chosen, Qt::CaseInsensitive) == 0)
        return TMatch::Exact;
    const qsizetype backup = Param.indexOf(QLatin1String("BACKUP"), 0, Qt::CaseInsensitive);
    const QString head = backup < 0 ? Param : Param.left(backup);
    if (!head.isEmpty() && Chosen.contains(head, Qt::CaseInsensitive))
        return TMatch::Contained;
    return TMatch::None;
}

QString DirPath(const QString& Param) {
    QString dir;
    for (const ParamText::TPart& p : ParamText::Split(Param))
        if (p.HasValue && p.Key.compare(u"DIR", Qt::CaseInsensitive) == 0)
            dir = p.Value; // the last one counts, as for the backend
    return dir;
}

} // namespace DBParamText
