// Helpers for the GUI tests: driving modal dialogs from outside, pumping
// messages, and screenshots of real windows as PNG files.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "base/Dpi.h" // ScreenDpi

// Runs the message loop for `ms` milliseconds.
void PumpFor(int ms);
// Runs the message loop until `done` holds or `ms` milliseconds passed.
bool PumpUntil(const std::function<bool()>& done, int ms = 3000);

// Acts on modal dialogs (and property sheets) that the code under test
// opens: each newly activated top-level dialog of this thread is handed to
// the next queued action, once it has finished initialising.  Actions run
// inside the dialog's own message loop, as a person's clicks would.
class DialogDriver {
public:
    typedef std::function<void(HWND dialog)> Action;
    DialogDriver();
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    void Then(Action action) { actions.push_back(std::move(action)); }
    // Dialogs seen so far, in order, and their captions.
    std::deque<HWND> seen;
    std::deque<std::string> captions;
    bool Idle() const { return actions.empty(); }

private:
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK RunAction(HWND hwnd, UINT, UINT_PTR id, DWORD);
    HHOOK hook;
    std::deque<Action> actions;
    std::set<HWND> handled;
};

// Clicks a dialog button by id (BM_CLICK: the button must be enabled).
void ClickButton(HWND dialog, int id);
std::string WindowText(HWND hwnd);
std::string DialogItemText(HWND dialog, int id);

// A 32-bit top-down device-independent bitmap header of the given size.
BITMAPINFO TopDown32(int width, int height);
// A 24-bit picture read from the screen, top row first, 0x00RRGGBB.
struct ScreenPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned> pixels;
    unsigned At(int x, int y) const { return pixels[(size_t)y * width + x]; }
};
ScreenPicture GrabScreenRect(const RECT& r);
// Saves what the screen shows of `hwnd` (with its frame) as
// build/<tree>/screenshots/<name>.png, beside the tests' working folder.
bool SaveWindowPng(HWND hwnd, const std::string& name);
bool WritePngFile(const std::string& path, const ScreenPicture& picture);
