// The Qt side of windows: one widget per window, child widgets for child windows.
// user32's window functions keep the record authoritative and make the widget follow.
#pragma once

#include <memory>

#include "window_registry.h"

class QWidget;
class QPoint;

namespace platform {

// Creates the widget of a new window (under its parent's widget for a child).
void CreateHost(WindowRecord &record);
// The same, except that a top-level window made before Qt has started waits for its
// widget until something needs it (HostOf, showing): windowless programs never start Qt.
void CreateHostWhenNeeded(WindowRecord &record);
void DestroyHost(WindowRecord &record);
QWidget *HostOf(HWND hwnd);
// The window behind a widget (or one of its inner widgets), or null.
HWND WindowOfWidget(const QWidget *widget);

// Non-client insets of a window of these styles: left, top, right, bottom.
RECT FrameInsets(DWORD style, DWORD exStyle, bool hasMenu);
RECT ClientRectOf(const WindowRecord &record);
// Where the client area's origin lies inside the window's widget.
POINT ClientOriginInWidget(const WindowRecord &record);

// Makes the widget follow the record.
void SyncHostGeometry(const WindowRecord &record);
void SyncHostVisibility(const WindowRecord &record);
void SyncHostEnabled(const WindowRecord &record);
void SyncHostText(const WindowRecord &record);
void SyncHostZOrder(const WindowRecord &record);
void SyncHostStyle(const WindowRecord &record);
// Lets the window system move a top-level window with the pointer (title-bar drag).
void StartHostMove(HWND hwnd);
// The window's icon (WM_SETICON, the large one first) in its title bar.
void SyncHostIcon(const WindowRecord &record);
// The window's region (SetWindowRgn) as the widget's mask; none without one. The
// desktop's own frame of a top-level window is not shaped.
void SyncHostShape(const WindowRecord &record);

// The window whose procedure a Qt event is being turned into messages for.
void InstallInputBridge(QWidget *widget, HWND hwnd);
// Delivers a Qt input event that a control's procedure lets through to its widget.
bool ReplayToWidget(QWidget *target, class QEvent *event);
bool IsReplaying();

// The Qt menu bar of a top-level window follows its menu (SetMenu, DrawMenuBar).
void PlaceMenuBar(const WindowRecord &record);
// Widgets that Qt runs itself (menu bars and their pop-ups) take their input directly.
bool IsNativeInputWidget(const QWidget *widget);

// Focus bookkeeping shared by SetFocus and Qt focus changes.
void NoteQtFocusIn(HWND hwnd);
HWND CurrentFocus();
void NoteQtActivation(HWND hwnd);
void ForgetWindowState(HWND hwnd);

// WM_SETCURSOR / SetCursor: the widget the pointer is over.
void SetCursorWidget(QWidget *widget);

} // namespace platform
