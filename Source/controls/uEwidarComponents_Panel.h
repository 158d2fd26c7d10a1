#pragma once
// The field panel: shows and edits one field of a record. From top to bottom it holds
// the field's caption, the editor that suits the field's kind (edit, date, memo, check
// box, combo box, or the check boxes / radio buttons placed in it by its frame) and
// shows the field's error by colour and by the program's error balloon. It binds itself
// to the record's data field by symbol, knows whether the value changed, runs the
// field's validation rule on every change and writes the value back on Post.
//
// The same class is the container of a record section: its header (THeader) shows the
// section title and links, and it draws a thin grey frame. Containers add their content
// to Layout(), below the header strip.
//
// Every value travels as text (see Value()).

#include "TFrame.h"
#include "uEwidarComponents_Error.h"
#include "uEwidarComponents_Header.h"
#include "uEwidarQuorDBIntf.h"
#include "uEwidarQuorDBSymbole.h"

#include <QFrame>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QVBoxLayout;
class TCheckBox;
class TDateTimePicker;
class TEdit;
class TLabel;
class TRadioButton;
class TPanel;

enum TDynamicIconAction { diaEdit, diaDelete };

// Sender is the panel.
using TPanelEvent = std::function<void(TPanel* Sender)>;
// Sender is the clicked image, Owner the panel.
using TDynamicIconOnClick = std::function<void(QObject* Sender, TPanel* Owner, TDynamicIconAction Action)>;
// A validation rule: a plain procedure that reads the panel (and its related panels)
// and sets or clears errors.
using TOnValidate = void (*)(TPanel* Sender);
// Opens the word dictionary of a field for the panel, its current value and its word
// list; returns the chosen word, or an empty text when nothing was chosen.
using TFieldDictionaryHandler =
    std::function<QString(TPanel* Field, const QString& Value, ISlownikField* Words)>;

class TPanel : public QFrame, public IFramePanel {
    Q_OBJECT
public:
    explicit TPanel(QWidget* Parent = nullptr);
    ~TPanel() override;

    // Every live panel, in order of creation.
    static const QList<TPanel*>& AllPanels();
    // Writes every live panel's error again (after the shown kinds changed).
    static void ReapplyAllErrors();
    // The word dictionary window installs itself here; without a handler Ctrl+Enter
    // does nothing.
    static void SetFieldDictionaryHandler(TFieldDictionaryHandler Handler);
    static const TFieldDictionaryHandler& FieldDictionaryHandler();

    // --- descriptor and editor
    const TInternalFieldRecord& Field() const { return FInternalFieldRecord; }
    // Stores the descriptor and builds the editor from its caption and kind.
    void SetField(const TInternalFieldRecord& Field);
    // The kind actually built (ctStandard while nothing is built).
    TFieldType ComponentType() const { return FComponentType; }
    // The caption the editor was built with.
    QString Caption() const { return FCaption; }
    bool ReadOnly() const { return FReadOnly; }
    // Rebuilds the editor with the current caption, kind and data field.
    void SetReadOnly(bool Value);

    // --- binding
    TIntfPtr<IDataField> DataField() const { return FDataField; }
    // Loads the field's value (an empty editor for none); the value becomes the start value.
    void SetDataField(const TIntfPtr<IDataField>& DataField);
    // Binds the data field of the descriptor's symbol; none when the symbol is empty.
    void SetDataFields(const TIntfPtr<IDataFields>& DataFields);
    TIntfPtr<ISlownikField> Slownik() const { return FSlownik; }
    // Takes the word list of the descriptor's symbol from the dictionary.
    void SetSlownik(const TIntfPtr<ISlownik>& Slownik);
    TIntfPtr<IDynamicField> DynamicField() const { return FDynamicField; }
    // Stores the user-defined field and creates its two icons anew.
    void SetDynamicField(const TIntfPtr<IDynamicField>& DynamicField);
    void SetDynamicIconOnClick(TDynamicIconOnClick Handler) { FDynamicIconOnClick = std::move(Handler); }
    // The two user-defined field icons (0 delete, 1 edit), or nullptr.
    QLabel* DynamicIcon(int Index) const;

    // --- value
    QString Value() const;
    void SetValue(const QString& Value);
    bool Modified() const;
    QString StartValue() const { return FStartValue; }
    // Writes caption, value and kind name into the data field, adds the value to the
    // word list (edits and memos) and makes it the start value.
    void Post();

