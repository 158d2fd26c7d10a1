#pragma once
// The group window: the name of an operator group and its rights, chosen on a
// five-position slider from "Zarządzanie operatorami" (all rights) down to
// "Przeglądanie danych". Each position stores one rights byte; a stored byte is
// read back by its lowest right.

#include "TForm.h"
#include "uOperatorsNodeData.h"

#include <optional>

class QLabel;
class QPushButton;
class QSlider;
class TEdit;

namespace OperatorsRights {

constexpr int PositionCount = 5;
// The position new and unreadable groups start at: the least rights.
constexpr int LeastRightsPosition = PositionCount - 1;

// The rights byte that a slider position stores (31, 30, 28, 24, 16).
int32_t RightsOfPosition(int Position);
// The slider position of stored rights by their lowest right (bit 1 -> 0 ...
// bit 16 -> 4); none when no right of the five is set.
std::optional<int> PositionOfRights(int32_t Rights);

} // namespace OperatorsRights

class TOperatorsGroupForm : public TForm {
    Q_OBJECT
public:
    // fmNew adds a group to the root's list of groups; fmEdit edits the group of
    // NodeData (which must have one).
    TOperatorsGroupForm(QWidget* OwnerForm, TFormMode FormMode, IEwidarDataBase* DataBase,
                        TNodeData* NodeData);

    // True when the group was stored.
    bool CloseResult() const { return FCloseResult; }
    // The rights that OK stores for the slider's current position.
    int32_t RightsToStore() const;

    // OK (also Enter): checks the name, stores the group and closes on success.
    void btnPostClick();

    QLabel* lbledtNameLabel;
    TEdit* lbledtName;
    QSlider* TrackBar1;
    QPushButton* btnPost;

private:
    void CreateRightsBox(class QVBoxLayout* Outer);

    TFormMode FFormMode;
    TNodeData* FNodeData;
    bool FCloseResult = false;
    TIntfPtr<IEwidarDataBase> FDataBase;
    // The group OK stores into, kept between attempts.
    TIntfPtr<IUserGroup> FTarget;
    // The edited group's rights as read, and the position shown for them: rights
    // that no position stores exactly are kept while the slider stays there.
    std::optional<int32_t> FStoredRights;
    int FShownPosition = OperatorsRights::LeastRightsPosition;
};

// Shows the group window modally; true when a group was stored.
bool ShowOperatorsGroupForm(QWidget* OwnerForm, TFormMode FormMode, IEwidarDataBase* DataBase,
                            TNodeData* NodeData);
