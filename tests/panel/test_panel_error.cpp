// Field panel: the error record, colours and shown kinds, where the colour goes, the
// typing rule of text edits and the one error balloon.

#include "PanelFixture.h"
#include "TDateTimePicker.h"
#include "TEdit.h"
#include "uEwidarComponents_Balloon.h"

#include <QPlainTextEdit>

namespace {

const TError cMissing{etRequire, QStringLiteral("Nie podano nazwiska.")};
const TError cInvalid{etValidate, QStringLiteral("Nieprawidłowy numer REGON.")};

QColor BaseOf(const QWidget* Editor) {
    return Editor->palette().color(QPalette::Base);
}

TEST(ErrorRecord, EmptyLooksAtTheKindOnly) {
    TError e = TError::Create(etEmpty, QStringLiteral("zostało"));
    EXPECT_TRUE(e.Empty());
    e = TError::Create(etRequire, QString());
    EXPECT_FALSE(e.Empty());
    e.Clear();
    EXPECT_TRUE(e.Empty());
    EXPECT_TRUE(e.ErrMsg.isEmpty());
}

TEST(ErrorRecord, ColourTableKeepsTheFirstEntryPerKind) {
    EXPECT_EQ(GetErrorColor(etValidate), QColor(245, 169, 169));
    EXPECT_EQ(GetErrorColor(etRequire), QColor(255, 255, 200));
    EXPECT_EQ(GetErrorColor(etEmpty), QColor(255, 255, 255)) << "no row: white";
    AddErrorColor(etValidate, Qt::blue);
    EXPECT_EQ(GetErrorColor(etValidate), QColor(245, 169, 169));
    AddErrorColor(etEmpty, Qt::green);
    EXPECT_EQ(GetErrorColor(etEmpty), QColor(Qt::green));
    EXPECT_EQ(ErrorColors().size(), 3);
}

TEST(ErrorRecord, KindNames) {
    EXPECT_EQ(FieldTypeToStr(ctCheckBoxGroup), QStringLiteral("ctCheckBoxGroup"));
    EXPECT_EQ(StrToFieldType(QStringLiteral("ctCheckBoxGroup")), ctCheckBoxGroup);
    EXPECT_EQ(StrToFieldType(QStringLiteral("ctedit")), ctStandard);
    EXPECT_EQ(StrToFieldType(QString()), ctStandard);
    EXPECT_EQ(StrToFieldType(QStringLiteral("ctStandard")), ctStandard);
}

using ErrorDisplayTest = PanelFixture;

TEST_F(ErrorDisplayTest, ColourGoesToTheEditorOrToThePanel) {
    TPanel* edit = AddPanel(cDanePodmiotuNazwisko);
    TPanel* date = AddPanel(cDanePodmiotuDataUrodzenia);
    TPanel* memo = AddPanel(cUwagi);
    TPanel* check = AddPanel(cDanePodmiotuNiePosiadaNrPesel);
    TPanel* sex = AddGroup<TRadioButton>(cDanePodmiotuPlec, GroupFieldOptions(cDanePodmiotuPlec.Symbol));

    edit->SetError(cMissing);
    date->SetError(cInvalid);
    memo->SetError(cInvalid);
    check->SetError(cInvalid);
    sex->SetError(cMissing);
    EXPECT_EQ(BaseOf(edit->Edit()), GetErrorColor(etRequire)) << "an edit never entered shows at once";
    EXPECT_EQ(BaseOf(date->DateTimePicker()), GetErrorColor(etValidate));
    EXPECT_EQ(BaseOf(memo->Memo()), GetErrorColor(etValidate));
    EXPECT_FALSE(date->autoFillBackground());
    for (TPanel* p : {check, sex}) {
        EXPECT_TRUE(p->autoFillBackground());
        EXPECT_EQ(p->palette().color(QPalette::Window), p->ErrorDisplayColor());
    }

    for (TPanel* p : {edit, date, memo, check, sex})
        p->ClearError();
    EXPECT_EQ(BaseOf(edit->Edit()), QColor(Qt::white));
    EXPECT_EQ(BaseOf(date->DateTimePicker()), QColor(Qt::white));
    EXPECT_FALSE(check->autoFillBackground()) << "back to the parent's background";
}

TEST_F(ErrorDisplayTest, ReadOnlyTextNeverShowsOtherReadOnlyKindsColourThePanel) {
    TPanel* edit = AddPanel(cDanePodmiotuNazwisko);
    TPanel* date = AddPanel(cDanePodmiotuDataUrodzenia);
    edit->SetReadOnly(true);
    date->SetReadOnly(true);
    edit->SetError(cMissing);
    date->SetError(cInvalid);
    EXPECT_FALSE(edit->ErrorShown());
    EXPECT_FALSE(edit->autoFillBackground());
    EXPECT_TRUE(date->ErrorShown());
    EXPECT_TRUE(date->autoFillBackground());
    EXPECT_EQ(date->palette().color(QPalette::Window), GetErrorColor(etValidate));
    // The error survives the rebuild and shows in the new editor.
    date->SetReadOnly(false);
    EXPECT_EQ(BaseOf(date->DateTimePicker()), GetErrorColor(etValidate));
    EXPECT_FALSE(date->autoFillBackground());
}

TEST_F(ErrorDisplayTest, ExcludingAKindTurnsEveryLivePanelWhiteAtOnce) {
    TPanel* a = AddPanel(cDanePodmiotuNazwisko);
    TPanel* b = AddPanel(cDanePodmiotuPierwszeImie);
    TPanel* c = AddPanel(cDanePodmiotuREGON);
    TPanel* d = AddGroup<TRadioButton>(cDanePodmiotuPlec, GroupFieldOptions(cDanePodmiotuPlec.Symbol));
    a->SetError(cMissing);
    b->SetError(cMissing);
    c->SetError(cInvalid);
    d->SetError(cMissing);

    ExcludeShownErrorType(etRequire);
    EXPECT_FALSE(GetShownErrorTypes().Contains(etRequire));
    EXPECT_EQ(BaseOf(a->Edit()), QColor(Qt::white));
    EXPECT_EQ(BaseOf(b->Edit()), QColor(Qt::white));
    EXPECT_FALSE(d->autoFillBackground());
    EXPECT_EQ(BaseOf(c->Edit()), GetErrorColor(etValidate)) << "other kinds stay";
    EXPECT_EQ(a->Error(), cMissing) << "the error itself is kept";

    IncludeShownErrorType(etRequire);
    EXPECT_EQ(BaseOf(a->Edit()), GetErrorColor(etRequire));
    EXPECT_TRUE(d->autoFillBackground());

    ExcludeShownErrorType(etValidate);
    EXPECT_EQ(BaseOf(c->Edit()), QColor(Qt::white));
    IncludeShownErrorType(etEmpty);
    EXPECT_FALSE(GetShownErrorTypes().Contains(etEmpty)) << "etEmpty is never shown";
}

// A rule that complains about any value other than "ok".
void OnlyOk(TPanel* Sender) {
    const QString v = Sender->Value();
    if (v.isEmpty() || v == QStringLiteral("ok"))
        Sender->ClearError();
    else
        Sender->SetError(cInvalid);
}

TEST_F(ErrorDisplayTest, ErrorWhileTypingShowsOnlyAfterLeavingTheEdit) {
    TPanel* panel = AddPanel(cDanePodmiotuREGON);
    TPanel* other = AddPanel(cDanePodmiotuNazwisko);
    panel->SetOnValidate(OnlyOk);
    ShowWindow();
    panel->Edit()->setFocus();
    ASSERT_TRUE(panel->Edit()->hasFocus());

    QTest::keyClicks(panel->Edit(), QStringLiteral("12"));
    EXPECT_EQ(panel->Error(), cInvalid);
    EXPECT_FALSE(panel->ErrorShown());
    EXPECT_EQ(BaseOf(panel->Edit()), QColor(Qt::white));

    other->Edit()->setFocus();
    EXPECT_TRUE(panel->ErrorShown());
    EXPECT_EQ(BaseOf(panel->Edit()), GetErrorColor(etValidate));

    // Entering an edit that has an error keeps it shown while typing.
    panel->Edit()->setFocus();
    QTest::keyClicks(panel->Edit(), QStringLiteral("3"));
    EXPECT_TRUE(panel->ErrorShown());
    // Once fixed, a new error while typing hides again until the edit is left.
    panel->Edit()->setText(QStringLiteral("ok"));
    other->Edit()->setFocus();
    panel->Edit()->setFocus();
    QTest::keyClicks(panel->Edit(), QStringLiteral("x"));
    EXPECT_FALSE(panel->ErrorShown());
    other->Edit()->setFocus();
    EXPECT_TRUE(panel->ErrorShown());
}

TEST_F(ErrorDisplayTest, ChangesRunTheChangeHandlerBeforeTheRule) {
    TPanel* panel = AddPanel(cDanePodmiotuNazwisko);
    QStringList calls;
    static QStringList* s_calls = nullptr;
    s_calls = &calls;
    panel->SetOnChange([&](TPanel* p) { calls << QStringLiteral("change:") + p->Value(); });
    panel->SetOnValidate([](TPanel* p) { *s_calls << QStringLiteral("rule:") + p->Value(); });
    panel->Edit()->insert(QStringLiteral("Ż"));
    panel->SetValue(QStringLiteral("Żak"));
    panel->SetValue(QStringLiteral("Żak"));
    EXPECT_EQ(calls, (QStringList{QStringLiteral("change:Ż"), QStringLiteral("rule:Ż"),
                                  QStringLiteral("change:Żak"), QStringLiteral("rule:Żak")}));
    s_calls = nullptr;
}

TEST_F(ErrorDisplayTest, MemoShowsAScrollBarOnlyWhenTheTextDoesNotFit) {
    TPanel* panel = AddPanel(cUwagi);
    ShowWindow();
    panel->Memo()->setFixedHeight(60);
    QCoreApplication::processEvents();
    panel->SetValue(QStringLiteral("krótko"));
    EXPECT_EQ(panel->Memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    panel->SetValue(QStringLiteral("wiersz\n").repeated(20));
    EXPECT_EQ(panel->Memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    panel->SetValue(QString());
    EXPECT_EQ(panel->Memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

class BalloonTest : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        m_first = AddPanel(cDanePodmiotuNazwisko);
        m_second = AddPanel(cDanePodmiotuREGON);
        m_plain = AddPanel(cDanePodmiotuOpis);
        ShowWindow();
        // Away from the edits whose errors are tested (an edit shows its error only
        // when the user is not in it).
        m_plain->Edit()->setFocus();
    }
    void TearDown() override {
        if (TErrorBalloon* b = TErrorBalloon::Existing())
            b->HideBalloon();
        PanelFixture::TearDown();
    }
    static void MoveInto(QWidget* Widget) {
        const QPoint pos(Widget->width() - 3, Widget->height() / 2);
        QCursor::setPos(Widget->mapToGlobal(pos));
        QTest::mouseMove(Widget, pos);
        QCoreApplication::processEvents();
    }
    static bool BalloonShows(const TPanel* Owner, const QString& Text) {
        const TErrorBalloon* b = TErrorBalloon::Existing();
        return b && b->IsShown() && b->Owner() == Owner && b->Text() == Text;
    }
    TPanel* m_first = nullptr;
    TPanel* m_second = nullptr;
    TPanel* m_plain = nullptr;
};

TEST_F(BalloonTest, FollowsThePointerFromPanelToPanel) {
    m_first->SetError(cMissing);
    m_second->SetError(cInvalid);
    MoveInto(m_first);
    EXPECT_TRUE(BalloonShows(m_first, cMissing.ErrMsg));
    MoveInto(m_second);
    EXPECT_TRUE(BalloonShows(m_second, cInvalid.ErrMsg)) << "one balloon for the whole program";
    MoveInto(m_plain);
    EXPECT_FALSE(TErrorBalloon::Instance()->IsShown());
}

TEST_F(BalloonTest, OpensWhenTheErrorArisesUnderThePointerAndClosesWhenCleared) {
    MoveInto(m_first);
    EXPECT_FALSE(TErrorBalloon::Instance()->IsShown());
    m_first->SetError(cMissing);
    EXPECT_TRUE(BalloonShows(m_first, cMissing.ErrMsg));
    // An error set on a panel elsewhere leaves this balloon alone.
    m_second->SetError(cInvalid);
    m_second->ClearError();
    EXPECT_TRUE(BalloonShows(m_first, cMissing.ErrMsg));
    m_first->ClearError();
    EXPECT_FALSE(TErrorBalloon::Instance()->IsShown());
}

TEST_F(BalloonTest, HiddenKindsAndFreedPanelsTakeTheBalloonAway) {
    m_first->SetError(cMissing);
    MoveInto(m_first);
    ASSERT_TRUE(BalloonShows(m_first, cMissing.ErrMsg));
    ExcludeShownErrorType(etRequire);
    EXPECT_FALSE(TErrorBalloon::Instance()->IsShown());
    IncludeShownErrorType(etRequire);
    EXPECT_TRUE(BalloonShows(m_first, cMissing.ErrMsg));
    delete m_first;
    m_first = nullptr;
    EXPECT_FALSE(TErrorBalloon::Instance()->IsShown());
    EXPECT_EQ(TErrorBalloon::Instance()->Owner(), nullptr);
}

} // namespace
