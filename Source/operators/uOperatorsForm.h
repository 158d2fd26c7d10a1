#pragma once
// The operators window: operator groups with their operators as a two-level
// tree, buttons to add, edit and delete groups and operators, and moving an
// operator to another group by dragging it onto the group. The tree is read
// again after every change and keeps the selected node by its ID.

#include "TForm.h"
#include "uOperatorsNodeData.h"

class QPushButton;
class QTreeWidgetItem;
class TOperatorsTree;

class TOperatorsForm : public TForm {
    Q_OBJECT
public:
    TOperatorsForm(QWidget* OwnerForm, IEwidarDataBase* DataBase);

    // Reads the groups and operators again, keeping the selected node by its ID.
    void BuildTree();
    // The selected node and its data; none without a selection.
    QTreeWidgetItem* SelectedNode() const;
    TNodeData* SelectedData() const;

    void TreeView1Change();
    void btnAddGroupClick();
    void btnEditGroupClick();
    void btnDeleteGroupClick();
    void btnAddOperatorClick();
    void btnEditOperatorClick();
    void btnDeleteOperatorClick();
    // Moves the operator of node OperatorID into the group of node Target.
    void TreeView1DragDrop(const QString& OperatorID, QTreeWidgetItem* Target);

    TOperatorsTree* TreeView1;
    QPushButton* btnAddGroup;
    QPushButton* btnEditGroup;
    QPushButton* btnDeleteGroup;
    QPushButton* btnAddOperator;
    QPushButton* btnEditOperator;
    QPushButton* btnDeleteOperator;

private:
    QPushButton* AddButton(const char* Name, const QString& Caption, void (TOperatorsForm::*Handler)());
    // After an edit window: a stored change shows, and objects that a refused
    // change left modified are read again, so no later store can carry it.
    void AfterEdit();
    // Asks Question about Name and deletes Record on "Tak"; the tree follows a success.
    // Without a record (nothing selected) it says so.
    void DeleteAfterQuestion(uint32_t Question, const QString& Name, ICustomRecord* Record);

    TIntfPtr<IEwidarDataBase> FDataBase;
};

// Shows the operators window modally over OwnerForm and frees it.
void ShowOperators(QWidget* OwnerForm, IEwidarDataBase* DataBase);
