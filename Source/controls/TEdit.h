#pragma once
// The system's text edit: an optional icon drawn inside its right end with a
// hint over the icon area, Ctrl+Enter for the dictionary action and Enter for
// the special (icon) action.

#include <QCursor>
#include <QLineEdit>
#include <QPixmap>

#include <functional>

class TEdit : public QLineEdit {
    Q_OBJECT
public:
    using TEditEvent = std::function<void(TEdit* Sender)>;

    explicit TEdit(QWidget* Parent = nullptr);

    const QPixmap& Icon() const { return FIcon; }
    void SetIcon(const QPixmap& Icon);
    const QString& IconHint() const { return FIconHint; }
    void SetIconHint(const QString& Hint) { FIconHint = Hint; }
    bool ShowIconOnlyWhenFocused() const { return FShowIconOnlyWhenFocused; }
    void SetShowIconOnlyWhenFocused(bool Value);
    void SetOnDictionaryClick(TEditEvent Handler) { FOnDictionaryClick = std::move(Handler); }
    void SetOnSpeciaButton(TEditEvent Handler) { FOnSpeciaButton = std::move(Handler); }

    // True while the icon is shown (the right margin is set for it).
    bool IconVisible() const { return FMargin; }
    bool MouseInClient() const { return FMouseInClient; }

    // Right text margin while the icon is shown; the icon is drawn this far from
    // the right edge, 2 pixels from the top.
    static constexpr int IconMargin = 18;
    // Width of the area at the right end where the pointer shows the icon hint.
    static constexpr int IconHintArea = 22;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void enterEvent(QEnterEvent* Event) override;
    void leaveEvent(QEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

private:
    // Sets or removes the right margin as the icon is to be shown or not.
    void UpdateIconState();
    void UpdateIconHint(const QPoint& Pos);

    QPixmap FIcon;
    QString FIconHint;
    bool FShowIconOnlyWhenFocused = false;
    bool FMouseInClient = false;
    bool FMargin = false;
    bool m_hintShown = false;
    // The edit's own cursor, back when the pointer leaves the icon area.
    QCursor m_textCursor;
    TEditEvent FOnDictionaryClick;
    TEditEvent FOnSpeciaButton;
};
