// Drives the suite's programs from another process, as a user would: launches them, finds their windows,
// reads and sets control texts, clicks, types, reads the clipboard and takes screenshots. Every text is
// Windows-1252 bytes in a std::string; a text with a character Windows-1252 cannot hold comes back with '?'
// in its place (the byte-exact checks of a test then fail visibly instead of silently).
//
// Nothing here sleeps for a fixed time to let the target catch up: every wait is a WaitUntil on a condition,
// with a timeout.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

using Milliseconds = std::chrono::milliseconds;

// The default patience for a window or a state to appear: generous, since a loaded machine can be slow to
// start a program under Wine; a passing test never waits this long.
inline constexpr Milliseconds DefaultTimeout{10000};

// ---------------------------------------------------------------------------------------------------------
// Waiting

// Calls `predicate` until it gives true (then true) or `timeout` has passed (then false, after one last call).
// Sleeps about 15 ms between calls.
bool WaitUntil(const std::function<bool()>& predicate, Milliseconds timeout = DefaultTimeout);

// ---------------------------------------------------------------------------------------------------------
// Processes

// A started program. Owns the process: if it still runs when the owner goes, it is terminated and waited
// for, so a failed test never leaves windows behind for the next one.
class Program {
public:
    Program() = default;
    Program(Program&& other) noexcept;
    Program& operator=(Program&& other) noexcept;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program();

    // Starts `exePath` (a full path) in `workingFolder` with the given command-line arguments (already
    // quoted as needed; the program path is put first, quoted). Gives a program that is false when it did
    // not start; Error() then tells why.
    static Program Launch(const std::string& exePath, const std::string& workingFolder,
                          const std::string& arguments = {});

    explicit operator bool() const { return process_ != nullptr; }
    DWORD Pid() const { return pid_; }
    HANDLE Handle() const { return process_; }
    const std::string& Error() const { return error_; }

    bool IsRunning() const;
    // True when the program has ended within the timeout.
    bool WaitForExit(Milliseconds timeout = DefaultTimeout) const;
    // The exit code once ended; nothing while it runs (or when it never started).
    std::optional<DWORD> ExitCode() const;
    // Terminates the program if it runs and waits for it to be gone.
    void Kill();

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    std::string error_;
};

// "Z:\x\y" for the Linux path "/x/y", which is how Wine's drive Z: shows the Linux file system.
std::string WinePath(std::string_view linuxPath);

// A fresh folder for one test under the scratch drive T: (whose tree the folder picker shows), removed with
// everything in it when the owner goes. Keeping each test in its own small folder keeps picks quick and
// independent of what other tests leave behind.
class ScratchFolder {
public:
    explicit ScratchFolder(std::string_view drive = "T:\\");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, without a trailing backslash (as the picker gives a folder that is not a drive root).
    const std::string& Path() const { return path_; }
    // Path() + "\" + relative.
    std::string operator/(std::string_view relative) const;
    // Creates the folder `relative` (with any missing folders on the way) and gives its full path.
    std::string MakeFolder(std::string_view relative) const;
    bool Valid() const { return !path_.empty(); }

private:
    std::string path_;
};

// Whole-file helpers with Windows-1252 paths; ReadFileBytes gives nothing when the file cannot be read
// (unlike an empty file).
std::optional<std::string> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, std::string_view bytes);

// ---------------------------------------------------------------------------------------------------------
// Windows

// Visible top-level windows of the process, in Z order. Owned windows (dialogs, message boxes) are
// top-level windows too.
std::vector<HWND> TopWindows(DWORD pid);

// The first visible top-level window of the process with the caption and class given; an empty caption or
// class matches any. Null when there is none (now / within the timeout).
HWND FindTopWindow(DWORD pid, std::string_view caption, std::string_view className = {});
HWND WaitForTopWindow(DWORD pid, std::string_view caption, std::string_view className = {},
                      Milliseconds timeout = DefaultTimeout);
// Waits until the window is gone (destroyed or hidden).
bool WaitForWindowGone(HWND window, Milliseconds timeout = DefaultTimeout);

// The dialog's control with the id (null when missing).
HWND Control(HWND dialog, int id);
// The children of the window (all levels), in Z order.
std::vector<HWND> Children(HWND window);

