#pragma once
// The header of a panel: a strip at the top of the panel, filled with the button-strip
// colour and closed by a grey line, that shows a section title (with an optional picture
// at its left) and up to two action links ("edit" and "delete") at the right. The strip
// exists only while a title or a link is set.

#include <QLabel>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>

#include <functional>

class TLabel;
class TPanel;

using TLinkOnClick = std::function<void()>;

// A text link of the header: underlined while the pointer is over it and it has an action.
class THeaderLink : public QLabel {
    Q_OBJECT
public:
    explicit THeaderLink(QWidget* Parent);
    void SetOnClick(TLinkOnClick Action);
    bool HasOnClick() const { return bool(FOnClick); }

protected:
    void enterEvent(QEnterEvent* Event) override;
    void leaveEvent(QEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;

private:
    void SetUnderline(bool Value);
    TLinkOnClick FOnClick;
};

// The painted strip itself; child of the panel, first in its layout.
class THeader;

class THeaderStrip : public QWidget {
    Q_OBJECT
public:
    THeaderStrip(TPanel* Panel, THeader* Header);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;

private:
    friend class THeader;
    void Relayout();

    TPanel* FPanel;
    THeader* FHeader;
    TLabel* FTitle = nullptr;
    THeaderLink* FEditLink = nullptr;
    THeaderLink* FDeleteLink = nullptr;
};

class THeader : public QObject {
    Q_OBJECT
public:
    explicit THeader(TPanel* Owner);

    // The title shown, or the hidden title when none is shown. Writing an empty text
    // removes the title.
    QString CaptionLabel() const;
    void SetCaptionLabel(const QString& Text);
    // A title kept for readers of CaptionLabel without showing a strip.
    QString HideCaption() const { return FHiddenCaption; }
    void SetHideCaption(const QString& Text) { FHiddenCaption = Text; }
    QPixmap CaptionPicture() const { return FPicture; }
    void SetCaptionPicture(const QPixmap& Picture);

    // Link texts; an empty text removes the link.
    QString EditLabel() const;
    void SetEditLabel(const QString& Text);
    QString DeleteLabel() const;
    void SetDeleteLabel(const QString& Text);
    // Actions of the links. An action given before its link exists is kept and reaches
    // the link when the link is created.
    void SetEditOnClick(TLinkOnClick Action);
    void SetDeleteOnClick(TLinkOnClick Action);
    bool DeleteLabelEnabled() const { return FDeleteEnabled; }
    void SetDeleteLabelEnabled(bool Value);

    bool HasStrip() const { return FStrip != nullptr; }
    THeaderStrip* Strip() const { return FStrip; }
    // Height of the strip for the current title: 16 pixels per title line plus 2.
    int StripHeight() const;

private:
    void EnsureStrip();
    void DropStripIfEmpty();
    // Hides a part of the strip and frees it once control is back in the event loop
    // (a link may be removed by its own action).
    static void Dispose(QWidget* Part);
    THeaderLink* MakeLink(const QString& Name, const TLinkOnClick& Action);

    TPanel* FOwner;
    QPointer<THeaderStrip> FStrip;
    QString FTitleText;
    QString FHiddenCaption;
    QPixmap FPicture;
    TLinkOnClick FEditOnClick;
    TLinkOnClick FDeleteOnClick;
    bool FDeleteEnabled = true;
};
