#pragma once
// The system's window. It stays hidden until it is first shown; then, before it
// appears, it centres itself over its owner window (or on the screen) and is
// kept inside the screen, clear of a bottom taskbar. White background, black text.

#include <QDialog>
#include <QPointer>

#include <optional>

class TForm : public QDialog {
    Q_OBJECT
public:
    // OwnerWindow: the window to centre over (not owned; may be none).
    // Parent: the Qt parent that frees the window (may be none).
    explicit TForm(QWidget* OwnerWindow = nullptr, QWidget* Parent = nullptr);

    QWidget* OwnerWindow() const { return FOwnerWindow; }
    void SetOwnerWindow(QWidget* OwnerWindow) { FOwnerWindow = OwnerWindow; }
    // True until the first showing has placed the window.
    bool FirstActivation() const { return FFirstActivation; }

    // Places the window by the rules of WindowPosition on the primary screen;
    // windows call it again after they change their size.
    void PlaceWindow();

    // Top left corner for a window of Size, Screen being the primary screen:
    // centred over Owner (halves rounded towards zero), or on the screen without
    // one; then kept TaskbarMargin pixels above the screen's bottom edge and
    // inside its right edge, never above or left of the screen's origin. An
    // owner lying wholly off the screen gives its centred position unchanged.
    static QPoint WindowPosition(const std::optional<QRect>& Owner, const QSize& Size, const QRect& Screen);

    static constexpr int TaskbarMargin = 35;

protected:
    void showEvent(QShowEvent* Event) override;

private:
    QPointer<QWidget> FOwnerWindow;
    bool FFirstActivation = true;
};
