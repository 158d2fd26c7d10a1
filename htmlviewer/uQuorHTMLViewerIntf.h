#pragma once
// The HTML viewer library QuorHTMLViewer as the program sees it: two exports and
// two interfaces. "GetVersion" gives the library's interface version (the program
// needs at least MinHTMLViewerVersion); "GetMainInterface" fills the caller's
// variable with the main interface (one reference, owned by the caller), whose
// first operation gives the viewer object. The viewer shows a page modally.

#include "uIntf.h"

#include <string>

// The viewer object: shows an HTML page.
struct IQuorHTMLViewer : IInterface {
    static constexpr TGUID IID = {
        0xBFA7346B, 0x211B, 0x42DE, {0x94, 0xE9, 0xF8, 0x2C, 0xB5, 0x02, 0xF8, 0xF5}};
    using Parent = IInterface;

    // Shows the page in a modal window over the active window and returns when it
    // closes. Left, Top, Width and Height place the window; 0 for all four: the
    // viewer's own place and size.
    virtual void ShowHTML(const std::u16string& Html, int32_t Left, int32_t Top, int32_t Width,
                          int32_t Height) = 0;
};

// The library's main interface.
struct IQuorHTMLViewerMain : IInterface {
    static constexpr TGUID IID = {
        0x133D06DA, 0xA429, 0x4C8E, {0x9A, 0x98, 0xC9, 0xEB, 0x01, 0x7D, 0x1E, 0x5A}};
    using Parent = IInterface;

    virtual TIntfPtr<IQuorHTMLViewer> GetViewer() = 0;
};

// Export "GetVersion".
using TGetHTMLViewerVersion = int32_t (*)();
// Export "GetMainInterface": fills *Out with the main interface, or nullptr.
using TGetHTMLViewerMainInterface = void (*)(IQuorHTMLViewerMain** Out);

constexpr int32_t MinHTMLViewerVersion = 4;
