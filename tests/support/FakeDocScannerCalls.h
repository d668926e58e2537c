#pragma once
// An in-process fake of the TWAIN layer's calls the document-picture window
// makes (TDocScannerCalls): the pages it delivers are set by the test, and
// what the window asked of it is recorded. The DIB utilities are the layer's own.

#include "platform/GlobalMemory.h"
#include "twain/engDocFromScanner9r_FM.h"

#include <QApplication>
#include <QWidget>
#include <set>
#include <stdexcept>
#include <vector>

namespace r9test {

/// What the fake layer delivers and what the window asked of it.
struct FakeLayer
{
    bool selectResult = true;
    int selectCalls = 0;
    int acquireCalls = 0;
    std::vector<int32_t> hideUI;
    std::vector<int32_t> pixTypes;
    std::vector<TWAIN_HDIB> pages; // delivered by the next acquisition, in order
    std::vector<TWAIN_HDIB> list;  // the layer's picture list
    std::multiset<TWAIN_HDIB> freed;
    bool throwOnAcquire = false;
    int32_t forcedWidth = 0;
    bool cursorOverriddenDuringAcquire = false;
    bool formEnabledDuringAcquire = true;
    QWidget *form = nullptr;
};
inline FakeLayer *g_fake = nullptr;

inline TWAIN_BOOL fakeSelect(TWAIN_HWND)
{
    ++g_fake->selectCalls;
    return g_fake->selectResult;
}
inline void fakeSetHideUI(int32_t hide) { g_fake->hideUI.push_back(hide); }
inline TWAIN_HDIB fakeAcquire(TWAIN_HWND, int32_t types)
{
    ++g_fake->acquireCalls;
    g_fake->pixTypes.push_back(types);
    g_fake->cursorOverriddenDuringAcquire = QApplication::overrideCursor() != nullptr;
    g_fake->formEnabledDuringAcquire = g_fake->form && g_fake->form->isEnabled();
    if (g_fake->throwOnAcquire)
        throw std::runtime_error("источник не ответил");
    g_fake->list = g_fake->pages;
    TWAIN_HDIB last = g_fake->pages.empty() ? nullptr : g_fake->pages.back();
    g_fake->pages.clear();
    return last;
}
inline void fakeFree(TWAIN_HDIB dib)
{
    g_fake->freed.insert(dib);
    GlobalFree(dib);
}
inline int32_t fakeNumDibs() { return int32_t(g_fake->list.size()); }
inline TWAIN_HDIB fakeGetDib(int32_t i) { return i >= 0 && i < int32_t(g_fake->list.size()) ? g_fake->list[size_t(i)] : nullptr; }
inline void fakeClearList() { g_fake->list.clear(); }
inline bool g_drawThrows = false;
inline void fakeDraw(TWAIN_HDC dc, int32_t dx, int32_t dy, int32_t w, int32_t h, TWAIN_HDIB dib, int32_t sx, int32_t sy)
{
    if (g_drawThrows)
        throw std::runtime_error("рисование не удалось");
    TWAIN_DrawDibToDC(dc, dx, dy, w, h, dib, sx, sy);
}
inline int32_t fakeWidth(TWAIN_HDIB dib) { return g_fake->forcedWidth ? g_fake->forcedWidth : TWAIN_DibWidth(dib); }

} // namespace r9test
