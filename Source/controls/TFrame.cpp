#include "TFrame.h"

#include "TForm.h"

#include <QLocale>

TFrame::TFrame(QWidget* Parent) : QWidget(Parent) {}

TForm* TFrame::ParentForm() {
    if (!FParentForm) {
        for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
            if (auto* form = qobject_cast<TForm*>(w)) {
                FParentForm = form;
                break;
            }
        }
    }
    return FParentForm;
}

void TFrame::AddPanel(QWidget* Panel) {
    if (Panel && !ContainsPanel(Panel))
        FPanelList.append(Panel);
}

void TFrame::RemovePanel(QWidget* Panel) {
    FPanelList.removeIf([Panel](const QPointer<QWidget>& p) { return p.isNull() || p == Panel; });
}

bool TFrame::ContainsPanel(const QWidget* Panel) const {
    for (const QPointer<QWidget>& p : FPanelList)
        if (p == Panel)
            return true;
    return false;
}

QList<QWidget*> TFrame::Panels() const {
    QList<QWidget*> panels;
    for (const QPointer<QWidget>& p : FPanelList)
        if (p)
            panels.append(p);
    return panels;
}

bool TFrame::SymbolExists(const QString& Symbol) const {
    const QLocale locale;
    const QString wanted = locale.toUpper(Symbol);
    for (const QPointer<QWidget>& p : FPanelList) {
        const auto* panel = dynamic_cast<const IFramePanel*>(p.data());
        if (!panel)
            continue;
        const TIntfPtr<IDataField> field = panel->FramePanelDataField();
        if (!field)
            continue;
        if (locale.toUpper(QString::fromStdU16String(field->GetSymbol())) == wanted)
            return true;
    }
    return false;
}
