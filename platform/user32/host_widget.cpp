// The widget behind a window of a registered class: Qt painting, closing, moving and
// resizing become the window's messages; everything else the record decides.
#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPointer>
#include <QIcon>
#include <QPixmap>
#include <QWidget>
#include <QWindow>

#include "gdi_object.h"
#include "icon_object.h"
#include "host_text.h"
#include "qt_host.h"
#include "message_queue.h"
#include "window_host.h"
#include "windows.h"

namespace platform {

int MenuBarHeight(const WindowRecord &record);

namespace {

int syncing = 0;
struct SyncScope {
    SyncScope() { ++syncing; }
    ~SyncScope() { --syncing; }
};

const char kHwndProperty[] = "sorvel_hwnd";

class HostWidget : public QWidget {
public:
    HostWidget(HWND hwnd, QWidget *parent) : QWidget(parent), hwnd_(hwnd) {
        setMouseTracking(true);
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_InputMethodEnabled);
    }

protected:
    void paintEvent(QPaintEvent *event) override {
        auto record = FindWindowRecord(hwnd_);
        if (!record) return;
        QPainter painter(this);
        PaintFrame(painter, *record);
        POINT origin = ClientOriginInWidget(*record);
        painter.translate(origin.x, origin.y);
        QRect update = event->rect().translated(-origin.x, -origin.y);
        HDC hdc = OpenPaintDC(hwnd_, this, &painter);
        PendingPaint pending{hdc, update};
        pendingPaints().push_back(pending);
        SendMessageA(hwnd_, WM_PAINT, 0, 0);
        pendingPaints().pop_back();
        ClosePaintDC(hdc);
    }
    void closeEvent(QCloseEvent *event) override {
        event->ignore();
        if (IsWindow(hwnd_)) PostMessageA(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    void moveEvent(QMoveEvent *) override { FollowQtGeometry(); }
    void resizeEvent(QResizeEvent *) override { FollowQtGeometry(); }
    void changeEvent(QEvent *event) override {
        QWidget::changeEvent(event);
        if (event->type() != QEvent::ActivationChange || !isWindow() || syncing) return;
        if (isActiveWindow()) NoteQtActivation(hwnd_);
        else if (GetActiveWindow() == hwnd_ && !QApplication::activeWindow()) NoteQtActivation(nullptr);
    }

private:
    // A user who moves or resizes a top-level window changes the record too.
    void FollowQtGeometry() {
        if (syncing || !isWindow()) return;
        auto record = FindWindowRecord(hwnd_);
        if (!record || (record->style & (WS_MINIMIZE | WS_MAXIMIZE))) return;
        RECT in = FrameInsets(record->style, record->exStyle, record->menu != nullptr);
        QRect g = geometry().adjusted(0, MenuBarHeight(*record), 0, 0);
        RECT now{g.left() - in.left, g.top() - in.top, g.left() + g.width() + in.right, g.top() + g.height() + in.bottom};
        RECT &old = record->rect;
        if (now.left == old.left && now.top == old.top && now.right == old.right && now.bottom == old.bottom) return;
        SetWindowPos(hwnd_, nullptr, now.left, now.top, now.right - now.left, now.bottom - now.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void PaintFrame(QPainter &painter, const WindowRecord &record) {
        if (!(record.style & WS_CHILD)) return;
        RECT in = FrameInsets(record.style, record.exStyle, false);
        if (in.left == 0 && in.top == 0) return;
        painter.setPen(QColor(128, 128, 128));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

public:
    struct PendingPaint {
        HDC hdc;
        QRect rect;
    };
    static std::vector<PendingPaint> &pendingPaints() {
        static std::vector<PendingPaint> list;
        return list;
    }

private:
    HWND hwnd_;
};

Qt::WindowFlags TopLevelFlags(const WindowRecord &r) {
    Qt::WindowFlags flags = (r.exStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
    flags |= Qt::CustomizeWindowHint;
    if ((r.style & WS_CAPTION) == WS_CAPTION) {
        flags |= Qt::WindowTitleHint;
        if (r.style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (r.style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
        if (r.style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
    } else {
        flags |= Qt::FramelessWindowHint;
    }
    if (r.exStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

LONG Width(const RECT &r) { return r.right - r.left; }
LONG Height(const RECT &r) { return r.bottom - r.top; }

} // namespace

RECT FrameInsets(DWORD style, DWORD exStyle, bool hasMenu) {
    int border = 0;
    if (style & WS_THICKFRAME) border = GetSystemMetrics(SM_CXFRAME);
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) border = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER) border = GetSystemMetrics(SM_CXBORDER);
    if (exStyle & WS_EX_CLIENTEDGE) border += GetSystemMetrics(SM_CXEDGE);
    if (exStyle & WS_EX_STATICEDGE) border += GetSystemMetrics(SM_CXBORDER);
    RECT in{border, border, border, border};
    if ((style & WS_CAPTION) == WS_CAPTION)
        in.top += GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    if (hasMenu && !(style & WS_CHILD)) in.top += GetSystemMetrics(SM_CYMENU);
    if (style & WS_VSCROLL) in.right += GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL) in.bottom += GetSystemMetrics(SM_CYHSCROLL);
    return in;
}

RECT ClientRectOf(const WindowRecord &record) {
    RECT in = FrameInsets(record.style, record.exStyle, record.menu != nullptr);
    LONG w = std::max<LONG>(0, Width(record.rect) - in.left - in.right);
    LONG h = std::max<LONG>(0, Height(record.rect) - in.top - in.bottom);
    return RECT{0, 0, w, h};
}

// A top-level window's widget holds its menu bar above the client area.
int MenuBarHeight(const WindowRecord &record) {
    return (!(record.style & WS_CHILD) && record.menu) ? GetSystemMetrics(SM_CYMENU) : 0;
}

POINT ClientOriginInWidget(const WindowRecord &record) {
    if (!(record.style & WS_CHILD)) return POINT{0, MenuBarHeight(record)};
    RECT in = FrameInsets(record.style, record.exStyle, false);
    return POINT{in.left, in.top};
}

QWidget *HostOf(HWND hwnd) {
    auto record = FindWindowRecord(hwnd);
    if (!record) return nullptr;
    if (record->hostDeferred && record->threadId == GetCurrentThreadId()) CreateHost(*record);
    return static_cast<QWidget *>(record->host);
}

HWND WindowOfWidget(const QWidget *widget) {
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        QVariant v = w->property(kHwndProperty);
        if (v.isValid()) return reinterpret_cast<HWND>(v.value<qulonglong>());
    }
    return nullptr;
}

void CreateHostWhenNeeded(WindowRecord &record) {
    record.hostDeferred = !(record.style & WS_CHILD) && !GuiExists() && IsGuiThread();
    if (!record.hostDeferred) CreateHost(record);
}

void CreateHost(WindowRecord &record) {
    record.hostDeferred = false;
    if (!GuiApplication()) return; // windows of other threads have no Qt side
    QWidget *parent = nullptr;
    if (record.style & WS_CHILD) parent = HostOf(record.parent);
    else if (record.owner) parent = HostOf(record.owner);
    SyncScope scope;
    QWidget *widget = record.windowClass->hostFactory ? record.windowClass->hostFactory(record.handle, parent)
                                                      : new HostWidget(record.handle, parent);
    widget->setProperty(kHwndProperty, QVariant::fromValue(qulonglong(reinterpret_cast<uintptr_t>(record.handle))));
    if (!(record.style & WS_CHILD)) widget->setWindowFlags(TopLevelFlags(record));
    widget->setAttribute(Qt::WA_DeleteOnClose, false);
    record.host = widget;
    InstallInputBridge(widget, record.handle);
    SyncHostGeometry(record);
    SyncHostText(record);
    SyncHostEnabled(record);
    SyncHostIcon(record);
    SyncHostShape(record);
    widget->hide();
}

void DestroyHost(WindowRecord &record) {
    record.hostDeferred = false;
    auto *widget = static_cast<QWidget *>(record.host);
    record.host = nullptr;
    if (!widget) return;
    SyncScope scope;
    widget->setProperty(kHwndProperty, QVariant());
    widget->hide();
    // Its children were destroyed first; a widget destroyed from inside one of its own
    // event handlers goes later.
    widget->setParent(nullptr);
    widget->deleteLater();
}

void SyncHostGeometry(const WindowRecord &record) {
    auto *widget = static_cast<QWidget *>(record.host);
    if (!widget) return;
    SyncScope scope;
    if (record.style & WS_CHILD) {
        QPoint origin(0, 0);
        if (auto parent = FindWindowRecord(record.parent)) {
            POINT o = ClientOriginInWidget(*parent);
            origin = QPoint(o.x, o.y);
        }
        widget->setGeometry(record.rect.left + origin.x(), record.rect.top + origin.y(),
                            std::max<LONG>(0, Width(record.rect)), std::max<LONG>(0, Height(record.rect)));
        return;
    }
    RECT in = FrameInsets(record.style, record.exStyle, record.menu != nullptr);
    RECT client = ClientRectOf(record);
    int bar = MenuBarHeight(record);
    QRect g(record.rect.left + in.left, record.rect.top + in.top - bar, std::max<LONG>(1, client.right),
            std::max<LONG>(1, client.bottom + bar));
    widget->setGeometry(g);
    // Without a thick frame the user cannot resize the window.
    if (!(record.style & WS_THICKFRAME) && !(record.style & (WS_MINIMIZE | WS_MAXIMIZE))) widget->setFixedSize(g.size());
    else widget->setMinimumSize(0, 0), widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    PlaceMenuBar(record);
}

void SyncHostVisibility(const WindowRecord &record) {
    bool visible = record.style & WS_VISIBLE;
    auto *widget = visible ? HostOf(record.handle) : static_cast<QWidget *>(record.host);
    if (!widget) return;
    SyncScope scope;
    if (!(record.style & WS_CHILD) && visible) {
        if (record.style & WS_MINIMIZE) widget->showMinimized();
        else if (record.style & WS_MAXIMIZE) widget->showMaximized();
        else widget->showNormal();
        return;
    }
    widget->setVisible(visible);
}

void SyncHostEnabled(const WindowRecord &record) {
    if (auto *widget = static_cast<QWidget *>(record.host)) widget->setEnabled(!(record.style & WS_DISABLED));
}

void SyncHostText(const WindowRecord &record) {
    auto *widget = static_cast<QWidget *>(record.host);
    if (widget && !(record.style & WS_CHILD)) widget->setWindowTitle(QString::fromStdU16String(GbkToUtf16(record.text)));
}

void SyncHostZOrder(const WindowRecord &record) {
    if (record.style & WS_CHILD) {
        auto parent = FindWindowRecord(record.parent);
        if (!parent) return;
        for (auto it = parent->children.rbegin(); it != parent->children.rend(); ++it)
            if (QWidget *w = HostOf(*it)) w->raise();
        return;
    }
    if (auto *widget = static_cast<QWidget *>(record.host)) widget->raise();
}

void SyncHostStyle(const WindowRecord &record) {
    auto *widget = static_cast<QWidget *>(record.host);
    if (!widget || (record.style & WS_CHILD)) return;
    SyncScope scope;
    bool visible = widget->isVisible();
    widget->setWindowFlags(TopLevelFlags(record));
    SyncHostGeometry(record);
    if (visible) widget->show();
}

void StartHostMove(HWND hwnd) {
    QWidget *widget = HostOf(hwnd);
    if (widget && widget->isWindow() && widget->windowHandle()) widget->windowHandle()->startSystemMove();
}

void SyncHostIcon(const WindowRecord &record) {
    auto *widget = static_cast<QWidget *>(record.host);
    if (!widget) return;
    QIcon icon;
    for (HICON h : {record.icons[1], record.icons[0]})
        if (IconObject *o = IconObjectOf(h); o && !o->image.isNull()) icon.addPixmap(QPixmap::fromImage(o->image));
    widget->setWindowIcon(icon);
}

void SyncHostShape(const WindowRecord &record) {
    auto *widget = static_cast<QWidget *>(record.host);
    if (!widget) return;
    GdiObject *region = record.region ? GdiObjectOf(record.region) : nullptr;
    if (!region) {
        widget->clearMask();
        return;
    }
    // Window coordinates start at the frame's corner; a top-level widget starts inside it.
    QPoint origin(0, 0);
    if (!(record.style & WS_CHILD)) {
        RECT in = FrameInsets(record.style, record.exStyle, record.menu != nullptr);
        origin = QPoint(in.left, in.top - MenuBarHeight(record));
    }
    widget->setMask(region->region.translated(-origin));
}

} // namespace platform

using namespace platform;

// Painting: BeginPaint hands out the DC of the paint in progress and erases first.
extern "C" HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
    auto record = FindWindowRecord(hwnd);
    if (!record || !ps) return nullptr;
    auto &pending = HostWidget::pendingPaints();
    HDC hdc = nullptr;
    QRect area;
    if (!pending.empty() && DeviceContextOf(pending.back().hdc) &&
        DeviceContextOf(pending.back().hdc)->hwnd == hwnd) {
        hdc = pending.back().hdc;
        area = pending.back().rect;
    } else {
        hdc = GetDC(hwnd);
        RECT c = ClientRectOf(*record);
        area = QRect(0, 0, c.right, c.bottom);
    }
    *ps = PAINTSTRUCT{};
    ps->hdc = hdc;
    ps->rcPaint = RECT{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
    ps->fErase = SendMessageA(hwnd, WM_ERASEBKGND, WPARAM(hdc), 0) ? FALSE : TRUE;
    return hdc;
}

extern "C" BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT *ps) {
    if (!ps) return FALSE;
    auto &pending = HostWidget::pendingPaints();
    if (pending.empty() || pending.back().hdc != ps->hdc) ReleaseDC(hwnd, ps->hdc);
    return TRUE;
}

extern "C" BOOL WINAPI InvalidateRect(HWND hwnd, const RECT *rect, BOOL) {
    if (LRESULT r; CallOnOwnerThread(hwnd, [&] { return LRESULT(InvalidateRect(hwnd, rect, TRUE)); }, r)) return BOOL(r);
    QWidget *widget = HostOf(hwnd);
    if (!hwnd) return TRUE;
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!widget) return TRUE;
    auto record = FindWindowRecord(hwnd);
    POINT o = ClientOriginInWidget(*record);
    if (rect) widget->update(QRect(rect->left + o.x, rect->top + o.y, rect->right - rect->left, rect->bottom - rect->top));
    else widget->update();
    return TRUE;
}

extern "C" BOOL WINAPI ValidateRect(HWND, const RECT *) { return TRUE; }

extern "C" BOOL WINAPI UpdateWindow(HWND hwnd) {
    if (LRESULT r; CallOnOwnerThread(hwnd, [&] { return LRESULT(UpdateWindow(hwnd)); }, r)) return BOOL(r);
    QWidget *widget = HostOf(hwnd);
    if (!IsWindow(hwnd)) return FALSE;
    if (widget && widget->isVisible()) widget->repaint();
    return TRUE;
}

extern "C" BOOL WINAPI RedrawWindow(HWND hwnd, const RECT *rect, void *, UINT flags) {
    if (hwnd == nullptr) return TRUE;
    InvalidateRect(hwnd, rect, (flags & RDW_ERASE) != 0);
    if (flags & RDW_UPDATENOW) UpdateWindow(hwnd);
    return IsWindow(hwnd);
}
