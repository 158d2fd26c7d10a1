#include "uFieldDictionary.h"

#include "TEdit.h"
#include "uDictionaryButtons.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uListPictures.h"
#include "uStrings.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kFilterInterval = 250;
constexpr int kWordFormWidth = 396;

QToolButton* ToolButton(QWidget* Parent, const char* Name, const QString& Caption, const QPixmap& Glyph,
                        const QString& Hint) {
    auto* button = new QToolButton(Parent);
    button->setObjectName(QString::fromLatin1(Name));
    button->setText(Caption);
    button->setIcon(Glyph);
    button->setToolTip(Hint);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

} // namespace

TFieldDictionary::TFieldDictionary(QWidget* Field, ISlownikField* Words, const QString& Value)
    : TForm(Field ? Field->window() : nullptr, Field ? Field->window() : nullptr), FField(Field),
      FSlownik(Words) {
    setObjectName(QStringLiteral("FieldDictionary"));
    setWindowTitle(QStringLiteral("Wybór ze słownika"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(531, 344);

    auto* top = new QWidget(this);
    btnAdd = ToolButton(top, "btnAdd", QStringLiteral("Dodaj"), ListPictures::AddGlyph(),
                        QStringLiteral("Dodaj wartość do słownika (Ctrl+D)"));
    btnEdit = ToolButton(top, "btnEdit", QStringLiteral("Edytuj"), ListPictures::EditGlyph(),
                         QStringLiteral("Edytuj wartość ze słownika (Ctrl+E)"));
    btnDelete = ToolButton(top, "btnDelete", QStringLiteral("Usuń"), ListPictures::DeleteGlyph(),
                           QStringLiteral("Usuń wartość do słownika (Ctrl+U)"));
    edtfilter = DictionaryButtons::FilterBox(top, "edtfilter");
    edtfilter->installEventFilter(this);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(4, 4, 4, 4);
    topLayout->addWidget(btnAdd);
    topLayout->addWidget(btnEdit);
    topLayout->addWidget(btnDelete);
    topLayout->addWidget(edtfilter, 1);

    DrawGrid1 = DictionaryButtons::ListGrid(this, [this] { btnPostClick(); });

    pnlButtons = DictionaryButtons::ButtonStrip(this, QStringLiteral("Wybierz"), btnPost, btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(DrawGrid1, 1);
    layout->addWidget(pnlButtons);

    Timer1 = DictionaryButtons::FilterTimer(this, "Timer1", kFilterInterval);
    connect(Timer1, &QTimer::timeout, this, &TFieldDictionary::FillWords);

    connect(btnAdd, &QToolButton::clicked, this, &TFieldDictionary::btnAddClick);
    connect(btnEdit, &QToolButton::clicked, this, &TFieldDictionary::btnEditClick);
    connect(btnDelete, &QToolButton::clicked, this, &TFieldDictionary::btnDeleteClick);
    connect(btnPost, &QPushButton::clicked, this, &TFieldDictionary::btnPostClick);
    const auto shortcut = [this](QKeySequence Keys, void (TFieldDictionary::*Slot)()) {
        connect(new QShortcut(Keys, this), &QShortcut::activated, this, Slot);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_D), &TFieldDictionary::btnAddClick);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_E), &TFieldDictionary::btnEditClick);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_U), &TFieldDictionary::btnDeleteClick);

    edtfilter->setText(Value);
    FillWords();
    // Attached after the first filling: the field's value does not start the timer.
    connect(edtfilter, &QLineEdit::textChanged, this, [this] {
        Timer1->stop();
        Timer1->start();
    });
}

void TFieldDictionary::showEvent(QShowEvent* Event) {
    TForm::showEvent(Event);
    if (!m_placed && FField) {
        m_placed = true;
        // Under the field: its bottom-left corner on the screen.
        move(FField->mapToGlobal(QPoint(0, FField->height())));
    }
    // After the window's own focus handling: the caret after the text, nothing selected.
    QTimer::singleShot(0, this, [this] {
        edtfilter->setFocus();
        edtfilter->deselect();
        edtfilter->setCursorPosition(int(edtfilter->text().size()));
    });
}

