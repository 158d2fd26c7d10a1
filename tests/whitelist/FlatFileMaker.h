#pragma once
// A small flat file of the VAT white list as the ministry writes it, hashed the published way
// (QCryptographicHash, repeated over the lowercase hex text), for the import and check tests.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

struct TFlatFileMaker {
    QString Date = QStringLiteral("20260105"); // yyyyMMdd
    int Rounds = 7;
    QList<QPair<QString, QString>> Active; // NIP, account (or an account masked by a mask)
    QList<QPair<QString, QString>> Exempt;
    QStringList Masks;
    int Filler = 0; // further unrelated active hashes

    static QByteArray Hash(const QString& Date, const QString& Nip, const QString& Account, int Rounds);
    QByteArray Json() const;
    // Writes Json() (or Text when given) to Path.
    static void Write(const QString& Path, const QByteArray& Text);
    // Text as the file Name in a 7z archive at Path, as the ministry packs it.
    static void Write7z(const QString& Path, const QString& Name, const QByteArray& Text);
};
