#pragma once
// The REGON search window against the register client's fake service, copying into a subject
// of the real SQL backend held by a stand-in of the subject editor: a frame whose panels,
// kind switches and main-activity section carry the editor's component names.

#include "BackendFixture.h"
#include "FakeMessagePresenter.h"
#include "FakeRegonService.h"
#include "uBaseFrame.h"

#include <QStringList>

#include <memory>

class QRadioButton;
class TPanel;
class TWyszukiwarkaRegonForm;

class TEditorStandIn : public TBaseFrame {
public:
    TEditorStandIn();
    // The subject's own panel of that name.
    TPanel* Panel(const char* Name) const;
    QRadioButton* RadioButton5;
    QRadioButton* RadioButton6;
    TBaseFrame* RodzajDzialalnosciFrame1;
};

class RegonFormTest : public BackendTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new taxpayer (stored as a placeholder) bound to a new editor stand-in.
    void NewEditor();
    // A window for the editor, its code step passed and a search by these numbers done.
    void Search(const QString& Regon, const QString& Nip = {}, const QString& Krs = {});
    // Visible result tables by name, in stacking order.
    QStringList VisibleTables() const;
    // Rows of a section collection of the subject read from a fresh connection: one line per
    // record, the values of the symbols joined by "|".
    QStringList Stored(const char* Collection, const QStringList& Symbols);
    QString StoredValue(IEwidarRecord* Record, const QString& Symbol);

    TFakeRegonService Service;
    std::unique_ptr<FakeMessagePresenter> Messages;
    std::unique_ptr<TEditorStandIn> Editor;
    std::unique_ptr<TWyszukiwarkaRegonForm> Form;
    TIntfPtr<IEwidarRecord> Subject;
};
