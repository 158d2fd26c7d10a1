#include "uSqlOptionFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace SqlOptionFile {

namespace {

constexpr int kMaxDepth = 10; // nesting of !include, as MariaDB's reader allows

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

QByteArray TrimRight(QByteArray s) {
    while (!s.isEmpty() && IsSpace(s.back()))
        s.chop(1);
    return s;
}

// The line without a comment from "#" outside quotes (a backslash in quotes protects a quote).
QByteArray WithoutComment(const QByteArray& Line) {
    char quote = 0;
    bool escape = false;
    for (qsizetype i = 0; i < Line.size(); ++i) {
        const char c = Line[i];
        if ((c == '\'' || c == '"') && !escape) {
            if (!quote)
                quote = c;
            else if (quote == c)
                quote = 0;
        }
        if (!quote && c == '#')
            return Line.left(i);
        escape = quote && c == '\\' && !escape;
    }
    return Line;
}

QByteArray Unescape(const QByteArray& V) {
    QByteArray out;
    for (qsizetype i = 0; i < V.size(); ++i) {
        if (V[i] != '\\' || i == V.size() - 1) {
            out += V[i];
            continue;
        }
        const char c = V[++i];
        switch (c) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case 'b': out += '\b'; break;
        case 's': out += ' '; break;
        case '"':
        case '\'':
        case '\\': out += c; break;
        default: out += '\\'; out += c; break; // unknown: kept as written
        }
    }
    return out;
}

class TReader {
public:
    TReader(const QStringList& Groups) : m_groups(Groups) {}

    // False on a malformed file; a missing or world-writable one just gives nothing.
    bool Read(const QString& Path, int Depth) {
        struct stat st {};
        const QByteArray native = QFile::encodeName(Path);
        if (::stat(native.constData(), &st) != 0)
            return true;
        if ((st.st_mode & S_IWOTH) && S_ISREG(st.st_mode))
            return true; // MariaDB ignores a file anybody may change
        QFile f(Path);
        if (!f.open(QIODevice::ReadOnly))
            return true;
        QByteArray group;
        bool foundGroup = false, inGroup = false;
        int lineNo = 0;
        while (!f.atEnd()) {
            const QByteArray raw = f.readLine();
            ++lineNo;
            qsizetype p = 0;
            while (p < raw.size() && IsSpace(raw[p]))
                ++p;
            if (p == raw.size() || raw[p] == '#' || raw[p] == ';')
                continue;
            if (raw[p] == '!') {
                if (!Directive(raw, p + 1, Path, lineNo, Depth))
                    return false;
                continue;
            }
            if (raw[p] == '[') {
                const qsizetype close = raw.indexOf(']', p + 1);
                if (close < 0)
                    return Fail(Path, lineNo, QStringLiteral("niepoprawny nagłówek grupy"));
                group = TrimRight(raw.mid(p + 1, close - p - 1));
                inGroup = m_groups.contains(QString::fromUtf8(group), Qt::CaseInsensitive);
                foundGroup = true;
                continue;
            }
            if (!foundGroup)
                return Fail(Path, lineNo, QStringLiteral("opcja przed nagłówkiem grupy"));
            const QByteArray line = WithoutComment(raw.mid(p));
            const qsizetype eq = line.indexOf('=');
            const QByteArray name = TrimRight(eq < 0 ? line : line.left(eq));
            if (!inGroup)
                continue;
            if (eq < 0) {
                m_options.append(QStringLiteral("--") + QString::fromUtf8(name));
                continue;
            }
            qsizetype v = eq + 1;
            while (v < line.size() && IsSpace(line[v]))
                ++v;
            QByteArray value = TrimRight(line.mid(v));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.mid(1, value.size() - 2);
            m_options.append(QStringLiteral("--") + QString::fromUtf8(name) + u'=' +
                             QString::fromUtf8(Unescape(value)));
        }
        return true;
    }

    QStringList m_options;
    QString m_error;

private:
    bool Fail(const QString& Path, int Line, const QString& What) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("Plik opcji „%1”, wiersz %2: %3.").arg(Path).arg(Line).arg(What);
        return false;
    }

    // "!include file" or "!includedir folder" (the keyword followed by a blank); anything
    // else after "!" is skipped. A malformed or failing included file is passed over.
    bool Directive(const QByteArray& Raw, qsizetype p, const QString& Path, int Line, int Depth) {
        while (p < Raw.size() && IsSpace(Raw[p]))
            ++p;
        const QByteArray rest = Raw.mid(p);
        const auto keyword = [&](const QByteArray& Word) {
            return rest.startsWith(Word) && rest.size() > Word.size() && IsSpace(rest[Word.size()]);
        };
        const bool dir = keyword("includedir");
        if (!dir && !keyword("include"))
            return true;
        if (Depth >= kMaxDepth)
            return true;
        // The argument: after the keyword and blanks, the line's last character (its line
        // feed) dropped and blanks before it trimmed.
        qsizetype a = dir ? 10 : 7;
        while (a < rest.size() && IsSpace(rest[a]))
            ++a;
        QByteArray arg = rest.mid(a);
        if (arg.isEmpty() || arg.size() < 2)
            return Fail(Path, Line, QStringLiteral("niepoprawna dyrektywa „!%1”").arg(dir ? "includedir" : "include"));
        arg = TrimRight(arg.left(arg.size() - 1));
        const QString target = QFile::decodeName(arg);
        if (!dir) {
            TReader inner(m_groups);
            inner.Read(target, Depth + 1);
            m_options += inner.m_options;
            return true;
        }
        const QDir folder(target);
        if (!folder.exists())
            return Fail(Path, Line, QStringLiteral("nie ma folderu %1").arg(target));
        QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
        std::sort(names.begin(), names.end(),
                  [](const QString& x, const QString& y) { return QFile::encodeName(x) < QFile::encodeName(y); });
        for (const QString& name : names) {
            if (!name.endsWith(QLatin1String(".cnf")) || name.lastIndexOf(u'.') != name.size() - 4)
                continue;
            TReader inner(m_groups);
            inner.Read(folder.filePath(name), Depth + 1);
            m_options += inner.m_options;
        }
        return true;
    }

    QStringList m_groups;
};

} // namespace

QStringList Options(const QString& Path, const QStringList& Groups, QString* Error) {
    TReader reader(Groups);
    if (!reader.Read(Path, 0)) {
        if (Error)
            *Error = reader.m_error;
        return {};
    }
    return reader.m_options;
}

TClientOptions ClientOptions(const QString& Path) {
    TClientOptions o;
    const QStringList groups = {QStringLiteral("client"), QStringLiteral("client-server"),
                                QStringLiteral("client-mariadb"), QStringLiteral("mysql")};
    for (const QString& option : Options(Path, groups)) {
        const qsizetype eq = option.indexOf(u'=');
        QString name = option.mid(2, eq < 0 ? -1 : eq - 2).toLower().replace(u'_', u'-');
        if (name.startsWith(QLatin1String("loose-")))
            name = name.mid(6);
        const QString value = eq < 0 ? QString() : option.mid(eq + 1);
        if (name == QLatin1String("password"))
            o.password = value;
        else if (name == QLatin1String("user"))
            o.user = value;
        else if (name == QLatin1String("host"))
            o.host = value;
        else if (name == QLatin1String("socket"))
            o.socket = value;
        else if (name == QLatin1String("port"))
            o.port = value.toInt();
    }
    return o;
}

} // namespace SqlOptionFile
