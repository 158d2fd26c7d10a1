#pragma once
// The user-defined fields of a record ("Pola własne"): one field panel per definition
// of the record's kind, with "Dodaj pole", "Znajdź usunięte pola" and, on every panel,
// "Edytuj pole" and "Usuń pole". The panels join the record frame's panel list, so
// they are bound, tested for changes and posted with the record's own fields.
// Definitions are stored at once, independently of posting the record.

#include "TFrame.h"
#include "uEwidarComponents_Panel.h"

#include <QList>
#include <QPointer>
#include <QStringList>

class QToolButton;
class QVBoxLayout;
class TScrollBox;

class TDynamicFieldsFrame : public TFrame {
    Q_OBJECT
public:
    explicit TDynamicFieldsFrame(QWidget* Parent = nullptr);

    // Replaces the shown panels by one per definition, in the definitions' order.
    // Any argument may be empty (no record: no panels).
    // The panels are children of the frame and go with it.
    void CreateDynamicFields(TFrame* OwnerFrame, const TIntfPtr<IEwidarRecord>& Record,
                             const TIntfPtr<IDynamicFields>& Definitions);

    void btnAddFieldClick();
    void btnFindFieldsClick();
    // The action of a panel's two icons.
    void DynamicIconClick(TPanel* Panel, TDynamicIconAction Action);

    // The user-defined field panels, top to bottom.
    QList<TPanel*> DynamicComponents() const;
    // Panel height of an editor-kind name ("ctMemo" 80, "ctCheckBox" 20, others 40).
    static int PanelHeight(const QString& KindName);

    TPanel* pnlDynamicFieldContainer;
    QFrame* DynamicFieldsBevel;
    QWidget* pnlInterface;
    QToolButton* btnAddField;
    QToolButton* btnFindFields;
    TScrollBox* DynamicFieldContainer;

private:
    // Adds a panel for a complete definition (description, symbol and kind) when a record is shown.
    bool AddFieldPanel(const TIntfPtr<IDynamicField>& Definition);
    void SetupPanel(TPanel* Panel, const TIntfPtr<IDynamicField>& Definition);
    void ReLayout();
    void EditField(TPanel* Panel);
    void DeleteField(TPanel* Panel);
    void ClearPanels();
    // Values of the record that no panel shows and that are no fixed field of its kind:
    // symbol, value, caption, kind name.
    QList<QStringList> OrphanedValues() const;

    QList<QPointer<TPanel>> FDynamicComponents;
    QPointer<TFrame> FOwnerFrame;
    TIntfPtr<IDynamicFields> FDynamicFields;
    TIntfPtr<IEwidarRecord> FEwidarRecord;
    QWidget* m_content;
    QVBoxLayout* m_contentLayout;
};
