// Every section frame against the frame table, over the real SQL backend: the contexts
// each frame refuses, and a round trip of a value through every panel (typed, posted,
// read back through a second connection, shown again by a new frame).

#include "FrameKinds.h"
#include "TEdit.h"
#include "uBaseFrame.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarRecordForm.h"

#include <QSet>

#include <algorithm>

namespace {

// Refused contexts of each frame, from the frame table.
const QHash<QString, QSet<TKontekst>>& Refusals() {
    static const QHash<QString, QSet<TKontekst>> refusals = {
        {"TDaneObywatelstwaFrame", {kKontrahent}},
        {"TDaneAdresoweDzialanosciFrame", {kPracownik}},
        {"TRodzajDzialalnosciFrame", {kPracownik, kKontrahent}},
        {"TDaneZUSFrame", {kKontrahent}},
        {"TDaneUrzeduStatystycznegoFrame", {kPracownik, kKontrahent}},
        {"TDaneNFZFrame", {kKontrahent}},
        {"TDaneSaduRejonowegoFrame", {kPracownik, kKontrahent}},
        {"TDaneBankuFrame", {kKontrahent}},
        {"TDaneWspolnikaFrame", {kPracownik, kKontrahent}},
        {"TDaneSpolkiFrame", {kPracownik, kKontrahent}},
        {"TSpolkaPodmiotuFrame", {kPracownik, kKontrahent}},
        {"TDaneZamawiajacego", {kPodatnik, kPracownik}},
        {"TDaneReprezentantaFrame", {kPracownik}},
    };
    return refusals;
}

// The panels that are the frame's own (not those of an embedded frame or list).
QList<TPanel*> OwnPanels(TBaseFrame* Frame) {
    QList<TPanel*> panels;
    for (QWidget* w : Frame->Panels())
        if (auto* panel = qobject_cast<TPanel*>(w); panel && !panel->DynamicField())
            panels.append(panel);
    return panels;
}

TPanel* OwnPanel(TBaseFrame* Frame, const char* Name) {
    for (TPanel* panel : OwnPanels(Frame))
        if (panel->objectName() == QLatin1String(Name))
            return panel;
    return nullptr;
}

// A value that fits the panel's editor and differs from panel to panel.
QString SampleValue(TPanel* Panel, int Index) {
    switch (Panel->ComponentType()) {
    case ctCheckBox:
        return QStringLiteral("1");
    case ctRadioGroup:
        return QString::number(Panel->GroupRadioButtons().size() - 1);
    case ctCheckBoxGroup: {
        QStringList boxes;
        for (int i = 0; i < Panel->GroupCheckBoxes().size(); ++i)
            boxes.append(i % 2 == 0 ? QStringLiteral("1") : QStringLiteral("0"));
        return boxes.join(u',');
    }
    case ctComboBox:
        return Panel->ComboBoxSymbols().isEmpty() ? QStringLiteral("mazowieckie")
                                                  : Panel->ComboBoxSymbols().last();
    case ctMemo:
        return QStringLiteral("Opis %1\ndrugi wiersz żółć").arg(Index);
    default:
        if (Panel->Edit() && Panel->Edit()->validator())
            return QStringLiteral("D%1").arg(Index % 10);
        return QStringLiteral("Wartość %1 ąę").arg(Index);
    }
}

} // namespace

TEST_F(FramesTest, EveryFrameRefusesExactlyTheContextsOfItsRow) {
    ASSERT_EQ(FrameKinds().size(), 19);
    for (const TFrameKind& kind : FrameKinds()) {
        SCOPED_TRACE(kind.Frame);
        const TIntfPtr<IEwidarRecord> record = NewRecord(kind);
        ASSERT_TRUE(record);
        const QSet<TKontekst> refused = Refusals().value(QLatin1String(kind.Frame));
        for (TKontekst context : {kBrak, kPodatnik, kPracownik, kKontrahent}) {
            QWidget host;
            std::unique_ptr<TBaseFrame> frame(CreateRecordFrame(record.get(), &host));
            ASSERT_TRUE(frame);
            EXPECT_STREQ(frame->metaObject()->className(), kind.Frame);
            QString error;
            try {
                frame->SetKontekst(context);
            } catch (const EFrameContextError& e) {
                error = QString::fromUtf8(e.what());
            }
            if (refused.contains(context))
                EXPECT_EQ(error, QLatin1String(kind.Frame) + QStringLiteral(" nieprawidlowy kontekst"))
                    << context;
            else
                EXPECT_TRUE(error.isEmpty()) << context << " " << error.toStdString();
        }
    }
}

TEST_F(FramesTest, AValueTypedIntoEveryPanelIsStoredUnderItsSymbolAndShownAgain) {
    for (const TFrameKind& kind : FrameKinds()) {
        SCOPED_TRACE(kind.Frame);
        const TIntfPtr<IEwidarRecord> record = NewRecord(kind);
        TBaseFrame* frame = Host(record, kind.Serves);
        ASSERT_TRUE(frame);
        QStringList own;
        for (TPanel* panel : OwnPanels(frame))
            own.append(panel->objectName());
        QStringList listed;
        for (const auto& [name, symbol] : kind.Panels)
            listed.append(QLatin1String(name));
        EXPECT_EQ(own.join(u' ').toStdString(), listed.join(u' ').toStdString()) << "every panel, in order";

        QHash<QString, QString> typed;
        int index = 0;
        for (const auto& [name, symbol] : kind.Panels) {
            TPanel* panel = OwnPanel(frame, name);
            ASSERT_TRUE(panel) << name;
            EXPECT_EQ(panel->Field().Symbol, symbol) << name;
            const QString value = SampleValue(panel, ++index);
            panel->SetValue(value);
            EXPECT_EQ(panel->Value(), value) << name;
            typed.insert(symbol, value);
        }
        ASSERT_TRUE(frame->btnPostClick()) << Shown().toStdString();
        ASSERT_NE(record->GetID(), 0);

        const TIntfPtr<IEwidarRecord> stored = Reread(kind, record->GetID());
        ASSERT_TRUE(stored);
        for (auto it = typed.begin(); it != typed.end(); ++it)
            EXPECT_EQ(Value(stored.get(), it.key()), it.value()) << it.key().toStdString();
        // The lists describe the record by what was typed (a share only by its company, a
        // representative by its subject).
        const QString described = Lines(stored.get()).join(u'|');
        if (qstrcmp(kind.Frame, "TSpolkaPodmiotuFrame") != 0 &&
            qstrcmp(kind.Frame, "TDaneReprezentantaFrame") != 0) {
            EXPECT_TRUE(std::any_of(typed.begin(), typed.end(), [&](const QString& v) {
                return !v.isEmpty() && described.contains(v);
            })) << described.toStdString();
        }
        TBaseFrame* again = Host(stored, kind.Serves);
        for (const auto& [name, symbol] : kind.Panels)
            EXPECT_EQ(OwnPanel(again, name)->Value(), typed.value(symbol)) << name;
        EXPECT_FALSE(again->Modified()) << "a stored record opens unchanged";
    }
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
}