    // --- error
    const TError& Error() const { return FError; }
    void SetError(const TError& Error);
    void ClearError() { SetError(TError()); }
    // Whether the current error is displayed (colour and balloon).
    bool ErrorShown() const { return FErrorShown; }
    // The colour the error display gave the editor or the panel.
    QColor ErrorDisplayColor() const { return FErrorDisplayColor; }
    bool ControlShowError() const { return FControlShowError; }

    // --- events
    const TPanelEvent& OnChange() const { return FOnChange; }
    void SetOnChange(TPanelEvent Handler) { FOnChange = std::move(Handler); }
    TOnValidate OnValidate() const { return FOnValidate; }
    void SetOnValidate(TOnValidate Rule) { FOnValidate = Rule; }
    const TPanelEvent& OnIconClick() const { return FOnIconClick; }
    void SetOnIconClick(TPanelEvent Handler) { FOnIconClick = std::move(Handler); }

    // --- caption icon
    QPixmap Icon() const { return FIcon; }
    void SetIcon(const QPixmap& Icon);
    QString IconHint() const { return FIconHint; }
    // Stores the text followed by " (Shift + Enter)"; an empty text stays empty.
    void SetIconHint(const QString& Hint);
    // The area of the caption icon in panel coordinates (empty without an icon).
    QRect IconArea() const;

    // --- combo box
    QStringList ComboBoxItems() const;
    const QStringList& ComboBoxSymbols() const { return FComboBoxSymbols; }
    void AddComboBoxSymbolItem(const QString& Symbol, const QString& Caption);
    void AddComboBoxSymbolItem(const TComboBoxSymbolItemRecord& Item);

    // --- parts
    TEdit* Edit() const { return FEdit; }
    QComboBox* ComboBox() const { return FComboBox; }
    TDateTimePicker* DateTimePicker() const { return FDateTimePicker; }
    QPlainTextEdit* Memo() const { return FMemo; }
    TCheckBox* CheckBox() const { return FCheckBox; }
    QLabel* CaptionLabel() const { return FCaptionLabel; }
    TLabel* ReadOnlyLabel() const { return FReadOnlyLabel; }
    // The check boxes (check-box group) or radio buttons (radio group) of the panel.
    QList<TCheckBox*> GroupCheckBoxes() const;
    QList<TRadioButton*> GroupRadioButtons() const;
    // The layout that holds the header strip, caption and editor; containers add to it.
    QVBoxLayout* Layout() const { return FLayout; }

    // --- frame and look
    bool BorderBottom() const { return FBorderBottom; }
    bool BorderLeft() const { return FBorderLeft; }
    bool BorderRight() const { return FBorderRight; }
    void SetBorderBottom(bool Value);
    void SetBorderLeft(bool Value);
    void SetBorderRight(bool Value);
    bool CaptionVisible() const { return FCaptionVisible; }
    void SetCaptionVisible(bool Value);
    // Creates the caption label when missing and sets its text.
    void SetFieldCaption(const QString& Caption);
    // The caption label's text, empty without one.
    QString Description() const;
    THeader* Header() const { return FHeader; }
    // The nearest enclosing system frame (searched until found, then kept).
    TFrame* OwnerFrame();
    // Moves the panel into another frame's panel list.
    void SetOwnerFrame(TFrame* Frame);
    // Related panels of the validation rule, in the order the rule expects.
    QList<QPointer<TPanel>>& ValidateRefCompoments() { return FValidateRefCompoments; }
    void SetValidateRefCompoments(const QList<TPanel*>& Panels);
    // The related panel at Index, nullptr when the list is shorter or the panel is gone.
    TPanel* ValidateRef(int Index) const;
    bool ModifyCaseSensitive() const { return FModifyCaseSensitive; }
    void SetModifyCaseSensitive(bool Value) { FModifyCaseSensitive = Value; }
    bool UseExistingControl() const { return FUseExistingControl; }
    void SetUseExistingControl(bool Value) { FUseExistingControl = Value; }
    // The panel takes the button-strip colour instead of its parent's background.
    void SetButtonsColor();
    bool UsesButtonsColor() const { return FButtonsColor; }

