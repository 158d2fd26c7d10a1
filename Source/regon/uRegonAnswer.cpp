#include "uRegonAnswer.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// A strict JSON reader that reports the keyed scalar values of a document in the order in which
// they stand. Nesting is bounded so that a hostile answer cannot exhaust the stack.
class TJsonReader {
public:
    explicit TJsonReader(const QString& Text) : m_text(Text) {}

    // The first member's value of the top-level object: strings decoded, null empty, objects and
    // arrays as their source text.
    bool EnvelopeValue(QString& Value) {
        Value.clear();
        SkipBlanks();
        return Take(u'{') && Members(nullptr, 1, &Value) && AtEnd();
    }

    // Every keyed scalar value of a whole document.
    bool Document(std::vector<TRegonAnswer::TValue>& Values) {
        SkipBlanks();
        if (!Value_(&Values, nullptr, 0))
            return false;
        return AtEnd();
    }

private:
    static constexpr int MaxDepth = 64;

    bool AtEnd() {
        SkipBlanks();
        return m_pos == m_text.size();
    }
    void SkipBlanks() {
        while (m_pos < m_text.size() && (m_text[m_pos] == u' ' || m_text[m_pos] == u'\t' ||
                                         m_text[m_pos] == u'\n' || m_text[m_pos] == u'\r'))
            ++m_pos;
    }
    bool Take(char16_t c) {
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    // One value. Keyed scalars go to Values (when given); Scalar receives a scalar's text.
    bool Value_(std::vector<TRegonAnswer::TValue>* Values, const QString* Key, int Depth,
                QString* Scalar = nullptr) {
        if (Depth > MaxDepth || m_pos >= m_text.size())
            return false;
        QString text;
        const QChar c = m_text[m_pos];
        if (c == u'{') {
            ++m_pos;
            return Members(Values, Depth + 1);
        }
        if (c == u'[') {
            ++m_pos;
            return Elements(Values, Depth + 1);
        }
        if (c == u'"') {
            if (!String(text))
                return false;
        } else if (!Literal(text)) {
            return false;
        }
        if (Values && Key)
            Values->push_back({*Key, text});
        if (Scalar)
            *Scalar = text;
        return true;
    }

    // The members of an object after its "{". First, when given, receives the first member's
    // value: a scalar's text, or an object's or array's source text.
    bool Members(std::vector<TRegonAnswer::TValue>* Values, int Depth, QString* First = nullptr) {
        SkipBlanks();
        if (Take(u'}'))
            return true;
        for (bool first = true;; first = false) {
            QString key;
            SkipBlanks();
            if (!String(key))
                return false;
            SkipBlanks();
            if (!Take(u':'))
                return false;
            SkipBlanks();
            const qsizetype start = m_pos;
            QString scalar;
            if (!Value_(Values, &key, Depth, &scalar))
                return false;
            if (First && first) {
                const bool container = m_text[start] == u'{' || m_text[start] == u'[';
                *First = container ? m_text.mid(start, m_pos - start) : scalar;
            }
            SkipBlanks();
            if (Take(u'}'))
                return true;
            if (!Take(u','))
                return false;
        }
    }

    bool Elements(std::vector<TRegonAnswer::TValue>* Values, int Depth) {
        SkipBlanks();
        if (Take(u']'))
            return true;
        while (true) {
            SkipBlanks();
            if (!Value_(Values, nullptr, Depth))
                return false;
            SkipBlanks();
            if (Take(u']'))
                return true;
            if (!Take(u','))
                return false;
        }
    }

    // null reads as empty; true, false and numbers as their text.
    bool Literal(QString& Text) {
        static const QRegularExpression number(
            QStringLiteral("-?(0|[1-9][0-9]*)(\\.[0-9]+)?([eE][+-]?[0-9]+)?"));
        for (const char16_t* word : {u"null", u"true", u"false"}) {
            const QString w = QString::fromUtf16(word);
            if (QStringView(m_text).mid(m_pos).startsWith(w)) {
                m_pos += w.size();
                Text = w == u"null" ? QString() : w;
                return true;
            }
        }
        const auto match = number.match(m_text, m_pos, QRegularExpression::NormalMatch,
                                        QRegularExpression::AnchorAtOffsetMatchOption);
        if (!match.hasMatch())
            return false;
        Text = match.captured(0);
        m_pos += Text.size();
        return true;
    }

    // \uXXXX after the "u": exactly four hexadecimal digits (a surrogate pair comes as two).
    bool Hex4(QString& Text) {
        if (m_pos + 4 > m_text.size())
            return false;
        char16_t code = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit =
                QStringLiteral("0123456789abcdef").indexOf(m_text[m_pos++], 0, Qt::CaseInsensitive);
            if (digit < 0)
                return false;
            code = char16_t(code * 16 + digit);
        }
        Text += QChar(code);
        return true;
    }