std::string ClassName(HWND window);
// WM_GETTEXT: user32 copies the text between processes.
std::string WindowText(HWND window);
// WM_SETTEXT, as the program's own SetWindowText would set it (TypeText is what a user does).
bool SetWindowTextTo(HWND window, std::string_view text1252);

bool IsEnabled(HWND window);
bool IsVisible(HWND window);       // the window and all its parents are visible
bool IsChecked(HWND button);       // BM_GETCHECK == BST_CHECKED
int CheckState(HWND button);       // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE
RECT WindowRect(HWND window);      // screen coordinates
RECT ClientRect(HWND window);      // client coordinates (left and top 0)
LONG_PTR Style(HWND window);
LONG_PTR ExStyle(HWND window);
int ControlId(HWND window);
HWND Owner(HWND window);           // GW_OWNER

// Presses the button as the user would by mouse, without waiting for what follows: the click may open a
// modal box that only returns once answered. Posts BM_CLICK, which the button handles as a click: it takes
// the focus, an automatic check box or radio button changes state, and the parent gets BN_CLICKED. A
// button the mouse could not press (disabled, hidden, or under a modal box) is left alone: gives false.
bool Click(HWND button);
// The same for the dialog's control with the id.
bool ClickControl(HWND dialog, int id);
// Posts WM_CLOSE (the caption's close button, or Alt+F4).
void Close(HWND window);

// ---------------------------------------------------------------------------------------------------------
// List boxes

std::vector<std::string> ListLines(HWND list);
int ListCount(HWND list);
int ListSelection(HWND list);  // LB_GETCURSEL: -1 when none
// The selected lines' indexes, ascending: LB_GETSELITEMS for a multiple-selection list, the current
// selection for a single-selection one.
std::vector<int> ListSelections(HWND list);
// The line's rectangle in the list's client coordinates; nothing for an index out of range.
std::optional<RECT> ListItemRect(HWND list, int index);
// Double-clicks the line as the mouse would: posts the button messages at the middle of the line (the list
// selects it, then tells its parent LBN_DBLCLK when it has LBS_NOTIFY). A line out of sight is scrolled to
// the top first.
bool DoubleClickListLine(HWND list, int index);

// ---------------------------------------------------------------------------------------------------------
// Message boxes

struct MessageBoxButton {
    int id = 0;            // IDOK, IDCANCEL, IDYES, ...
    std::string text;      // as shown, with any '&'
    HWND window = nullptr;
};

struct MessageBoxView {
    HWND window = nullptr;
    HWND owner = nullptr;
    std::string title;
    std::string text;
    bool hasIcon = false;
    std::vector<MessageBoxButton> buttons;  // visible buttons, left to right
};

// A message box of the process: a visible #32770 dialog holding only the message box's text control (a
// static with id 0xFFFF), optionally its icon and answer buttons (IDOK to IDCONTINUE); owned by any window
// or by none.
std::optional<MessageBoxView> FindMessageBox(DWORD pid);
std::optional<MessageBoxView> WaitForMessageBox(DWORD pid, Milliseconds timeout = DefaultTimeout);
// Re-reads the box (e.g. after a wait) from its window.
std::optional<MessageBoxView> ReadMessageBox(HWND box);
// Presses the box's button with the id (IDOK by default) and waits until the box is gone.
bool AnswerMessageBox(const MessageBoxView& box, int buttonId = IDOK, Milliseconds timeout = DefaultTimeout);

// ---------------------------------------------------------------------------------------------------------
// Keyboard and mouse (SendInput goes to the foreground window's thread: call BringToFront first)

// Makes the window's top-level window the foreground window and gives the window the keyboard focus;
// true once the window's own thread reports both (its active window and its focus), so that keys sent next
// reach it.
bool BringToFront(HWND window, Milliseconds timeout = DefaultTimeout);
// Presses the keys in order and releases them in reverse: PressChord({VK_MENU, 'R'}) is Alt+R.
bool PressChord(std::initializer_list<WORD> virtualKeys);
bool PressKey(WORD virtualKey);
// One key going down, or up: a key sent down again before it goes up is what the keyboard sends while it is held.
bool KeyDown(WORD virtualKey);
bool KeyUp(WORD virtualKey);
// Types the text character by character as Unicode key strokes (KEYEVENTF_UNICODE).
bool TypeText(std::string_view text1252);
// A left click at the screen point, through SendInput: it goes to the window under the point.
bool ClickAt(POINT screen);

