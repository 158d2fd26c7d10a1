#pragma once
// The system's frame: knows the window it sits in and the field panels that
// registered with it.

#include "uEwidarQuorDBIntf.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class TForm;

// What a frame reads from a field panel of its list. The field panel implements
// it; the frame needs nothing else of the panel.
class IFramePanel {
public:
    virtual ~IFramePanel() = default;
    // The data field the panel is bound to, or empty.
    virtual TIntfPtr<IDataField> FramePanelDataField() const = 0;
};

class TFrame : public QWidget {
    Q_OBJECT
public:
    explicit TFrame(QWidget* Parent = nullptr);

    // The nearest enclosing TForm; searched until one is found, then kept.
    TForm* ParentForm();

    // Adds a panel once, keeping the order of arrival; the frame does not own it.
    void AddPanel(QWidget* Panel);
    void RemovePanel(QWidget* Panel);
    bool ContainsPanel(const QWidget* Panel) const;
    // The panels still alive, in order of arrival.
    QList<QWidget*> Panels() const;

    // True when a panel of the list is bound to a data field whose symbol equals
    // Symbol after both are upper-cased; panels without a data field are skipped.
    bool SymbolExists(const QString& Symbol) const;

    // The field panels whose owner frame this is (entered by the panels themselves).
    QList<QPointer<QWidget>> FPanelList;

private:
    QPointer<TForm> FParentForm;
};