    bool String(QString& Text) {
        Text.clear();
        if (!Take(u'"'))
            return false;
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos++];
            if (c == u'"')
                return true;
            if (c.unicode() < 0x20)
                return false;
            if (c != u'\\') {
                Text += c;
                continue;
            }
            if (m_pos >= m_text.size())
                return false;
            const QChar e = m_text[m_pos++];
            static const QString escaped = QStringLiteral("\"\\/bfnrt");
            static const QString meant = QStringLiteral("\"\\/\b\f\n\r\t");
            if (const qsizetype i = escaped.indexOf(e); i >= 0) {
                Text += meant[i];
                continue;
            }
            if (e != u'u' || !Hex4(Text))
                return false;
        }
        return false;
    }

    const QString& m_text;
    qsizetype m_pos = 0;
};

bool LooksLikeDocument(const QString& Text) {
    const QString t = Text.trimmed();
    return t.startsWith(u'{') || t.startsWith(u'[');
}

} // namespace

bool TRegonAnswer::Parse(const QByteArray& Raw, TRegonAnswer& Answer, QString& Error) {
    Answer = TRegonAnswer();
    const QString raw = QString::fromUtf8(Raw);
    TJsonReader envelope(raw);
    if (!envelope.EnvelopeValue(Answer.FText)) {
        Answer.FText.clear();
        Error = QStringLiteral("Nieczytelna odpowiedź usługi REGON.");
        return false;
    }
    if (LooksLikeDocument(Answer.FText)) {
        TJsonReader document(Answer.FText);
        if (!document.Document(Answer.FValues)) {
            Answer = TRegonAnswer();
            Error = QStringLiteral("Nieczytelna odpowiedź usługi REGON.");
            return false;
        }
    }
    return true;
}

QString TRegonAnswer::ValueOf(const QString& Key) const {
    for (const TValue& v : FValues)
        if (v.Key == Key)
            return v.Value.trimmed();
    return {};
}

QList<QStringList> TRegonAnswer::Rows(const QStringList& Keys, int Cells, QList<std::pair<size_t, size_t>>* Spans) const {
    // The first key of the list that the answer holds starts the rows.
    QString start;
    for (const QString& key : Keys) {
        if (std::any_of(FValues.begin(), FValues.end(), [&](const TValue& v) { return v.Key == key; })) {
            start = key;
            break;
        }
    }
    QList<QStringList> rows;
    if (start.isEmpty())
        return rows;
    for (size_t i = 0; i < FValues.size();) {
        if (FValues[i].Key != start) {
            ++i;
            continue;
        }
        QStringList row;
        for (int c = 0; c < Cells; ++c)
            row << (i + c < FValues.size() ? FValues[i + c].Value : QString());
        rows << row;
        if (Spans) {
            size_t end = i + 1;
            while (end < FValues.size() && FValues[end].Key != start)
                ++end;
            Spans->append({i, end});
        }
        i += Cells;
    }
    return rows;
}

QList<QStringList> TRegonAnswer::Activities() const {
    // The register's activity reports of a natural person, a legal person and the local units
    // of either; older reports wrote "fiz_pkdKod", the current ones "fiz_pkd_Kod".
    static const QStringList keys{QStringLiteral("fiz_pkdKod"),     QStringLiteral("fiz_pkd_Kod"),
                                  QStringLiteral("praw_pkdKod"),    QStringLiteral("lokfiz_pkdKod"),
                                  QStringLiteral("lokfiz_pkd_Kod"), QStringLiteral("lokpraw_pkdKod")};
    return Rows(keys, 3);
}

QList<QStringList> TRegonAnswer::LocalUnits() const {
    static const QStringList keys{QStringLiteral("lokfiz_regon14"), QStringLiteral("lokpraw_regon14")};
    QList<std::pair<size_t, size_t>> spans;
    QList<QStringList> rows = Rows(keys, 8, &spans);
    // The eighth cell is the date the unit ended: taken by name from the unit's own values when
    // the report names it (removal from the register first, else the end of activity).
    static const QStringList dateKeys{QStringLiteral("dataSkresleniazRegon"),
                                      QStringLiteral("dataSkresleniaZRegon"),
                                      QStringLiteral("dataSkresleniazRegonu"),
                                      QStringLiteral("dataSkresleniaZRegonu"),
                                      QStringLiteral("dataZakonczeniaDzialalnosci")};
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const auto [first, end] = spans[r];
        const QString prefix = FValues[first].Key.section(u'_', 0, 0) + u'_';
        bool named = false;
        QString date;
        for (const QString& dateKey : dateKeys) {
            for (size_t i = first; i < end; ++i) {
                if (FValues[i].Key != prefix + dateKey)
                    continue;
                named = true;
                if (date.isEmpty())
                    date = FValues[i].Value.trimmed();
            }
        }
        if (named)
            rows[r][7] = date;
    }
    return rows;
}

