#pragma once
// The system's radio button: not exclusive by itself (the owning panel keeps
// the group), a click or Space on a selected button clears it, a double-click
// raises OnDblClick without toggling again, and each real change of the state
// is reported exactly once.

#include <QRadioButton>

#include <functional>

class TRadioButton : public QRadioButton {
    Q_OBJECT
public:
    using TRadioButtonEvent = std::function<void(TRadioButton* Sender)>;

    explicit TRadioButton(QWidget* Parent = nullptr);
    explicit TRadioButton(const QString& Caption, QWidget* Parent = nullptr);

    bool LastState() const { return FLastState; }
    void SetOnChange(TRadioButtonEvent Handler) { FOnChange = std::move(Handler); }
    void SetOnDblClick(TRadioButtonEvent Handler) { FOnDblClick = std::move(Handler); }

protected:
    void nextCheckState() override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;

private:
    void StateChanged();

    bool FLastState;
    TRadioButtonEvent FOnChange;
    TRadioButtonEvent FOnDblClick;
};
