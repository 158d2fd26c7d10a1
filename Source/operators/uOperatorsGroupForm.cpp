#include "uOperatorsGroupForm.h"

#include "TEdit.h"
#include "uStrings.h"
#include "uUserMessagesModule.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <array>

namespace {

// "Nazwa grupy nie może być pusta."
constexpr uint32_t kEmptyNameMessage = 323;

constexpr std::array<int32_t, OperatorsRights::PositionCount> kRights = {31, 30, 28, 24, 16};

const std::array<QString, OperatorsRights::PositionCount>& Captions() {
    static const std::array<QString, OperatorsRights::PositionCount> captions = {
        QStringLiteral("Zarządzanie operatorami"),
        QStringLiteral("Modyfikacja\ni usuwanie zatwierdzonych dokumentów"),
        QStringLiteral("Tworzenie usuwanie danych"),
        QStringLiteral("Modyfikacja danych"),
        QStringLiteral("Przeglądanie danych"),
    };
    return captions;
}

} // namespace

namespace OperatorsRights {

int32_t RightsOfPosition(int Position) {
    if (Position < 0 || Position >= PositionCount)
        Position = LeastRightsPosition;
    return kRights[static_cast<size_t>(Position)];
}

std::optional<int> PositionOfRights(int32_t Rights) {
    for (int position = 0; position < PositionCount; ++position)
        if (Rights & (1 << position))
            return position;
    return std::nullopt;
}

} // namespace OperatorsRights

TOperatorsGroupForm::TOperatorsGroupForm(QWidget* OwnerForm, TFormMode FormMode, IEwidarDataBase* DataBase,
                                         TNodeData* NodeData)
    : TForm(OwnerForm), FFormMode(FormMode), FNodeData(NodeData), FDataBase(DataBase) {
    setObjectName(QStringLiteral("OperatorsGroupForm"));
    setWindowTitle(QStringLiteral("Grupa operatorów"));

    lbledtName = new TEdit(this);
    lbledtName->setObjectName(QStringLiteral("lbledtName"));
    lbledtNameLabel = new QLabel(QStringLiteral("Nazwa grupy"), this);
    lbledtNameLabel->setObjectName(QStringLiteral("lbledtNameLabel"));
    lbledtNameLabel->setBuddy(lbledtName);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 14, 16, 12);
    outer->setSpacing(4);
    outer->addWidget(lbledtNameLabel);
    outer->addWidget(lbledtName);
    outer->addSpacing(10);
    CreateRightsBox(outer);

    btnPost = new QPushButton(QStringLiteral("OK"), this);
    btnPost->setObjectName(QStringLiteral("btnPost"));
    btnPost->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnPost);
    outer->addSpacing(10);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    connect(btnPost, &QPushButton::clicked, this, &TOperatorsGroupForm::btnPostClick);

    if (FFormMode == fmEdit && FNodeData && FNodeData->UserGroup) {
        lbledtName->setText(toQ(FNodeData->UserGroup->GetName()));
        const int32_t rights = FNodeData->UserGroup->GetUprawnienia();
        FStoredRights = rights;
        // Rights without any of the five start at the least rights, never at the most.
        FShownPosition =
            OperatorsRights::PositionOfRights(rights).value_or(OperatorsRights::LeastRightsPosition);
    }
    TrackBar1->setValue(FShownPosition);
    lbledtName->setFocus();
}

void TOperatorsGroupForm::CreateRightsBox(QVBoxLayout* Outer) {
    auto* box = new QGroupBox(QStringLiteral("Uprawnienia grupy"), this);
    box->setObjectName(QStringLiteral("GroupBox1"));
    TrackBar1 = new QSlider(Qt::Horizontal, box);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(0, OperatorsRights::PositionCount - 1);
    TrackBar1->setPageStep(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setTickInterval(1);
    // Two grid columns per position: the slider runs from the middle of the first
    // caption to the middle of the last, so each tick stands over its caption.
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(8, 10, 8, 8);
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(4);
    grid->addWidget(TrackBar1, 0, 1, 1, 2 * OperatorsRights::PositionCount - 2);
    for (int position = 0; position < OperatorsRights::PositionCount; ++position) {
        auto* caption = new QLabel(Captions()[static_cast<size_t>(position)], box);
        caption->setObjectName(QStringLiteral("lblUprawnienia%1").arg(position));
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        caption->setWordWrap(true);
        caption->setFixedWidth(118);
        grid->addWidget(caption, 1, 2 * position, 1, 2, Qt::AlignHCenter | Qt::AlignTop);
    }
    for (int column = 0; column < 2 * OperatorsRights::PositionCount; ++column)
        grid->setColumnStretch(column, 1);
    Outer->addWidget(box);
}

int32_t TOperatorsGroupForm::RightsToStore() const {
    if (FStoredRights && TrackBar1->value() == FShownPosition)
        return *FStoredRights;
    return OperatorsRights::RightsOfPosition(TrackBar1->value());
}

void TOperatorsGroupForm::btnPostClick() {
    if (lbledtName->text().trimmed().isEmpty()) {
        ShowUserMessage(kEmptyNameMessage, this);
        return;
    }
    if (!FTarget) {
        if (FFormMode == fmNew) {
            TIntfPtr<IUsersGroup> groups = FDataBase ? FDataBase->GetUsersGroups() : TIntfPtr<IUsersGroup>();
            if (groups)
                FTarget = groups->AddGroup();
            else if (FDataBase)
                ShowUserMessage(static_cast<uint32_t>(FDataBase->GetLastErrorCode()), this);
        } else if (FFormMode == fmEdit && FNodeData) {
            FTarget = FNodeData->UserGroup;
        }
        if (!FTarget)
            return;
    }
    FTarget->SetName(toU16(lbledtName->text()));
    FTarget->SetUprawnienia(RightsToStore());
    if (FTarget->Post()) {
        FCloseResult = true;
        accept();
        return;
    }
    ShowUserMessage(static_cast<uint32_t>(FTarget->GetLastErrorCode()), this);
}

bool ShowOperatorsGroupForm(QWidget* OwnerForm, TFormMode FormMode, IEwidarDataBase* DataBase,
                            TNodeData* NodeData) {
    if (FormMode == fmEdit && (!NodeData || !NodeData->UserGroup))
        return false;
    TOperatorsGroupForm form(OwnerForm, FormMode, DataBase, NodeData);
    form.exec();
    return form.CloseResult();
}
