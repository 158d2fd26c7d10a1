#pragma once
// The backend's own dialog for the connection parameter: the database file, typed
// or chosen with the file dialogs (an existing file, or a new one when creating is
// allowed). The parameter's other keys are kept.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
struct TSqlTarget;

class TSqlConnectionDialog final : public QDialog {
public:
    TSqlConnectionDialog(QWidget* Parent, const QString& Path, bool AllowNew);

    QString Path() const;

private:
    void BrowseExisting();
    void BrowseNew();
    void TryAccept();
    QString StartFolder() const;

    bool m_allowNew;
    QLineEdit* m_path = nullptr;
    QLabel* m_error = nullptr;
};

// The dialog of a server database: host, port, socket, database and user (the password
// is never part of the parameter), "Test połączenia", which opens a connection with them
// without writing anything, and "Nowa baza…", which makes the named database one of this
// program (creating it when missing) and never changes one that holds data.
class TSqlServerDialog final : public QDialog {
public:
    TSqlServerDialog(QWidget* Parent, const QString& Param);
    // The parameter with the edited keys, its other keys kept.
    QString Param() const;

private:
    // The typed fields; false (with the reason shown) when the port is not a number.
    bool ReadTarget(TSqlTarget& Target);
    void TestConnection();
    void NewDataBase();
    QString m_param;
    // The password asked for here, once it worked: kept while the dialog lives so that
    // the operator is not asked again at every button. Never part of the parameter.
    QString m_password;
    QLineEdit* m_host = nullptr;
    QLineEdit* m_port = nullptr;
    QLineEdit* m_socket = nullptr;
    QLineEdit* m_db = nullptr;
    QLineEdit* m_user = nullptr;
    QLabel* m_result = nullptr;
    QPushButton* m_ok = nullptr;
};

namespace SqlConnectionDialog {

// Shows the server dialog for Param; on OK writes its keys into Param and returns true.
bool EditServer(QWidget* Parent, QString& Param);

// Shows the dialog for the "DIR" of Param over Parent (may be null); on OK writes
// "DIR=<absolute path>;" into Param, keeping its other keys, and returns true.
// An empty DIR starts from the default database file.
bool Edit(QWidget* Parent, QString& Param, bool AllowNew);

} // namespace SqlConnectionDialog
