#pragma once
// The common pattern of the section frames: a titled container with field panels
// bound by symbol, a few validation rules and the contexts the frame refuses, all
// declared in one table per frame and built by TSectionFrame.
//
//   const TSectionDescription& Description() {
//       static const TSectionDescription d{"TDaneNFZFrame", QStringLiteral("Dane NFZ"),
//           {{"pnlKod", &cDaneNFZKod}, {"pnlNazwa", &cDaneNFZNazwa}}, {kKontrahent}};
//       return d;
//   }
//
// A panel row may name a rule and the related panels the rule reads (by panel name,
// in the rule's order). Frames with behaviour of their own derive from TSectionFrame
// and find their panels with Panel("pnlNazwa").

#include "uBaseFrame.h"
#include "uEwidarComponents_Panel.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>

// One field panel of a frame: its component name, field descriptor, rule and the
// names of the rule's related panels.
struct TSectionPanel {
    const char* Name = nullptr;
    const TInternalFieldRecord* Field = nullptr;
    TOnValidate Rule = nullptr;
    QList<const char*> Refs;
};

struct TSectionDescription {
    // Class name, as the refused-context error names it.
    const char* ClassName = nullptr;
    QString Title;
    QList<TSectionPanel> Panels;
    // Contexts in which the frame cannot be used.
    QList<TKontekst> Refuses;
    // Width of the container of the fields.
    int Width = 380;
};

class TSectionFrame : public TBaseFrame {
    Q_OBJECT
public:
    TSectionFrame(const TSectionDescription& Description, QWidget* Parent = nullptr);

    const TSectionDescription& Description() const { return FDescription; }
    // The field panel of the declaration with that name; nullptr for none.
    TPanel* Panel(const char* Name) const;

    // Refuses the contexts of the declaration (EFrameContextError).
    void SetKontekst(TKontekst Value) override;

private:
    const TSectionDescription& FDescription;
    // The declared panels by name, kept so a frame may regroup them afterwards.
    QHash<QByteArray, TPanel*> m_panels;
};

namespace FrameOpeners {
// Picks a country from the dictionary for a field that shows its name; empty when none was picked.
using TCountryChooser = std::function<QString(QWidget* OwnerForm, const QString& Current)>;
// Installing an empty function puts the do-nothing default back.
void SetCountryChooser(TCountryChooser Chooser);
QString ChooseCountry(QWidget* OwnerForm, const QString& Current);
} // namespace FrameOpeners
