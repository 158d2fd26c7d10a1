#pragma once
// The registry switch of the main window: a radio button painted over as a flat
// strip, #A6CAF0 when checked and white otherwise, with its caption centred.
// A click only ever checks it (a checked switch stays checked); the main window
// unchecks the others, so the eleven switches behave as one group.

#include <QRadioButton>

namespace uMainForm {

class TRadioButton : public QRadioButton {
    Q_OBJECT
public:
    explicit TRadioButton(const QString& Caption, QWidget* Parent = nullptr);

    static constexpr QRgb CheckedColor = 0xA6CAF0;
    static constexpr int SwitchHeight = 30;

protected:
    void nextCheckState() override;
    // The whole strip answers the mouse, not only the radio's own label.
    bool hitButton(const QPoint& Pos) const override;
    void paintEvent(QPaintEvent* Event) override;
    QSize sizeHint() const override;
};

} // namespace uMainForm
