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

QList<QStringList> TRegonAnswer::Rows(const QString& Key, const QString& OtherKey, int Cells) const {
    const bool hasKey =
        std::any_of(FValues.begin(), FValues.end(), [&](const TValue& v) { return v.Key == Key; });
    const QString& start = hasKey ? Key : OtherKey;
    QList<QStringList> rows;
    for (size_t i = 0; i < FValues.size();) {
        if (FValues[i].Key != start) {
            ++i;
            continue;
        }
        QStringList row;
        for (int c = 0; c < Cells; ++c)
            row << (i + c < FValues.size() ? FValues[i + c].Value : QString());
        rows << row;
        i += Cells;
    }
    return rows;
}

QList<QStringList> TRegonAnswer::Activities() const {
    return Rows(QStringLiteral("fiz_pkdKod"), QStringLiteral("praw_pkdKod"), 3);
}

QList<QStringList> TRegonAnswer::LocalUnits() const {
    return Rows(QStringLiteral("lokfiz_regon14"), QStringLiteral("lokpraw_regon14"), 8);
}

QList<TRegonReportLink> TRegonAnswer::ReportLinks() const {
    if (FValues.empty())
        return ReportLinksIn(FText);
    QList<TRegonReportLink> links;
    for (const TValue& v : FValues)
        links << ReportLinksIn(v.Value);
    return links;
}

QList<TRegonReportLink> ReportLinksIn(const QString& Text) {
    static const QRegularExpression link(
        QStringLiteral("PobierzPelnyRaport\\s*\\(\\s*\"([^\"]*)\"\\s*,\\s*\"([^\"]*)\"\\s*,([^)]*)\\)"));
    QList<TRegonReportLink> links;
    auto it = link.globalMatch(Text);
    while (it.hasNext()) {
        const auto m = it.next();
        links << TRegonReportLink{m.captured(1), m.captured(2), m.captured(3).remove(u'"').trimmed()};
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
