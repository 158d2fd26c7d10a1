// Field panel: header strip and links, borders, the caption icon, the word dictionary
// seam, user-defined field icons, enabling, and a picture of every kind.

#include "FakeFields.h"
#include "PanelFixture.h"
#include "TEdit.h"
#include "TLabel.h"

#include <QComboBox>
#include <QImage>
#include <QLayout>

namespace {

using LookTest = PanelFixture;

QPixmap Square(int Size = 16) {
    QPixmap p(Size, Size);
    p.fill(Qt::darkGreen);
    return p;
}

void ProcessDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(LookTest, HeaderStripComesWithATitleOrALinkAndGoesWithTheLast) {
    auto* panel = new TPanel(m_window.get());
    m_layout->addWidget(panel);
    ShowWindow();
    THeader* header = panel->Header();
    EXPECT_FALSE(header->HasStrip());
    EXPECT_EQ(panel->Layout()->contentsMargins(), QMargins(0, 0, 0, 0));

    header->SetCaptionLabel(QStringLiteral("Dane podstawowe"));
    ASSERT_TRUE(header->HasStrip());
    EXPECT_EQ(header->Strip()->geometry(), QRect(0, 0, panel->width(), 18));
    auto* title = header->Strip()->findChild<TLabel*>(QStringLiteral("lblHeaderCaption"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->pos(), QPoint(5, 1));
    EXPECT_EQ(panel->Layout()->contentsMargins(), QMargins(1, 18, 1, 1)) << "content stays inside the frame";

    header->SetCaptionLabel(QStringLiteral("Wiersz 1\r\nWiersz 2"));
    EXPECT_EQ(header->Strip()->height(), 34);
    EXPECT_EQ(header->CaptionLabel(), QStringLiteral("Wiersz 1\r\nWiersz 2"));

    header->SetDeleteLabel(QStringLiteral("Usuń"));
    header->SetCaptionLabel(QString());
    EXPECT_TRUE(header->HasStrip()) << "a link keeps the strip";
    EXPECT_EQ(header->Strip()->height(), 18);
    header->SetDeleteLabel(QString());
    EXPECT_FALSE(header->HasStrip());
    ProcessDeletes();
    EXPECT_EQ(panel->findChild<THeaderStrip*>(), nullptr);
    EXPECT_EQ(panel->Layout()->contentsMargins(), QMargins(0, 0, 0, 0));
}

TEST_F(LookTest, HeaderLinksSitAtTheRightAndRunTheirActions) {
    auto* panel = new TPanel(m_window.get());
    m_layout->addWidget(panel);
    THeader* header = panel->Header();
    int edits = 0;
    int deletes = 0;
    // Actions given before the links exist reach them when they are created.
    header->SetEditOnClick([&] { ++edits; });
    header->SetDeleteOnClick([&] { ++deletes; });
    header->SetEditLabel(QStringLiteral("Ustaw/zmień"));
    header->SetDeleteLabel(QStringLiteral("Usuń"));
    ShowWindow();
    auto* edit = header->Strip()->findChild<THeaderLink*>(QStringLiteral("lblHeaderEdit"));
    auto* del = header->Strip()->findChild<THeaderLink*>(QStringLiteral("lblHeaderDelete"));
    ASSERT_TRUE(edit && del);
    EXPECT_EQ(del->geometry().right() + 1, panel->width() - 5);
    EXPECT_LT(edit->geometry().right(), del->geometry().left());

    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::mouseClick(del, Qt::LeftButton);
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(deletes, 1);

    header->SetDeleteLabelEnabled(false);
    QTest::mouseClick(del, Qt::LeftButton);
    EXPECT_EQ(deletes, 1);
    EXPECT_FALSE(del->isEnabled());

    // Underlined under the pointer only while it has an action.
    QTest::mouseMove(edit, QPoint(2, 2));
    EXPECT_TRUE(edit->font().underline());
    header->SetEditOnClick(nullptr);
    EXPECT_FALSE(edit->font().underline());
    EXPECT_EQ(edit->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(LookTest, HiddenCaptionIsReadWithoutAStrip) {
    auto* panel = new TPanel(m_window.get());
    panel->Header()->SetHideCaption(QStringLiteral("Jan Kowalski"));
    EXPECT_EQ(panel->Header()->CaptionLabel(), QStringLiteral("Jan Kowalski"));
    EXPECT_FALSE(panel->Header()->HasStrip());
    panel->Header()->SetCaptionLabel(QStringLiteral("Podmiot"));
    EXPECT_EQ(panel->Header()->CaptionLabel(), QStringLiteral("Podmiot"));
}

TEST_F(LookTest, BordersAndButtonsColour) {
    auto* panel = new TPanel(m_window.get());
    m_layout->addWidget(panel);
    panel->Header()->SetCaptionLabel(QStringLiteral("Wspólnicy: "));
    panel->SetBorderLeft(false);
    panel->SetBorderRight(false);
    panel->SetBorderBottom(false);
    EXPECT_EQ(panel->Layout()->contentsMargins(), QMargins(0, 18, 0, 0));

    panel->SetButtonsColor();
    EXPECT_TRUE(panel->autoFillBackground());
    EXPECT_EQ(panel->palette().color(QPalette::Window), ButtonsColor());
}

TEST_F(LookTest, CaptionIconAnswersClicksAndShowsItsHint) {
    TPanel* panel = AddPanel(cDaneAdresoweKraj);
    TPanel* other = AddPanel(cDaneAdresowePowiat);
    int clicks = 0;
    panel->SetOnIconClick([&](TPanel* sender) { clicks += sender == panel; });
    panel->SetIcon(Square());
    panel->SetIconHint(QStringLiteral("Tablica krajów"));
    EXPECT_EQ(panel->IconHint(), QStringLiteral("Tablica krajów (Shift + Enter)"));
    ShowWindow();
    other->Edit()->setFocus();

    const int w = panel->width();
    EXPECT_EQ(panel->IconArea(), QRect(QPoint(w - 24, -1), QPoint(w - 1, 15)));
    QLabel* caption = panel->CaptionLabel();
    const QPoint onIcon = caption->mapFrom(panel, QPoint(w - 10, 5));
    QTest::mouseMove(caption, onIcon);
    EXPECT_EQ(caption->toolTip(), panel->IconHint());
    EXPECT_EQ(caption->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(caption, QPoint(3, 3));
    EXPECT_TRUE(caption->toolTip().isEmpty());
    EXPECT_EQ(caption->cursor().shape(), Qt::ArrowCursor);

    QTest::mouseClick(caption, Qt::LeftButton, {}, onIcon);
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(caption, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(panel->Edit()->hasFocus()) << "a press on the caption focuses the editor";

    QTest::keyClick(panel->Edit(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(clicks, 2);

    panel->SetIconHint(QString());
    EXPECT_TRUE(panel->IconHint().isEmpty());
    panel->setEnabled(false);
    EXPECT_TRUE(panel->IconArea().isEmpty());
    panel->setEnabled(true);
    panel->Header()->SetCaptionLabel(QStringLiteral("Nagłówek"));
    EXPECT_TRUE(panel->IconArea().isEmpty()) << "a panel with a strip has no caption icon";
}

TEST_F(LookTest, WordDictionaryIconAndCtrlEnter) {
    TPanel* panel = AddPanel(cDanePodmiotuNazwisko);
    TPanel* noWords = AddPanel(cDanePodmiotuPierwszeImie);
    TIntfPtr<TFakeSlownik> slownik(new TFakeSlownik);
    TIntfPtr<TFakeWordList> words(new TFakeWordList({QStringLiteral("Kowalski"), QStringLiteral("Nowak")}));
    TIntfPtr<TFakeWordList> empty(new TFakeWordList);
    slownik->m_lists.insert(cDanePodmiotuNazwisko.Symbol, words);
    slownik->m_lists.insert(cDanePodmiotuPierwszeImie.Symbol, empty);
    panel->SetSlownik(TIntfPtr<ISlownik>(slownik.get()));
    noWords->SetSlownik(TIntfPtr<ISlownik>(slownik.get()));

    EXPECT_FALSE(panel->Edit()->Icon().isNull());
    EXPECT_TRUE(panel->Edit()->ShowIconOnlyWhenFocused());
    EXPECT_EQ(panel->Edit()->IconHint(), QStringLiteral("Wybór ze słownika (Ctrl + Enter)"));
    EXPECT_TRUE(noWords->Edit()->Icon().isNull());
    EXPECT_EQ(noWords->Slownik().get(), static_cast<ISlownikField*>(empty.get()));

    QList<std::tuple<TPanel*, QString, ISlownikField*>> calls;
    QString answer = QStringLiteral("Nowak");
    TPanel::SetFieldDictionaryHandler([&](TPanel* field, const QString& value, ISlownikField* list) {
        calls.append({field, value, list});
        return answer;
    });
    panel->SetValue(QStringLiteral("No"));
    QTest::keyClick(panel->Edit(), Qt::Key_Return, Qt::ControlModifier);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0],
              std::make_tuple(panel, QStringLiteral("No"), static_cast<ISlownikField*>(words.get())));
    EXPECT_EQ(panel->Value(), QStringLiteral("Nowak"));

    answer.clear();
    QTest::keyClick(panel->Edit(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(panel->Value(), QStringLiteral("Nowak")) << "nothing chosen leaves the value";
    QTest::keyClick(noWords->Edit(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(calls.size(), 2) << "no words, no window";
    TPanel::SetFieldDictionaryHandler(nullptr);

    // The first remembered word brings the icon.
    noWords->SetValue(QStringLiteral("Jan"));
    noWords->Post();
    EXPECT_FALSE(noWords->Edit()->Icon().isNull());
    // A dictionary without a list for the symbol, or no dictionary, unbinds the list.
    noWords->SetSlownik(nullptr);
    EXPECT_FALSE(noWords->Slownik());
    EXPECT_TRUE(noWords->Edit()->Icon().isNull());
}

TEST_F(LookTest, UserDefinedFieldIcons) {
    TPanel* panel = AddPanel(Descriptor(QString(), QStringLiteral("Pole własne"), ctEdit));
    TPanel* check = AddPanel(Descriptor(QString(), QStringLiteral("Znacznik"), ctCheckBox));
    ShowWindow();
    QList<std::pair<QObject*, TDynamicIconAction>> clicks;
    const auto handler = [&](QObject* sender, TPanel*, TDynamicIconAction action) {
        clicks.append({sender, action});
    };
    TIntfPtr<TFakeDynamicField> definition(new TFakeDynamicField);
    panel->SetDynamicIconOnClick(handler);
    panel->SetDynamicField(TIntfPtr<IDynamicField>(definition.get()));
    check->SetDynamicField(TIntfPtr<IDynamicField>(definition.get()));

    QLabel* del = panel->DynamicIcon(0);
    QLabel* edit = panel->DynamicIcon(1);
    ASSERT_TRUE(del && edit);
    EXPECT_EQ(del->toolTip(), QStringLiteral("Usuń pole"));
    EXPECT_EQ(edit->toolTip(), QStringLiteral("Edytuj pole"));
    EXPECT_EQ(del->geometry(), QRect(panel->width() - 4 - 16, 0, 16, 16));
    EXPECT_EQ(edit->x(), panel->width() - 4 - 32);
    ASSERT_NE(check->DynamicIcon(0), nullptr);
    EXPECT_EQ(check->DynamicIcon(0)->parentWidget(), check->CheckBox());
    EXPECT_EQ(check->DynamicIcon(0)->x(), check->CheckBox()->width() + 1 - 16);

    QTest::mouseClick(del, Qt::LeftButton);
    QTest::mouseClick(edit, Qt::LeftButton);
    EXPECT_TRUE(clicks.isEmpty()) << "actions run after the click, from the event loop";
    QCoreApplication::processEvents();
    ASSERT_EQ(clicks.size(), 2);
    EXPECT_EQ(clicks[0], std::make_pair(static_cast<QObject*>(del), diaDelete));
    EXPECT_EQ(clicks[1], std::make_pair(static_cast<QObject*>(edit), diaEdit));

    panel->SetReadOnly(true);
    EXPECT_EQ(panel->DynamicIcon(0), nullptr);
    panel->SetReadOnly(false);
    EXPECT_NE(panel->DynamicIcon(0), nullptr) << "icons come back with the editable editor";
    panel->SetDynamicField(nullptr);
    EXPECT_EQ(panel->DynamicIcon(0), nullptr);
}

TEST_F(LookTest, EnablingIsPassedToDirectChildren) {
    TPanel* group =
        AddGroup<TCheckBox>(cDaneAdresoweTypAdresu, GroupFieldOptions(cDaneAdresoweTypAdresu.Symbol));
    const QList<TCheckBox*> boxes = group->GroupCheckBoxes();
    group->setEnabled(false);
    for (TCheckBox* box : boxes)
        EXPECT_TRUE(box->testAttribute(Qt::WA_ForceDisabled));
    group->setEnabled(true);
    for (TCheckBox* box : boxes)
        EXPECT_TRUE(box->isEnabled());

    // A read-only group stays read-only when an enclosing window is switched off and on.
    group->SetReadOnly(true);
    m_window->setEnabled(false);
    m_window->setEnabled(true);
    for (TCheckBox* box : boxes)
        EXPECT_FALSE(box->isEnabled());
}

TEST_F(LookTest, PictureOfEveryKind) {
    m_window->resize(460, 760);
    QPalette pal = m_window->palette();
    pal.setColor(QPalette::Window, Qt::white);
    m_window->setPalette(pal);
    auto* container = new TPanel(m_window.get());
    m_layout->addWidget(container);
    container->Header()->SetCaptionLabel(QStringLiteral("Dane podmiotu"));
    container->Header()->SetEditLabel(QStringLiteral("Ustaw/zmień"));
    container->Header()->SetDeleteLabel(QStringLiteral("Usuń"));
    const auto add = [&](const TInternalFieldRecord& field) {
        auto* panel = new TPanel(container);
        container->Layout()->addWidget(panel);
        for (const QString& option : GroupFieldOptions(field.Symbol)) {
            QWidget* button = field.FieldType == ctRadioGroup
                                  ? static_cast<QWidget*>(new TRadioButton(option, panel))
                                  : new TCheckBox(option, panel);
            panel->Layout()->addWidget(button);
        }
        panel->SetField(field);
        return panel;
    };
    TPanel* nazwisko = add(cDanePodmiotuNazwisko);
    TPanel* regon = add(cDanePodmiotuREGON);
    TPanel* data = add(cDanePodmiotuDataUrodzenia);
    TPanel* rodzaj = add(cDaneDokumentuTozsamosciRodzaj);
    TPanel* uwagi = add(cUwagi);
    TPanel* brak = add(cDanePodmiotuNiePosiadaNrPesel);
    TPanel* typ = add(cDaneAdresoweDzialanosciTypAdresu);
    TPanel* plec = add(cDanePodmiotuPlec);
    TPanel* firma = add(cDanePodmiotuNazwaFirmy);
    for (const TComboBoxSymbolItemRecord& item : IdentityDocumentItems())
        rodzaj->AddComboBoxSymbolItem(item);
    nazwisko->SetValue(QStringLiteral("Żółkiewska-Łęcka"));
    regon->SetValue(QStringLiteral("123456786"));
    data->SetValue(QStringLiteral("1990-01-01"));
    rodzaj->SetValue(QStringLiteral("PaszportPolski"));
    uwagi->SetValue(QStringLiteral("Klientka od 2015 roku, dokumenty dostarcza osobiście."));
    typ->SetValue(QStringLiteral("1,0,1"));
    plec->SetValue(QStringLiteral("0"));
    firma->SetReadOnly(true);
    firma->SetValue(
        QStringLiteral("Przedsiębiorstwo Handlowo-Usługowe „Żuraw” spółka z ograniczoną odpowiedzialnością"));
    nazwisko->SetIcon(Square());
    ShowWindow();
    brak->setFocus();
    regon->SetError(TError{etValidate, QStringLiteral("Nieprawidłowy numer REGON.")});
    typ->SetError(TError{etValidate, QStringLiteral("Zaznaczono jednocześnie ...")});
    QCoreApplication::processEvents();

    const QImage image = m_window->grab().toImage();
    ASSERT_TRUE(image.save(QStringLiteral("/tmp/ewidar_panels.png")));
    const QPoint inRegon = regon->Edit()->mapTo(m_window.get(), QPoint(regon->Edit()->width() - 6, 6));
    EXPECT_EQ(QColor(image.pixel(inRegon)), GetErrorColor(etValidate));
    const QPoint inNazwisko =
        nazwisko->Edit()->mapTo(m_window.get(), QPoint(nazwisko->Edit()->width() - 30, 6));
    EXPECT_EQ(QColor(image.pixel(inNazwisko)), QColor(Qt::white));
    const QPoint inStrip = container->mapTo(m_window.get(), QPoint(container->width() / 2, 8));
    EXPECT_EQ(QColor(image.pixel(inStrip)), ButtonsColor());
}

} // namespace
