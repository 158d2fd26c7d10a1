#pragma once
// Parts shared by the selection windows, the relations window and the record
// comparison window: the bottom button bar, its glyphs, a tab holding a list
// frame, and the four subject lists of the root's registries.

#include "uEwidarQuorDBIntf.h"

#include <QPixmap>

#include <array>
#include <functional>
#include <initializer_list>

class QAbstractButton;
class QPushButton;
class QTabWidget;
class QWidget;
class TCollectionBaseFrame;
class TPanel;

namespace SelectionParts {

// "Wybierz": a green tick (16 x 16).
QPixmap AcceptGlyph();
// "Anuluj" / "Zamknij": the list frame's red cross.
QPixmap CancelGlyph();

// Lays Parts out from top to bottom, edge to edge; Stretch takes the spare height.
void StackParts(QWidget* Window, std::initializer_list<QWidget*> Parts, QWidget* Stretch);

// The bottom bar in the button-strip colour; its buttons are right-aligned.
TPanel* ButtonBar(QWidget* Parent, const char* Name);
// A button of a bar; Enter never presses it by default.
QPushButton* BarButton(TPanel* Bar, const char* Name, const QString& Caption, const QPixmap& Glyph);

// Enter anywhere in Window runs Choose, before the focused control sees the key;
// while CancelButton has the focus, Enter presses it instead.
void OnEnter(QWidget* Window, QAbstractButton* CancelButton, std::function<void()> Choose);

// A tab of Tabs holding a list frame named FrameName.
TCollectionBaseFrame* AddFrameTab(QTabWidget* Tabs, const char* TabName, const QString& Caption,
                                  const char* FrameName);

// The lists of the subject tabs, in tab order.
enum TSubjectList { slWszyscy, slPodatnicy, slPracownicy, slKontrahenci };
constexpr int SubjectListCount = 4;
using TSubjectFrames = std::array<TCollectionBaseFrame*, SubjectListCount>;
// The tabs "Wszyscy", "Podatnicy", "Pracownicy", "Kontrahenci" (TabSheet1-4), each
// holding a list frame named by FrameNames.
TSubjectFrames AddSubjectTabs(QTabWidget* Tabs, const std::array<const char*, SubjectListCount>& FrameNames);
// The frame of the current tab; nullptr without one.
TCollectionBaseFrame* CurrentFrame(const QTabWidget* Tabs, const TSubjectFrames& Frames);
// A fresh, unfiltered list of the root's registries; empty without a root.
TIntfPtr<IEwidarCollection> SubjectList(IEwidarDataBase* DataBase, TSubjectList List);

// The record of the frame grid's current row, when that row is a data row; a filter
// change still waiting for its timer is applied first.
TIntfPtr<IEwidarRecord> CurrentDataRecord(TCollectionBaseFrame* Frame);

} // namespace SelectionParts