QList<TRegonReportLink> TRegonAnswer::ReportLinks() const {
    if (FValues.empty())
        return ReportLinksIn(FText);
    QList<TRegonReportLink> links;
    for (const TValue& v : FValues)
        if (v.Value.contains(u"PobierzPelnyRaport"))
            links << ReportLinksIn(v.Value);
    return links;
}

namespace {

// A scanner over one text that counts the characters it examines.
class TLinkScanner {
public:
    TLinkScanner(const QString& Text, qsizetype* Work) : m_text(Text), m_work(Work) {}

    qsizetype Find(QStringView What, qsizetype From) {
        const qsizetype at = m_text.indexOf(What, From);
        Count((at < 0 ? m_text.size() : at + What.size()) - From);
        return at;
    }
    qsizetype Find(QChar What, qsizetype From) {
        const qsizetype at = m_text.indexOf(What, From);
        Count((at < 0 ? m_text.size() : at + 1) - From);
        return at;
    }
    qsizetype SkipBlanks(qsizetype Pos) {
        const qsizetype from = Pos;
        while (Pos < m_text.size() && m_text[Pos].isSpace())
            ++Pos;
        Count(Pos - from + 1);
        return Pos;
    }
    // Pos past blanks and then C; -1 when C is not there.
    qsizetype Expect(qsizetype Pos, QChar C) {
        Pos = SkipBlanks(Pos);
        return Pos < m_text.size() && m_text[Pos] == C ? Pos + 1 : -1;
    }
    // A quoted argument after blanks: its text, and the position past its closing quote. -1 when
    // there is no opening quote; -2 when the text has no closing one (no later link can close).
    qsizetype Quoted(qsizetype Pos, QString& Value) {
        Pos = Expect(Pos, u'"');
        if (Pos < 0)
            return -1;
        const qsizetype close = Find(QChar(u'"'), Pos);
        if (close < 0)
            return -2;
        Value = m_text.mid(Pos, close - Pos);
        return close + 1;
    }

private:
    void Count(qsizetype N) {
        if (m_work)
            *m_work += N;
    }
    const QString& m_text;
    qsizetype* m_work;
};

} // namespace

QList<TRegonReportLink> ReportLinksIn(const QString& Text, qsizetype* Work) {
    // One pass: every attempt either ends at a link's ")" and the search goes on after it, or
    // fails within its own arguments (each bounded by the next quotation mark), or finds that no
    // closing quotation mark or parenthesis remains, after which no link can complete.
    static const QString name = QStringLiteral("PobierzPelnyRaport");
    QList<TRegonReportLink> links;
    TLinkScanner scan(Text, Work);
    qsizetype from = 0;
    while (true) {
        const qsizetype at = scan.Find(name, from);
        if (at < 0)
            break;
        from = at + 1;
        TRegonReportLink link;
        qsizetype pos = scan.Expect(at + name.size(), u'(');
        if (pos >= 0)
            pos = scan.Quoted(pos, link.Regon);
        if (pos >= 0)
            pos = scan.Expect(pos, u',');
        if (pos >= 0)
            pos = scan.Quoted(pos, link.ReportName);
        if (pos >= 0)
            pos = scan.Expect(pos, u',');
        if (pos == -2)
            break;
        if (pos < 0)
            continue;
        const qsizetype close = scan.Find(QChar(u')'), pos);
        if (close < 0)
            break;
        link.Silo = Text.mid(pos, close - pos).remove(u'"').trimmed();
        links << link;
        from = close + 1;
    }
    return links;
}

QString SiloHeading(const QString& Silo) {
    switch (Silo.trimmed().toInt()) { // text that is not an integer reads as 0
    case 1:
        return QStringLiteral("DZIAŁALNOŚĆ GOSPODARCZA PODLEGAJĄCA WPISOWI DO CEIDG");
    case 2:
        return QStringLiteral("DZIAŁALNOŚĆ ROLNICZA");
    case 3:
        return QStringLiteral("DZIAŁALNOŚĆ GOSPODARCZA, KTÓRA NIE JEST WPISANA DO CEIDG");
    default:
        return {};
    }
}