void TFieldDictionary::FillWords() {
    Timer1->stop();
    const int remembered = DrawGrid1->Row();
    const QString filter = edtfilter->text();
    const QString upperFilter = filter.toUpper();
    const bool filtered = !filter.trimmed().isEmpty();
    const int32_t count = FSlownik ? std::max(FSlownik->GetCount(), 0) : 0;
    btnEdit->setEnabled(count > 0);
    btnDelete->setEnabled(count > 0);

    QStringList rows = {QStringLiteral("Lista słów")};
    int current = -1;
    for (int32_t i = 0; i < count; ++i) {
        const QString word = toQ(FSlownik->GetWord(i));
        if (word.trimmed().isEmpty())
            continue;
        if (filtered && !word.toUpper().contains(upperFilter))
            continue;
        if (current < 0 && filtered && word.contains(filter))
            current = int(rows.size());
        rows.append(word);
    }
    // The grid keeps one data row below its title; no word shows it blank.
    if (rows.size() == 1)
        rows.append(QString());
    const int rowCount = int(rows.size());
    DrawGrid1->Clear();
    DrawGrid1->SetColCount(1);
    DrawGrid1->SetRowCount(rowCount);
    DrawGrid1->SetFixedRows(1);
    for (int r = 0; r < rowCount; ++r)
        DrawGrid1->SetCells(0, r, rows.at(r));
    DrawGrid1->SetWidthColumns();
    if (remembered >= 1 && remembered < rowCount)
        current = remembered;
    DrawGrid1->SetRow(current >= 1 ? current : 1);
}

QString TFieldDictionary::CurrentWord() const {
    return DrawGrid1->Cells(0, DrawGrid1->Row());
}

bool TFieldDictionary::Contains(const QString& Word) const {
    const QString word = Word.trimmed();
    const int32_t count = std::max(FSlownik->GetCount(), 0);
    for (int32_t i = 0; i < count; ++i)
        if (toQ(FSlownik->GetWord(i)).trimmed() == word)
            return true;
    return false;
}

void TFieldDictionary::btnAddClick() {
    const QString word = EditDictionaryWord(this, QString()).trimmed();
    // A word already in the list is not added a second time.
    if (word.isEmpty() || !FSlownik || Contains(word))
        return;
    FSlownik->AddWord(toU16(word));
    FillWords();
}

void TFieldDictionary::btnEditClick() {
    const QString old = CurrentWord();
    // The empty row of an empty or wholly filtered list holds no word to change.
    if (old.trimmed().isEmpty() || !FSlownik)
        return;
    const QString word = EditDictionaryWord(this, old).trimmed();
    if (word.isEmpty() || word == old)
        return;
    // Changed into a word the list already has: the list keeps that word once.
    if (Contains(word))
        FSlownik->DeleteWord(toU16(old));
    else
        FSlownik->ChangeWord(toU16(old), toU16(word));
    FillWords();
}

void TFieldDictionary::btnDeleteClick() {
    const QString word = CurrentWord();
    if (word.isEmpty() || !FSlownik)
        return;
    FSlownik->DeleteWord(toU16(word));
    FillWords();
}

void TFieldDictionary::btnPostClick() {
    FResultWord = CurrentWord();
    accept();
}

bool TFieldDictionary::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == edtfilter)
        return DictionaryButtons::FilterBoxKey(edtfilter, Event, DrawGrid1, m_caret);
    return TForm::eventFilter(Watched, Event);
}

TAddEditDictionaryWordForm::TAddEditDictionaryWordForm(QWidget* Owner, const QString& Value)
    : TForm(Owner, Owner) {
    setObjectName(QStringLiteral("AddEditDictionaryWordForm"));
    setWindowTitle(QStringLiteral("Pole słownika"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Panel1 = new TPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->SetField(
        TInternalFieldRecord::Create(QString(), QStringLiteral("Wartość pola słownika"), ctEdit));
    Panel1->SetValue(Value);

    pnlButtons = DictionaryButtons::ButtonStrip(this, QStringLiteral("Zapisz"), btnPost, btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(Panel1, 0, Qt::AlignHCenter);
    layout->addWidget(pnlButtons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    pnlButtons->setFixedWidth(kWordFormWidth);
    Panel1->setFixedWidth(kWordFormWidth - 16);

    connect(btnPost, &QPushButton::clicked, this, &TAddEditDictionaryWordForm::btnPostClick);
}

void TAddEditDictionaryWordForm::btnPostClick() {
    FValue = Panel1->Value();
    accept();
}

QString ShowFieldDictionary(QWidget* Field, const QString& Value, ISlownikField* Words) {
    if (!Field || !Words)
        return QString();
    TFieldDictionary form(Field, Words, Value);
    form.exec();
    return form.ResultWord();
}

QString EditDictionaryWord(QWidget* Owner, const QString& Value) {
    TAddEditDictionaryWordForm form(Owner, Value);
    form.exec();
    return form.Value();
}
