#pragma once
// The system's check box: reports each real change of its state exactly once,
// whether it came from a click, a key or code, and wraps long captions over
// several lines (on by default).

#include <QCheckBox>

#include <functional>

class TCheckBox : public QCheckBox {
    Q_OBJECT
public:
    using TCheckBoxEvent = std::function<void(TCheckBox* Sender)>;

    explicit TCheckBox(QWidget* Parent = nullptr);
    explicit TCheckBox(const QString& Caption, QWidget* Parent = nullptr);

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // The state last reported through OnChange (the state at creation at first).
    bool LastState() const { return FLastState; }
    void SetOnChange(TCheckBoxEvent Handler) { FOnChange = std::move(Handler); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int Width) const override;

protected:
    void paintEvent(QPaintEvent* Event) override;
    bool hitButton(const QPoint& Pos) const override;

private:
    void StateChanged();
    // Horizontal room the indicator and its spacing take before the caption.
    int IndicatorSpace() const;
    QSize WrappedTextSize(int Width) const;

    bool FLastState;
    bool FWordWrap = true;
    TCheckBoxEvent FOnChange;
};
