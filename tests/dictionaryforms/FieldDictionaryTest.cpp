// The word dictionary of a field over a word list that records its calls, and the
// window that edits one word.

#include "TEdit.h"
#include "TestSupport.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uFieldDictionary.h"
#include "uInstallWindows.h"

#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class TWordList : public TInterfacedObject<ISlownikField> {
public:
    explicit TWordList(QStringList Words) : Words(std::move(Words)) {}
    int32_t GetCount() override { return int32_t(Words.size()); }
    std::u16string GetWord(int32_t Index) override { return Words.value(Index).toStdU16String(); }
    void AddWord(const std::u16string& Word) override {
        Calls.append("add " + QString::fromStdU16String(Word));
        Words.append(QString::fromStdU16String(Word));
    }
    void DeleteWord(const std::u16string& Word) override {
        Calls.append("delete " + QString::fromStdU16String(Word));
        Words.removeAll(QString::fromStdU16String(Word));
    }
    void ChangeWord(const std::u16string& Old, const std::u16string& New) override {
        Calls.append("change " + QString::fromStdU16String(Old) + " > " + QString::fromStdU16String(New));
        Words.replaceInStrings(QString::fromStdU16String(Old), QString::fromStdU16String(New));
    }
    QStringList Words;
    QStringList Calls;
};

class FieldDictionaryTest : public ::testing::Test {
protected:
    TIntfPtr<TWordList> list{new TWordList({"Kraków", "KRAKÓW Nowa Huta", "  ", "", "Gdańsk", "Warszawa"})};
    QWidget field;

    static QStringList Shown(const TFieldDictionary& Form) {
        QStringList words;
        for (int r = 1; r < Form.DrawGrid1->RowCount(); ++r)
            words.append(Form.DrawGrid1->Cells(0, r));
        return words;
    }
    static void Filter(TFieldDictionary& Form, const QString& Text) {
        Form.edtfilter->setText(Text);
        QTest::qWait(350);
    }
    // Answers the next word window with Text ("Zapisz") or cancels it (no text).
    static void AnswerWordWindow(std::optional<QString> Text) {
        TestSupport::WhenModal([Text](QWidget* w) {
            auto* form = qobject_cast<TAddEditDictionaryWordForm*>(w);
            ASSERT_NE(form, nullptr);
            if (!Text) {
                form->btnClose->click();
                return;
            }
            form->Panel1->SetValue(*Text);
            form->btnPost->click();
        });
    }
};

