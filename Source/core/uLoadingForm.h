#pragma once
// The progress window: a small borderless window shown over a disabled owner
// while a long operation runs, with a caption, a painted percentage strip and
// a cancel button. One shared instance, reached through ShowLoading/HideLoading.

#include <QDialog>
#include <QPointer>

class QLabel;
class QFrame;
class QToolButton;

namespace uLoadingForm {

enum class TCloseType { ctNormal, ctCancelProgress };
enum class TLayout { lNone, lCaption, lProgressBar, lCaptionProgressBar };

// The strip that paints the percentage: the filled part in #A6CAF0, the text centred.
class TProgressStrip : public QWidget {
    Q_OBJECT
public:
    explicit TProgressStrip(QWidget* parent = nullptr);
    void setProcent(int p);
    int procent() const { return m_procent; }
    // Width in pixels of the filled part for the current size and percentage.
    int filledWidth() const;
    QString text() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_procent = 0;
};

class TLoadingForm : public QDialog {
    Q_OBJECT
public:
    explicit TLoadingForm(QWidget* OwnerForm);

    QString Caption() const;
    void SetCaption(const QString& Text);
    int Procent() const { return FProcent; }
    void SetProcent(int Value);
    TLayout Layout() const { return FLayout; }
    void SetLayout(TLayout Value);
    TCloseType CloseType() const { return FCloseType; }
    QWidget* OwnerForm() const { return FOwnerForm; }

private:
    void CenterOverOwner();
    void btnCancelClick();

    QLabel* lblCaption;
    QFrame* Panel1;
    QToolButton* btnCancel;
    TProgressStrip* pnlProgress;
    QFrame* Panel2;
    QPointer<QWidget> FOwnerForm;
    TCloseType FCloseType = TCloseType::ctNormal;
    TLayout FLayout = TLayout::lNone;
    QLabel* FProgressLabel;
    int FProcent = 0;
};

// Creates the shared instance on first use (disabling the owner), updates it,
// processes pending events once and tells whether the operator cancelled.
TCloseType ShowLoading(QWidget* Owner, TLayout Layout, const QString& Caption, int Percent);
// Destroys the shared instance, if any, and re-enables its owner.
void HideLoading();
// The shared instance, or nullptr.
TLoadingForm* LoadingForm();

} // namespace uLoadingForm