    TIntfPtr<IDataField> FramePanelDataField() const override { return FDataField; }

protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    void enterEvent(QEnterEvent* Event) override;
    void leaveEvent(QEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    friend class THeader;

    // Building the editor (uEwidarComponents_PanelBuild.cpp).
    void BuildEditor(const QString& Caption, TFieldType Kind, const TIntfPtr<IDataField>& DataField);
    void FreeEditor();
    void CreateEditor();
    void CreateTextEditor();
    void CreateDateEditor();
    void CreateMemoEditor();
    void CreateCheckBoxEditor();
    void CreateComboEditor();
    void WireGroupChildren();
    TLabel* NewReadOnlyLabel(bool Fill);
    void BindLoadedField(const TIntfPtr<IDataField>& DataField);
    void InsertTop(QWidget* Widget, int Stretch = 0);
    int TopIndex() const;
    void UpdateMargins();

    // Values (uEwidarComponents_PanelValue.cpp).
    QString ReadOnlyShownText(const QString& Value) const;
    void ShowReadOnlyText();
    QString ComboValue() const;
    void SetComboValue(const QString& Value);
    QString DateValue() const;
    void SetDateValue(const QString& Value);
    QString CheckBoxGroupValue() const;
    void SetCheckBoxGroupValue(const QString& Value);
    QString RadioGroupValue() const;
    void SetRadioGroupValue(const QString& Value);
    void ClearEditorValue();
    // Shows a stored value on an emptied editor (binding a data field).
    void LoadValue(const QString& Value);

    // Changes and errors (uEwidarComponents_PanelError.cpp).
    void EditorChanged();
    void RadioChanged(TRadioButton* Sender);
    void UpdateMemoScrollBar();
    bool IsErrorShown();
    void ApplyErrorColor(const QColor& Color);
    void HookEditFocus();
    bool MouseInside() const;

    // Icons and dictionary (uEwidarComponents_PanelIcons.cpp).
    void CreateDynamicIcons();
    void FreeDynamicIcons();
    void PlaceDynamicIcons();
    void UpdateDictionaryIcon();
    void DictionaryClick();
    void IconClick();
    bool CaptionMouseEvent(QWidget* Source, QMouseEvent* Event);
    void FocusEditor();
    // The edit, date picker, memo or combo box of the panel, whichever it has; nullptr for the others.
    QWidget* ValueEditor() const;

    void RegisterInOwnerFrame();
    // Places the header strip and adjusts the margins after the header changed.
    void HeaderChanged();
    void ApplyPanelBackground();

    TIntfPtr<IDataField> FDataField;
    TIntfPtr<ISlownikField> FSlownik;
    QPointer<TFrame> FOwnerFrame;
    TError FError;
    bool FControlShowError = false;
    QString FStartValue;
    QString FCaption;
    QString FIconHint;
    THeader* FHeader;
    bool FReadOnly = false;
    TFieldType FComponentType = ctStandard;
    QLabel* FCaptionLabel = nullptr;
    TLabel* FReadOnlyLabel = nullptr;
    QFrame* FBevel = nullptr;
    TEdit* FEdit = nullptr;
    TDateTimePicker* FDateTimePicker = nullptr;
    QPlainTextEdit* FMemo = nullptr;
    TCheckBox* FCheckBox = nullptr;
    QComboBox* FComboBox = nullptr;
    TPanelEvent FOnChange;
    bool FBorderBottom = true;
    bool FBorderLeft = true;
    bool FBorderRight = true;
    QPixmap FIcon;
    TPanelEvent FOnIconClick;
    TOnValidate FOnValidate = nullptr;
    QList<QPointer<TPanel>> FValidateRefCompoments;
    TIntfPtr<IDynamicField> FDynamicField;
    QLabel* FDynamicIcon1 = nullptr;
    QLabel* FDynamicIcon2 = nullptr;
    TDynamicIconOnClick FDynamicIconOnClick;
    bool FCaptionVisible = true;
    TInternalFieldRecord FInternalFieldRecord;
    bool FModifyCaseSensitive = true;
    QStringList FComboBoxSymbols;
    bool FUseExistingControl = false;

    // Added state: the layout, the full text behind a read-only label, the combo items
    // kept across rebuilds, the last value reported as a change, the error display.
    QVBoxLayout* FLayout;
    QString FReadOnlyValue;
    QStringList FComboBoxItemsKept;
    std::optional<QString> FLastReportedValue;
    bool FFieldMargins = false;
    bool FButtonsColor = false;
    bool FErrorShown = false;
    QColor FErrorDisplayColor;
    bool FEditFocusHooked = false;
    // Set while the panel changes several controls in a row; their changes are
    // reported once at the end.
    bool FUpdating = false;
    bool FOwnEnabled = true;
};
