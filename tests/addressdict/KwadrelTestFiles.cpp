#include "KwadrelTestFiles.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>

namespace KwadrelTest {

QString TercLines() {
    return QStringLiteral("WOJ;POW;GMI;RODZ;NAZWA;NAZWA_DOD;STAN_NA\n"
                          "30;;;;TESTOWE;województwo;2020-01-01\n"
                          "30;01;;;lipowski;powiat;2020-01-01\n"
                          "30;01;01;1;Lipowo;gmina miejska;2020-01-01\n"
                          "30;01;02;2;Lipowo;gmina wiejska;2020-01-01\n"
                          "30;01;03;3;Dębnik;gmina miejsko-wiejska;2020-01-01\n"
                          "30;01;03;4;Dębnik;miasto;2020-01-01\n"
                          "30;01;03;5;Dębnik;obszar wiejski;2020-01-01\n"
                          "30;61;;;Grodno Wielkie;miasto na prawach powiatu;2020-01-01\n"
                          "30;61;01;1;Grodno Wielkie;gmina miejska;2020-01-01\n"
                          "30;61;02;9;Grodno Wielkie-Północ;delegatura;2020-01-01\n");
}

QString SimcLines() {
    return QStringLiteral("WOJ;POW;GMI;RODZ_GMI;RM;MZ;NAZWA;SYM;SYMPOD;STAN_NA\n"
                          "30;01;01;1;96;1;Lipowo;1000001;1000001;2020-01-01\n"
                          "30;01;02;2;01;1;Zalesie;1000002;1000002;2020-01-01\n"
                          "30;01;02;2;01;1;Zalesie;1000003;1000003;2020-01-01\n"
                          "30;01;01;1;01;1;Zalesie;1000004;1000004;2020-01-01\n"
                          "30;01;02;2;00;1;Zalesie-Kolonia;1000005;1000002;2020-01-01\n"
                          "30;01;03;4;96;1;Dębnik;1000006;1000006;2020-01-01\n"
                          "30;01;03;5;01;1;Mazewo Górne\"B\";1000007;1000007;2020-01-01\n"
                          "30;61;01;1;96;1;Grodno Wielkie;1000008;1000008;2020-01-01\n"
                          "30;61;02;9;98;1;Grodno Wielkie-Północ;1000009;1000009;2020-01-01\n"
                          "30;61;02;9;99;1;Osiedle Zielone;1000010;1000008;2020-01-01\n"
                          "30;01;03;5;01;1;Albinów;1000011;1000011;2020-01-01\n");
}

QString WritePublished(const QString& Name, const QString& Text) {
    QString crlf = Text;
    crlf.replace(u'\n', QLatin1String("\r\n"));
    return WriteBytes(Name, "\xEF\xBB\xBF" + crlf.toUtf8());
}

QString WriteBytes(const QString& Name, const QByteArray& Bytes) {
    const QString path = QDir(TestSupport::NewTempDir()).filePath(Name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(Bytes) != Bytes.size())
        return QString();
    return path;
}

QByteArray ReadBytes(const QString& Path) {
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString RealTerytFolder() {
    const QString folder = QDir(QStringLiteral(EWIDAR_SOURCE_DIR "/../shared/data/teryt")).absolutePath();
    return QDir(folder).entryList({QStringLiteral("SIMC*.csv")}).isEmpty() ? QString() : folder;
}

static QString FirstMatching(const QString& Mask) {
    const QDir dir(RealTerytFolder());
    const QStringList files = dir.entryList({Mask}, QDir::Files, QDir::Name);
    return files.isEmpty() ? QString() : dir.filePath(files.first());
}

QString RealTerc() {
    return FirstMatching(QStringLiteral("TERC*.csv"));
}

QString RealSimc() {
    return FirstMatching(QStringLiteral("SIMC*.csv"));
}

} // namespace KwadrelTest
