#include "uListExport.h"

#include "uCollectionBaseFrame.h"
#include "uCommaText.h"
#include "uEwidarDrawGrid.h"

TListContents ListContents(const TCollectionBaseFrame* Frame) {
    TListContents contents;
    const TDrawGrid* grid = Frame->DrawGrid1;
    contents.Collection = Frame->EwidarCollection();
    const int cols = grid->ColCount();
    contents.Titles = ParseCommaText(grid->TitleBar());
    while (contents.Titles.size() < cols)
        contents.Titles.append(QString());
    for (int r = grid->FixedRows(); r < grid->RowCount(); ++r) {
        TListRow row;
        row.Record = grid->EwidarRecord(r);
        if (!row.Record)
            continue;
        row.Checked = grid->Checked(r);
        for (int c = 0; c < cols; ++c)
            row.Cells.append(grid->Cells(c, r));
        contents.Rows.push_back(std::move(row));
    }
    return contents;
}

namespace ListExport {

namespace {

TExportOpener& Opener() {
    static TExportOpener opener;
    return opener;
}

} // namespace

void SetExportOpener(TExportOpener Value) {
    Opener() = std::move(Value);
}

void ExportList(QWidget* OwnerForm, const TListContents& Contents) {
    // A copy: the opener may install another one while it runs.
    if (const TExportOpener opener = Opener())
        opener(OwnerForm, Contents);
}

} // namespace ListExport
