#pragma once
// The backend's own dialog for the connection parameter: the database file, typed
// or chosen with the file dialogs (an existing file, or a new one when creating is
// allowed). The parameter's other keys are kept.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

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

namespace SqlConnectionDialog {

// Shows the dialog for the "DIR" of Param over Parent (may be null); on OK writes
// "DIR=<absolute path>;" into Param, keeping its other keys, and returns true.
// An empty DIR starts from the default database file.
bool Edit(QWidget* Parent, QString& Param, bool AllowNew);

} // namespace SqlConnectionDialog
