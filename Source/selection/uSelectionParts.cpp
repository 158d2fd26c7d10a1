#include "uSelectionParts.h"

#include "uCollectionBaseFrame.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uListPictures.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

namespace SelectionParts {

QPixmap AcceptGlyph() {
    return ListPictures::AcceptGlyph();
}

QPixmap CancelGlyph() {
    return ListPictures::DeleteGlyph();
}

void StackParts(QWidget* Window, std::initializer_list<QWidget*> Parts, QWidget* Stretch) {
    auto* layout = new QVBoxLayout(Window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QWidget* part : Parts)
        layout->addWidget(part, part == Stretch ? 1 : 0);
}

TPanel* ButtonBar(QWidget* Parent, const char* Name) {
    auto* bar = new TPanel(Parent);
    bar->setObjectName(QLatin1String(Name));
    bar->SetButtonsColor();
    auto* row = new QHBoxLayout;
    row->setObjectName(QStringLiteral("ButtonRow"));
    row->setContentsMargins(6, 5, 6, 5);
    row->setSpacing(6);
    row->addStretch(1);
    bar->Layout()->addLayout(row);
    return bar;
}

QPushButton* BarButton(TPanel* Bar, const char* Name, const QString& Caption, const QPixmap& Glyph) {
    auto* button = new QPushButton(QIcon(Glyph), Caption, Bar);
    button->setObjectName(QLatin1String(Name));
    button->setAutoDefault(false);
    button->setMinimumWidth(90);
    Bar->findChild<QHBoxLayout*>(QStringLiteral("ButtonRow"))->addWidget(button);
    return button;
}

void OnEnter(QWidget* Window, QAbstractButton* CancelButton, std::function<void()> Choose) {
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), Window);
        QObject::connect(enter, &QShortcut::activated, Window, [Window, CancelButton, Choose] {
            if (Window->focusWidget() == CancelButton)
                CancelButton->click();
            else
                Choose();
        });
    }
}

TCollectionBaseFrame* AddFrameTab(QTabWidget* Tabs, const char* TabName, const QString& Caption,
                                  const char* FrameName) {
    auto* page = new QWidget(Tabs);
    page->setObjectName(QLatin1String(TabName));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* frame = new TCollectionBaseFrame(page);
    frame->setObjectName(QLatin1String(FrameName));
    layout->addWidget(frame);
    Tabs->addTab(page, Caption);
    return frame;
}

TSubjectFrames AddSubjectTabs(QTabWidget* Tabs, const std::array<const char*, SubjectListCount>& FrameNames) {
    static const char* const kTabs[SubjectListCount] = {"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4"};
    static const char16_t* const kCaptions[SubjectListCount] = {u"Wszyscy", u"Podatnicy", u"Pracownicy",
                                                                u"Kontrahenci"};
    TSubjectFrames frames{};
    for (int i = 0; i < SubjectListCount; ++i)
        frames[static_cast<size_t>(i)] =
            AddFrameTab(Tabs, kTabs[i], QString::fromUtf16(kCaptions[i]), FrameNames[static_cast<size_t>(i)]);
    return frames;
}

TCollectionBaseFrame* CurrentFrame(const QTabWidget* Tabs, const TSubjectFrames& Frames) {
    const int index = Tabs->currentIndex();
    return index >= 0 && index < SubjectListCount ? Frames[static_cast<size_t>(index)] : nullptr;
}

TIntfPtr<IEwidarCollection> SubjectList(IEwidarDataBase* DataBase, TSubjectList List) {
    if (!DataBase)
        return {};
    const TIntfPtr<IEwidarRegistries> registries = DataBase->GetRegistries();
    if (!registries)
        return {};
    const std::u16string all;
    switch (List) {
    case slWszyscy:
        return registries->GetPodmioty(all);
    case slPodatnicy:
        return registries->GetPodatnicy(all);
    case slPracownicy:
        return registries->GetPracownicy(all);
    case slKontrahenci:
        return registries->GetKontrahenci(all);
    }
    return {};
}

TIntfPtr<IEwidarRecord> CurrentDataRecord(TCollectionBaseFrame* Frame) {
    // A filter typed just before choosing counts: the row is one of the filtered list.
    Frame->ApplyPendingFilter();
    const TDrawGrid* grid = Frame->DrawGrid1;
    const int row = grid->Row();
    return row >= grid->FixedRows() ? grid->EwidarRecord(row) : TIntfPtr<IEwidarRecord>();
}

} // namespace SelectionParts
