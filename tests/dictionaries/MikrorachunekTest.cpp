// The taxpayer's own tax account: the published layout for example identifiers, valid
// check digits by the program's own account check for many random identifiers, and which
// identifier of a subject counts.

#include "CheckCRC.h"
#include "uMikrorachunek.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

// Check digits worked out apart (98 minus the remainder of basic number + "252100").
TEST(Mikrorachunek, ExampleIdentifiersGiveThePublishedLayout) {
    EXPECT_EQ(Mikrorachunek(QStringLiteral("1234563218"), TTaxIdKind::Nip),
              QStringLiteral("88101000712222123456321800"));
    EXPECT_EQ(Mikrorachunek(QStringLiteral("44051401359"), TTaxIdKind::Pesel),
              QStringLiteral("27101000712221440514013590"));
    // Only an identifier of its kind's length and digits makes an account.
    const std::pair<const char*, TTaxIdKind> wrong[] = {{"123456321", TTaxIdKind::Nip},
                                                         {"44051401359", TTaxIdKind::Nip},
                                                         {"4405140135", TTaxIdKind::Pesel},
                                                         {"123-456-32-18", TTaxIdKind::Nip}};
    for (const auto& [id, kind] : wrong)
        EXPECT_TRUE(Mikrorachunek(QString::fromLatin1(id), kind).isEmpty()) << id;
}

QString RandomDigits(QRandomGenerator& Random, int Count) {
    QString s;
    for (int i = 0; i < Count; ++i)
        s += QChar(u'0' + Random.bounded(10));
    return s;
}

int Weighted(const QString& Digits, std::initializer_list<int> Weights) {
    int sum = 0, i = 0;
    for (int w : Weights)
        sum += w * Digits[i++].digitValue();
    return sum;
}

TEST(Mikrorachunek, RandomValidIdentifiersGiveAccountsTheAccountCheckAccepts) {
    QRandomGenerator random(20200101);
    for (int n = 0; n < 10000; ++n) {
        QString nip;
        do {
            nip = RandomDigits(random, 9);
            const int check = Weighted(nip, {6, 5, 7, 2, 3, 4, 5, 6, 7}) % 11;
            nip = check == 10 ? QString() : nip + QString::number(check);
        } while (nip.isEmpty());
        QString pesel = RandomDigits(random, 10);
        pesel += QString::number((10 - Weighted(pesel, {1, 3, 7, 9, 1, 3, 7, 9, 1, 3}) % 10) % 10);
        ASSERT_TRUE(CheckCRC::IsValidNIP(nip) && CheckCRC::IsValidPESEL(pesel));

        const QString byNip = SubjectMikrorachunek(nip, QString());
        const QString byPesel = SubjectMikrorachunek(QString(), pesel);
        ASSERT_EQ(CheckCRC::CheckAccountNumber(byNip), 0) << byNip.toStdString();
        ASSERT_EQ(CheckCRC::CheckAccountNumber(byPesel), 0) << byPesel.toStdString();
        ASSERT_EQ(byNip.mid(2), QStringLiteral("101000712222") + nip + QStringLiteral("00"));
        ASSERT_EQ(byPesel.mid(2), QStringLiteral("101000712221") + pesel + QStringLiteral("0"));
    }
}

TEST(Mikrorachunek, ASubjectsNipWinsThenItsPeselAndNeitherInvalidOneCounts) {
    const QString nipAccount = QStringLiteral("88101000712222123456321800");
    const QString peselAccount = QStringLiteral("27101000712221440514013590");
    EXPECT_EQ(SubjectMikrorachunek(QStringLiteral("1234563218"), QStringLiteral("44051401359")), nipAccount);
    EXPECT_EQ(SubjectMikrorachunek(QStringLiteral("123-456-32-18"), QString()), nipAccount);
    EXPECT_EQ(SubjectMikrorachunek(QStringLiteral("1234563219"), QStringLiteral("44051401359")), peselAccount);
    EXPECT_TRUE(SubjectMikrorachunek(QStringLiteral("1234563219"), QStringLiteral("44051401358")).isEmpty());
    EXPECT_TRUE(SubjectMikrorachunek(QString(), QString()).isEmpty());
}

} // namespace
