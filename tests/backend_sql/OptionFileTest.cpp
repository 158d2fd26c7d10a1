// The user's MariaDB option file read as MariaDB's own reader reads it: a table of files,
// each compared with what `my_print_defaults` prints for it when the MariaDB client tools are
// installed, and with the password expected of it in any case.

#include "TestSupport.h"
#include "uSqlOptionFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct TFile {
    const char* Name;
    const char* Text; // "@DIR@" stands for the case's folder
    int Mode;
};

struct TOptionCase {
    const char* Case;
    std::vector<TFile> Files; // the first is the option file read
    const char* Password;     // what a client connection takes
    bool Malformed;
};

const QStringList kGroups = {"client", "client-server", "client-mariadb", "mysql"};

QString Write(const QString& Dir, const TFile& F) {
    const QString path = Dir + u'/' + QString::fromUtf8(F.Name);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(QByteArray(F.Text).replace("@DIR@", QFile::encodeName(Dir)));
    f.close();
    ::chmod(QFile::encodeName(path).constData(), F.Mode);
    return path;
}

class OptionFileTest : public ::testing::TestWithParam<TOptionCase> {};

TEST_P(OptionFileTest, ReadsAsMariaDbDoes) {
    const TOptionCase& c = GetParam();
    const QString dir = TestSupport::NewTempDir(QStringLiteral("cnf"));
    QString file;
    for (const TFile& f : c.Files)
        if (const QString path = Write(dir, f); file.isEmpty())
            file = path;
    QString error;
    const QStringList options = SqlOptionFile::Options(file, kGroups, &error);
    EXPECT_EQ(!error.isEmpty(), c.Malformed) << error.toStdString();
    EXPECT_EQ(SqlOptionFile::ClientOptions(file).password, QString::fromUtf8(c.Password));

    const QString tool = QStandardPaths::findExecutable(QStringLiteral("my_print_defaults"));
    if (tool.isEmpty())
        return;
    QProcess p;
    p.start(tool, QStringList{QStringLiteral("--defaults-file=") + file} + kGroups);
    ASSERT_TRUE(p.waitForFinished(10000));
    const bool refused = p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0;
    EXPECT_EQ(refused, c.Malformed) << p.readAllStandardError().toStdString();
    if (!refused) {
        const QString printed = QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_EQ(options, printed.split(u'\n', Qt::SkipEmptyParts));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, OptionFileTest,
    ::testing::Values(
        TOptionCase{"Plain", {{"my.cnf", "[client]\nuser = jan\npassword = tajne\n", 0600}}, "tajne", false},
        TOptionCase{"Escapes", {{"my.cnf", "[client]\npassword=pa\\\\ss\\sx\\q\\\n", 0600}}, "pa\\ss x\\q\\", false},
        TOptionCase{"CommentAfterTheValue", {{"my.cnf", "[client]\npassword = tajne # stare: x\n", 0600}}, "tajne",
                    false},
        TOptionCase{"QuotedWithHashAndQuote",
                    {{"my.cnf", "[client]\npassword = \"a#b\\\"c\" # uwaga\nuser='o''k'\n", 0600}}, "a#b\"c", false},
        TOptionCase{"QuotesOnlyAroundTheWhole", {{"my.cnf", "[client]\npassword=\"ab\"c\"\n", 0600}}, "ab\"c", false},
        TOptionCase{"SemicolonAndHashLines",
                    {{"my.cnf", "# uwaga\n ; inna\n[client]\n\tpassword\t=\t x y \t\n", 0600}}, "x y", false},
        TOptionCase{"GroupsInAnyCaseOtherGroupsSkippedLastWins",
                    {{"my.cnf", "[CLIENT]\npassword=a\n[mysqld]\npassword=b\n[ client ]\npassword=c\n"
                                "[mysql]\nloose_password=d\n",
                      0600}},
                    "d", false},
        TOptionCase{"OptionWithoutValue", {{"my.cnf", "[client]\npassword=x\npassword\nskip-ssl\n", 0600}}, "",
                    false},
        TOptionCase{"Include",
                    {{"my.cnf", "[client]\nuser=jan\n!include @DIR@/inne.cnf  \npassword2=z\n", 0600},
                     {"inne.cnf", "[client]\npassword=z\n", 0600}},
                    "z", false},
        TOptionCase{"IncludeDirInNameOrderCnfOnly",
                    {{"my.cnf", "[client]\n!includedir @DIR@/d\n", 0600},
                     {"d/b.cnf", "[client]\npassword=b\n", 0600},
                     {"d/a.cnf", "[client]\npassword=a\n", 0600},
                     {"d/c.txt", "[client]\npassword=c\n", 0600}},
                    "b", false},
        TOptionCase{"WorldWritableFileIgnored", {{"my.cnf", "[client]\npassword=obcy\n", 0666}}, "", false},
        TOptionCase{"WorldWritableIncludeIgnored",
                    {{"my.cnf", "[client]\npassword=mój\n!include @DIR@/w.cnf\n", 0600},
                     {"w.cnf", "[client]\npassword=obcy\n", 0646}},
                    "mój", false},
        TOptionCase{"OptionBeforeAnyGroup", {{"my.cnf", "password=x\n[client]\npassword=y\n", 0600}}, "", true},
        TOptionCase{"GroupNeverClosed", {{"my.cnf", "[client\npassword=y\n", 0600}}, "", true}),
    [](const auto& Info) { return std::string(Info.param.Case); });

} // namespace