// Wine sets the keys it believes pressed to what the X server believes whenever a program handles an X focus
// or pointer-crossing event (its KeymapNotify handling), and keys sent by SendInput never reach the X server:
// a modifier held while such an event waits in a program's queue is let go under the chord, which then
// reaches no hot key. Two ways to keep those events away from the keys:
// Moves the pointer to the screen's bottom-right corner, where no dialog opens, so that windows opening,
// closing or rising make no crossing events under it.
bool ParkPointer();
// Three round trips through the window thread's message loop, which takes the X events waiting for it (a
// focus change after a box closed) on the way.
bool SettleInput(HWND window);

// ---------------------------------------------------------------------------------------------------------
// Clipboard (each call opens the clipboard, retrying while another process holds it, and closes it)

// The CF_TEXT bytes up to their terminating zero; nothing when the clipboard has no text (or stayed locked).
// A present but empty text gives "".
std::optional<std::string> ClipboardText();
// CF_UNICODETEXT as Windows-1252 (lossy); nothing when absent.
std::optional<std::string> ClipboardUnicodeText();
// The formats on the clipboard in EnumClipboardFormats order, synthesized ones included.
std::vector<UINT> ClipboardFormats();
// Empties the clipboard and puts the text on it as CF_TEXT (Windows synthesizes the other text formats).
bool PutClipboardText(std::string_view text1252);
// Empties the clipboard.
bool ClearClipboard();

// ---------------------------------------------------------------------------------------------------------
// Memory probe (VirtualQueryEx and ReadProcessMemory over the process's committed pages)

struct MemoryCount {
    int narrow = 0;  // occurrences of the Windows-1252 bytes
    int wide = 0;    // occurrences of the same text in UTF-16
};

// How often each text occurs in the process's own memory: its private pages (heaps, stacks) and the pages
// of its images it has written (static data). Nothing when the process, or any of those pages, cannot be read.
std::optional<std::vector<MemoryCount>> CountInMemory(DWORD pid, const std::vector<std::string>& texts);

// ---------------------------------------------------------------------------------------------------------
// Screenshots

struct ScreenImage {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // row by row from the top
    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The screen's rectangle (under Wine: the virtual desktop's).
RECT ScreenRect();
// What the screen shows in the rectangle (screen coordinates); empty when it cannot be read.
ScreenImage CaptureScreen(const RECT& area);
// The whole screen as a 24-bit bottom-up .bmp file.
bool SaveScreenshot(const std::string& path);

// ---------------------------------------------------------------------------------------------------------
// The shell's browse-for-folder dialog (SHBrowseForFolder without BIF_NEWDIALOGSTYLE)

struct BrowseDialog {
    HWND window = nullptr;
    HWND tree = nullptr;    // the SysTreeView32
    HWND prompt = nullptr;  // the static control showing the caller's lpszTitle
    HWND ok = nullptr;
    HWND cancel = nullptr;
};

// The browse dialog of the process once it is shown and its tree is filled.
std::optional<BrowseDialog> WaitForBrowseDialog(DWORD pid, Milliseconds timeout = DefaultTimeout);
std::string BrowsePrompt(const BrowseDialog& dialog);

// The labels of the tree's items on the way to the selected one, from the root down.
std::vector<std::string> BrowseSelectionLabels(const BrowseDialog& dialog);
// Selects the folder ("T:\", "T:\sub\deeper") in the tree: expands the computer's item, the drive and each
// folder on the way, waiting for the children of each, then selects the last one; true when it is selected.
bool BrowseSelect(const BrowseDialog& dialog, std::string_view folder, Milliseconds timeout = DefaultTimeout);
// Selects the folder, presses OK and waits until the dialog is gone.
bool BrowseChoose(const BrowseDialog& dialog, std::string_view folder, Milliseconds timeout = DefaultTimeout);
// Presses Cancel and waits until the dialog is gone.
bool BrowseCancel(const BrowseDialog& dialog, Milliseconds timeout = DefaultTimeout);

// Tree-view access from outside the owning process (the item texts go through a buffer in its memory).
std::string TreeItemText(HWND tree, HTREEITEM item);
std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM parent);  // parent null: the root items
HTREEITEM TreeSelection(HWND tree);

}  // namespace e2e
