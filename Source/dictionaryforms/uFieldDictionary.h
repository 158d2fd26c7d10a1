#pragma once
// The word dictionary of a field: a modal window under the field panel that lists the
// field's remembered words filtered by what is typed, lets the operator pick one and
// add, change and delete words on the way; and the small window that edits one word.

#include "TForm.h"
#include "uDictionaryButtons.h"
#include "uEwidarQuorDBIntf.h"

class QPushButton;
class QFrame;
class QTimer;
class QToolButton;
class TDrawGrid;
class TEdit;
class TPanel;

class TFieldDictionary : public TForm {
    Q_OBJECT
public:
    // Field: the panel that opens the window (placing it under the field); Words: the
    // list shown and edited; Value: the first filter text.
    TFieldDictionary(QWidget* Field, ISlownikField* Words, const QString& Value);

    // Refills the grid from the list by the filter text.
    void FillWords();
    QString ResultWord() const { return FResultWord; }

    void btnAddClick();
    void btnEditClick();
    void btnDeleteClick();
    void btnPostClick();

    QToolButton* btnAdd;
    QToolButton* btnEdit;
    QToolButton* btnDelete;
    TEdit* edtfilter;
    TDrawGrid* DrawGrid1;
    QFrame* pnlButtons;
    QPushButton* btnPost;
    QPushButton* btnClose;
    QTimer* Timer1;

protected:
    void showEvent(QShowEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    QString CurrentWord() const;
    // The list's words trimmed, to test whether one is already present.
    bool Contains(const QString& Word) const;

    QWidget* FField;
    TIntfPtr<ISlownikField> FSlownik;
    QString FResultWord;
    // FSelPos, FSelLength: the filter edit's caret saved during a navigation key.
    DictionaryButtons::TSavedCaret m_caret;
    bool m_placed = false;
};

// The window that edits one word of a word dictionary.
class TAddEditDictionaryWordForm : public TForm {
    Q_OBJECT
public:
    TAddEditDictionaryWordForm(QWidget* Owner, const QString& Value);
    QString Value() const { return FValue; }

    TPanel* Panel1;
    QFrame* pnlButtons;
    QPushButton* btnPost;
    QPushButton* btnClose;

private:
    void btnPostClick();
    QString FValue;
};

// Opens the word dictionary for a field panel; returns the chosen word, or an empty
// text when nothing was chosen (or the panel or the list is missing).
QString ShowFieldDictionary(QWidget* Field, const QString& Value, ISlownikField* Words);
// Edits one word; returns the accepted text, empty when cancelled.
QString EditDictionaryWord(QWidget* Owner, const QString& Value);
