// The exports of the HTML viewer library. Nothing throws out of the library: a
// failure ends in no interface or in no window.

#include "uHTMLViewerForm.h"
#include "uLibraryExports.h"
#include "uQuorHTMLViewerIntf.h"

#include <QApplication>

#include <type_traits>

namespace {

class TViewer : public TInterfacedObject<IQuorHTMLViewer> {
public:
    void ShowHTML(const std::u16string& Html, int32_t Left, int32_t Top, int32_t Width,
                  int32_t Height) override {
        try {
            if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
                return; // no widgets without a GUI application
            QWidget* owner = QApplication::activeModalWidget();
            if (!owner)
                owner = QApplication::activeWindow();
            THTMLViewerForm form(QString::fromStdU16String(Html), owner);
            if (Width > 0 && Height > 0)
                form.resize(Width, Height);
            if (Left != 0 || Top != 0)
                form.move(Left, Top);
            form.exec();
        } catch (...) {
        }
    }
};

class TViewerMain : public TInterfacedObject<IQuorHTMLViewerMain> {
public:
    TIntfPtr<IQuorHTMLViewer> GetViewer() override {
        try {
            return MakeIntf<IQuorHTMLViewer, TViewer>();
        } catch (...) {
            return {};
        }
    }
};

} // namespace

extern "C" {

EWIDAR_EXPORT int32_t GetVersion() {
    return QUOR_HTML_VIEWER_VERSION;
}

EWIDAR_EXPORT void GetMainInterface(IQuorHTMLViewerMain** Out) {
    HandOutIntf(Out, [] { return MakeIntf<IQuorHTMLViewerMain, TViewerMain>().detach(); });
}

} // extern "C"

EWIDAR_EXPORT_FILE_VERSION(EWIDAR_FILE_VERSION)

static_assert(std::is_same_v<decltype(&GetVersion), TGetHTMLViewerVersion>);
static_assert(std::is_same_v<decltype(&GetMainInterface), TGetHTMLViewerMainInterface>);
