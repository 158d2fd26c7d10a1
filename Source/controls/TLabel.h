#pragma once
// The system's label: plain text (no accelerators, no markup), sized to its
// text by SetCaption, with an optional icon at its top left and a change
// callback that also receives the field panel the label belongs to.

#include <QLabel>
#include <QPixmap>
#include <QList>
#include <QPointer>

#include <functional>
#include <utility>

class TLabel : public QLabel {
    Q_OBJECT
public:
    using TLabelChangeEvent = std::function<void(TLabel* Sender, QWidget* Panel)>;

    explicit TLabel(QWidget* Parent = nullptr);
    explicit TLabel(const QString& Caption, QWidget* Parent = nullptr);

    QString Caption() const { return text(); }
    // Sets the text and sizes the label to it (leaving room for the icon once
    // the icon layout is applied), then calls OnChange with the stored panel.
    void SetCaption(const QString& Caption);

    const QPixmap& Icon() const { return FIcon; }
    // A picture applies the icon layout (the text moves right of the icon);
    // an empty one removes the icon and the layout.
    void SetIcon(const QPixmap& Icon);
    bool IconLayout() const { return FSetIcon; }

    QWidget* Panel() const { return FPanel; }
    void SetPanel(QWidget* Panel) { FPanel = Panel; }
    void SetOnChange(TLabelChangeEvent Handler) { FOnChange = std::move(Handler); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // A wrapped text is laid out once per width: layouts ask the same widths on every
    // pass, and a window of field captions asks them by the thousand.
    int heightForWidth(int Width) const override;

    // Room left of the text for the icon.
    static constexpr int IconSpace = 20;

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    int TextWidth() const;

    // What the height for a width depends on besides the width.
    struct TWrapState {
        QString Text;
        QFont Font;
        Qt::Alignment Alignment;
        bool WordWrap = false;
        int Indent = -1;
        int Margin = 0;
        QMargins ContentsMargins;
        int FrameWidth = 0;
        Qt::TextFormat Format = Qt::AutoText;
        qint64 PixmapKey = 0;
        bool operator==(const TWrapState&) const = default;
    };
    TWrapState WrapState() const;
    mutable TWrapState FWrapState;
    mutable QList<std::pair<int, int>> FHeights; // width -> height for FWrapState

    QPixmap FIcon;
    bool FSetIcon = false;
    QPointer<QWidget> FPanel;
    TLabelChangeEvent FOnChange;
};
