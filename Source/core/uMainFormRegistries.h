#pragma once
// The main window's eleven registries: for each, its switch and menu item, the
// caption of the list's header, the context records are edited in, which of the
// view, add and edit buttons the list shows and which move to the left end of
// its button bar, and the getter that opens the registry with a filter text.

#include "uEwidarQuorDBIntf.h"
#include "uKontekst.h"

#include <QKeySequence>
#include <QString>

#include <array>
#include <string>

class TCollectionBaseFrame;

namespace MainFormRegistries {

// The buttons of the list's button bar that a registry shows or moves.
enum TListButton { lbView, lbAdd, lbEdit };

using TRegistryGetter = TIntfPtr<IEwidarCollection> (*)(IEwidarRegistries* Registries,
                                                        const std::u16string& Filter);

struct TRegistry {
    const char* SwitchName; // objectName of the switch
    const char* MenuName;   // objectName of the menu item
    const char* Caption;    // switch and menu caption (UTF-8)
    const char* Header;     // the list's header caption (UTF-8)
    int ShortcutKey;        // with Ctrl
    TKontekst Kontekst;
    bool View;
    bool Add;
    bool Edit;
    // Buttons moved to the left end, in this order (so the last one ends up first).
    std::array<int, 2> MoveLeft; // TListButton values, -1 for none
    TRegistryGetter Getter;

    QString CaptionText() const { return QString::fromUtf8(Caption); }
    QString HeaderText() const { return QString::fromUtf8(Header); }
    QKeySequence Shortcut() const { return QKeySequence(Qt::CTRL | static_cast<Qt::Key>(ShortcutKey)); }
};

constexpr int RegistryCount = 11;

// The registries in switch order; index 0 is the list of all subjects.
const std::array<TRegistry, RegistryCount>& Registries();

// Header caption, context, button visibility and order of the list for a registry;
// the ticks of the previous registry are forgotten.
void ApplyToFrame(TCollectionBaseFrame* Frame, const TRegistry& Registry);

// A fresh registries object of the root and the registry's collection filtered by
// Filter; empty when the root gives no registries object.
TIntfPtr<IEwidarCollection> OpenRegistry(IEwidarDataBase* DataBase, const TRegistry& Registry,
                                         const QString& Filter);

} // namespace MainFormRegistries
