#include "uSqlNativeRows.h"

#include "uSqlErrors.h"

#include <QSqlDriver>
#include <QSqlError>

#include <sqlite3.h>

namespace SqlNative {

namespace {

struct TStatement {
    sqlite3_stmt* s = nullptr;
    ~TStatement() { sqlite3_finalize(s); }
};

[[noreturn]] void Failed(TSqlConnection& C, sqlite3* H, int Rc) {
    const QSqlError error(QString::fromUtf8(sqlite3_errmsg(H)), {}, QSqlError::StatementError,
                          QString::number(Rc));
    throw TSqlFailure(C.Dialect().ErrorCode(error, SqlErrors::ecQuery), error.text(), C.DataBaseID());
}

int Bind(sqlite3_stmt* S, int Index, const QVariant& V) {
    switch (V.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return sqlite3_bind_int64(S, Index, V.toLongLong());
    default: {
        const QByteArray text = V.toString().toUtf8();
        return sqlite3_bind_text(S, Index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
    }
}

} // namespace

sqlite3* Handle(const QSqlDatabase& Db) {
    if (!Db.isOpen() || !Db.driver())
        return nullptr;
    const QVariant h = Db.driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(h.constData());
}

bool EachRow(TSqlConnection& C, const QString& Sql, const QVariantList& Binds,
             const std::function<void(sqlite3_stmt*)>& Row) {
    C.Require();
    sqlite3* h = Handle(C.Database());
    if (!h)
        return false;
    TStatement st;
    const QByteArray sql = Sql.toUtf8();
    int rc = sqlite3_prepare_v2(h, sql.constData(), int(sql.size()), &st.s, nullptr);
    if (rc != SQLITE_OK)
        Failed(C, h, rc);
    for (int i = 0; i < Binds.size(); ++i)
        if ((rc = Bind(st.s, i + 1, Binds[i])) != SQLITE_OK)
            Failed(C, h, rc);
    while ((rc = sqlite3_step(st.s)) == SQLITE_ROW)
        Row(st.s);
    if (rc != SQLITE_DONE)
        Failed(C, h, rc);
    return true;
}

void AppendText(sqlite3_stmt* S, int Col, std::u16string& Out) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(S, Col));
    const int bytes = sqlite3_column_bytes(S, Col);
    if (text && bytes > 0)
        AppendUtf8(std::string_view(text, size_t(bytes)), Out);
}

void AppendUtf8(std::string_view Bytes, std::u16string& Out) {
    if (Bytes.empty())
        return;
    // UTF-16 needs at most one unit per byte: decoded straight into the string.
    const size_t from = Out.size();
    Out.resize(from + Bytes.size());
    char16_t* out = Out.data() + from;
    const auto* p = reinterpret_cast<const unsigned char*>(Bytes.data());
    const auto* const end = p + Bytes.size();
    // The letters of a list (ASCII and the two-byte Latin ones) here, 300,000 lines of a
    // registry costing less than a call into the decoder each; the rest from the first
    // other sequence on through Qt's decoder, which also replaces malformed bytes.
    while (p < end) {
        if (*p < 0x80) {
            *out++ = *p++;
        } else if (*p >= 0xC2 && *p < 0xE0 && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
            *out++ = char16_t(((p[0] & 0x1Fu) << 6) | (p[1] & 0x3Fu));
            p += 2;
        } else {
            // Stateless: nothing carries over from one text to the next.
            static thread_local QStringDecoder decoder(
                QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
            auto* begin = reinterpret_cast<QChar*>(out);
            out = reinterpret_cast<char16_t*>(decoder.appendToBuffer(
                begin, QByteArrayView(reinterpret_cast<const char*>(p), end - p)));
            break;
        }
    }
    Out.resize(size_t(out - Out.data()));
}

} // namespace SqlNative
