#pragma once
// The user's MariaDB option file (~/.my.cnf) read by the rules of MariaDB's own reader, so
// that the program connects with what the server's tools would use: "#" and ";" lines,
// "[group]" headers, "name = value" with its comment after "#" outside quotes, one pair of
// surrounding quotes removed, the escapes \n \t \r \b \s \" \' \\, "!include file" and
// "!includedir folder" (its *.cnf files in name order), and a world-writable file ignored.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace SqlOptionFile {

// The options of the named groups (any letter case) in the order read, each as
// "--name=value" or "--name", the form `my_print_defaults --defaults-file=Path Groups` prints.
// Empty with Error set when the file is malformed (MariaDB's tools refuse such a file too).
QStringList Options(const QString& Path, const QStringList& Groups, QString* Error = nullptr);

// The values a client connection takes from the file.
struct TClientOptions {
    QString host, socket, user, password;
    int port = 0;
};
// The [client], [client-server], [client-mariadb] and [mysql] groups of Path; the last
// value of each name counts ("loose-" prefixes and "_" for "-" are allowed, as MariaDB does).
TClientOptions ClientOptions(const QString& Path);

} // namespace SqlOptionFile
