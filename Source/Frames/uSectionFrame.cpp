#include "uSectionFrame.h"

#include <QVBoxLayout>

TSectionFrame::TSectionFrame(const TSectionDescription& Description, QWidget* Parent)
    : TBaseFrame(Parent), FDescription(Description) {
    setObjectName(QLatin1String(Description.ClassName).mid(1));
    TPanel* container = CreateContainer(Description.Title);
    container->setMinimumWidth(Description.Width);
    for (const TSectionPanel& row : Description.Panels) {
        auto* panel = new TPanel(container);
        panel->setObjectName(QLatin1String(row.Name));
        m_panels.insert(QByteArray(row.Name), panel);
        container->Layout()->addWidget(panel);
        panel->SetField(*row.Field);
    }
    // Rules and related panels once every panel exists (a rule may relate to a later one).
    for (const TSectionPanel& row : Description.Panels) {
        TPanel* panel = Panel(row.Name);
        panel->SetOnValidate(row.Rule);
        QList<TPanel*> refs;
        for (const char* name : row.Refs)
            refs.append(Panel(name));
        panel->SetValidateRefCompoments(refs);
    }
    container->Layout()->addStretch(1);
}

TPanel* TSectionFrame::Panel(const char* Name) const {
    return m_panels.value(QByteArray(Name));
}

void TSectionFrame::SetKontekst(TKontekst Value) {
    TBaseFrame::SetKontekst(Value);
    if (FDescription.Refuses.contains(Value))
        throw EFrameContextError(QLatin1String(FDescription.ClassName));
}

namespace FrameOpeners {

namespace {
TCountryChooser& Chooser() {
    static TCountryChooser chooser;
    return chooser;
}
} // namespace

void SetCountryChooser(TCountryChooser Value) {
    Chooser() = std::move(Value);
}

QString ChooseCountry(QWidget* OwnerForm, const QString& Current) {
    const TCountryChooser chooser = Chooser();
    return chooser ? chooser(OwnerForm, Current) : QString();
}

} // namespace FrameOpeners
