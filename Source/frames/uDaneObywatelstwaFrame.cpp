#include "uDaneObywatelstwaFrame.h"

const TSectionDescription& TDaneObywatelstwaFrame::Declaration() {
    static const TSectionDescription d{
        "TDaneObywatelstwaFrame",
        QStringLiteral("Dane obywatelstwa"),
        {{"pnlObywatelstwo", &cObywatelstwo}},
        {kKontrahent},
    };
    return d;
}

TDaneObywatelstwaFrame::TDaneObywatelstwaFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlObywatelstwo(Panel("pnlObywatelstwo")) {}