TEST_F(FieldDictionaryTest, FilteringIgnoresCaseAndBlankWordsWhileTheCurrentRowIsFoundExactly) {
    TFieldDictionary form(&field, list.get(), QStringLiteral("KRAKÓW"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Wybór ze słownika"));
    EXPECT_EQ(Shown(form), QStringList({"Kraków", "KRAKÓW Nowa Huta"}));
    EXPECT_EQ(form.DrawGrid1->Row(), 2); // only this one contains "KRAKÓW" as typed
    form.DrawGrid1->SetRow(1);
    Filter(form, QStringLiteral("   "));
    EXPECT_EQ(Shown(form), QStringList({"Kraków", "KRAKÓW Nowa Huta", "Gdańsk", "Warszawa"}));
    EXPECT_EQ(form.DrawGrid1->Row(), 1); // the remembered row wins
}

TEST_F(FieldDictionaryTest, NoMatchingWordShowsOneEmptyRowAndChoosesNothing) {
    TFieldDictionary form(&field, list.get(), QStringLiteral("Poznań"));
    EXPECT_EQ(form.DrawGrid1->RowCount(), 2);
    EXPECT_EQ(Shown(form), QStringList({""}));
    // Editing and deleting stay possible: the list itself is not empty.
    EXPECT_TRUE(form.btnEdit->isEnabled());
    EXPECT_TRUE(form.btnDelete->isEnabled());
    form.btnDeleteClick();
    form.btnEditClick(); // would open the word window; nothing to edit on the empty row
    EXPECT_TRUE(list->Calls.isEmpty());
    form.btnPostClick();
    EXPECT_EQ(form.ResultWord(), QString());
}

TEST_F(FieldDictionaryTest, AnEmptyListDisablesEditAndDelete) {
    TIntfPtr<TWordList> empty(new TWordList({" "}));
    TFieldDictionary form(&field, empty.get(), QString());
    EXPECT_TRUE(form.btnEdit->isEnabled()); // a blank word still counts
    empty->Words.clear();
    form.FillWords();
    EXPECT_FALSE(form.btnEdit->isEnabled());
    EXPECT_FALSE(form.btnDelete->isEnabled());
}

TEST_F(FieldDictionaryTest, AddEditDeleteGoStraightToTheListAndNeverDuplicate) {
    TFieldDictionary form(&field, list.get(), QString());
    AnswerWordWindow(QStringLiteral(" Poznań "));
    form.btnAddClick();
    AnswerWordWindow(QStringLiteral("Gdańsk")); // already there
    form.btnAddClick();
    AnswerWordWindow(std::nullopt);
    form.btnAddClick();
    EXPECT_EQ(list->Calls, QStringList({"add Poznań"}));

    form.DrawGrid1->SetRow(3);      // Gdańsk
    AnswerWordWindow(std::nullopt); // a cancelled word window changes nothing
    form.btnEditClick();
    AnswerWordWindow(QStringLiteral("Gdynia"));
    form.btnEditClick();
    EXPECT_EQ(list->Calls.last(), QStringLiteral("change Gdańsk > Gdynia"));
    form.DrawGrid1->SetRow(3);                    // Gdynia
    AnswerWordWindow(QStringLiteral("Warszawa")); // renamed into a word the list has
    form.btnEditClick();
    EXPECT_EQ(list->Calls.last(), QStringLiteral("delete Gdynia"));
    EXPECT_EQ(list->Words.count(QStringLiteral("Warszawa")), 1);

    form.DrawGrid1->SetRow(1);
    form.btnDeleteClick();
    EXPECT_EQ(list->Calls.last(), QStringLiteral("delete Kraków"));
    EXPECT_EQ(Shown(form), QStringList({"KRAKÓW Nowa Huta", "Warszawa", "Poznań"}));
}

TEST_F(FieldDictionaryTest, HomeAndEndMoveTheGridNotTheCaret) {
    TFieldDictionary form(&field, list.get(), QString());
    form.show();
    form.edtfilter->setText(QStringLiteral("a"));
    QTest::qWait(350);
    form.edtfilter->setCursorPosition(0);
    QTest::keyClick(form.edtfilter, Qt::Key_End);
    EXPECT_EQ(form.DrawGrid1->Row(), form.DrawGrid1->RowCount() - 1);
    EXPECT_EQ(form.edtfilter->cursorPosition(), 0);
    QTest::keyClick(form.edtfilter, Qt::Key_Home);
    EXPECT_EQ(form.DrawGrid1->Row(), 1);
    QTest::keyClick(form.edtfilter, Qt::Key_End);
    QTest::keyClick(form.edtfilter, Qt::Key_Left); // any other key acts normally
    EXPECT_EQ(form.edtfilter->cursorPosition(), 0);
}

TEST_F(FieldDictionaryTest, ThePanelTakesTheChosenWordThroughTheInstalledHandler) {
    InstallWindows();
    TPanel panel;
    panel.SetField(TInternalFieldRecord::Create(QStringLiteral("cX"), QStringLiteral("Miasto:"), ctEdit));
    panel.SetValue(QStringLiteral("gdań"));
    TestSupport::WhenModal([](QWidget* w) {
        auto* form = qobject_cast<TFieldDictionary*>(w);
        ASSERT_NE(form, nullptr);
        QTest::keyClick(form->edtfilter, Qt::Key_Return);
    });
    const QString word = TPanel::FieldDictionaryHandler()(&panel, panel.Value(), list.get());
    EXPECT_EQ(word, QStringLiteral("Gdańsk"));
    ResetWindows();
    EXPECT_FALSE(TPanel::FieldDictionaryHandler());
    EXPECT_EQ(ShowFieldDictionary(nullptr, QString(), list.get()), QString());
    EXPECT_EQ(ShowFieldDictionary(&panel, QString(), nullptr), QString());
}

} // namespace
