#pragma once
// The one error balloon of the program: a topmost tip with a white background and
// black text, no icon and no title, attached below the panel whose error it shows.
// Opening it for a panel closes whatever it showed before.

#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;

class TErrorBalloon : public QWidget {
    Q_OBJECT
public:
    // The shared instance, created on first use and freed when the application ends.
    static TErrorBalloon* Instance();
    // The shared instance if it exists, without creating it.
    static TErrorBalloon* Existing();

    void ShowFor(QWidget* Owner, const QString& Text);
    // Closes the balloon whatever it shows.
    void HideBalloon();
    // Closes the balloon only when it is attached to Owner.
    void HideFor(const QWidget* Owner);

    bool IsShown() const { return isVisible(); }
    QString Text() const;
    QWidget* Owner() const { return FOwner; }

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    TErrorBalloon();

    QLabel* FLabel;
    QPointer<QWidget> FOwner;
};
