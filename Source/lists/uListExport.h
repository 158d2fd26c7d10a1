#pragma once
// The list frame's "Eksportuj…": what a list shows, taken from its grid, and the
// replaceable function that writes it to a spreadsheet file (installed by the export
// window's unit; until then the entry does nothing visible).

#include "uEwidarQuorDBIntf.h"

#include <QStringList>

#include <functional>
#include <vector>

class QWidget;
class TCollectionBaseFrame;

// One data row of a list as shown: its record, whether it is ticked, its cell texts.
struct TListRow {
    TIntfPtr<IEwidarRecord> Record;
    bool Checked = false;
    QStringList Cells;
};

struct TListContents {
    TIntfPtr<IEwidarCollection> Collection;
    QStringList Titles;
    std::vector<TListRow> Rows; // in the order shown
};

// The captions and data rows the frame's grid shows (the empty row of an empty list left out).
TListContents ListContents(const TCollectionBaseFrame* Frame);

namespace ListExport {

using TExportOpener = std::function<void(QWidget* OwnerForm, const TListContents& Contents)>;

// Installing an empty function puts the do-nothing default back.
void SetExportOpener(TExportOpener Opener);
void ExportList(QWidget* OwnerForm, const TListContents& Contents);

} // namespace ListExport
