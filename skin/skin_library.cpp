// SkinH_EL.dll: gives the program's windows the look of a skin block. The look is a
// palette and a style sheet on the Qt application; when the program has no Qt
// application yet, the skin is kept and applied as soon as one starts.
#include <QApplication>
#include <QPalette>
#include <QThread>

#include <cstring>
#include <mutex>
#include <optional>

#include "module_export_table.h"
#include "skin_format.h"
#include "skin_style.h"

#define SKIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::mutex keptLock;
std::optional<skin::Skin> kept;
bool waitingForApplication = false;

QColor ToQColor(skin::Colour c) { return QColor(c.red, c.green, c.blue); }

QPalette PaletteOf(const skin::Skin &s) {
    QPalette p;
    p.setColor(QPalette::Window, ToQColor(s.window));
    p.setColor(QPalette::WindowText, ToQColor(s.text));
    p.setColor(QPalette::Base, ToQColor(s.base));
    p.setColor(QPalette::AlternateBase, ToQColor(s.base));
    p.setColor(QPalette::Text, ToQColor(s.text));
    p.setColor(QPalette::Button, ToQColor(s.button));
    p.setColor(QPalette::ButtonText, ToQColor(s.buttonText));
    p.setColor(QPalette::Highlight, ToQColor(s.highlight));
    p.setColor(QPalette::HighlightedText, ToQColor(s.highlightText));
    p.setColor(QPalette::ToolTipBase, ToQColor(s.base));
    p.setColor(QPalette::ToolTipText, ToQColor(s.text));
    return p;
}

std::optional<skin::Skin> KeptSkin() {
    std::lock_guard lock(keptLock);
    return kept;
}

// On the application's thread.
void ApplyKeptSkin() {
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    std::optional<skin::Skin> s = KeptSkin();
    if (!app) return;
    if (!s) {
        app->setStyleSheet(QString());
        app->setPalette(QPalette());
        return;
    }
    app->setPalette(PaletteOf(*s));
    app->setStyleSheet(QString::fromStdString(skin::StyleSheetOf(*s)));
}

void ApplyOnApplicationThread() {
    QCoreApplication *app = QCoreApplication::instance();
    if (QThread::currentThread() == app->thread())
        ApplyKeptSkin();
    else
        QMetaObject::invokeMethod(app, &ApplyKeptSkin, Qt::QueuedConnection);
}

// Runs inside the application's constructor: the skin goes on once its loop runs.
void OnApplicationStart() { QMetaObject::invokeMethod(QCoreApplication::instance(), &ApplyKeptSkin, Qt::QueuedConnection); }

void ApplyWhenPossible() {
    if (QCoreApplication::instance()) return ApplyOnApplicationThread();
    std::lock_guard lock(keptLock);
    if (waitingForApplication) return;
    waitingForApplication = true;
    qAddPreRoutine(OnApplicationStart); // the library is never unloaded (linked nodelete)
}

} // namespace

// The skin in (data, length) becomes the windows' look. The text (a password of
// protected skins elsewhere) and the three numbers are accepted and unused. Returns 1,
// or 0 for a block that is not a skin of a known version (the current look stays).
SKIN_EXPORT int SkinH_AttachRes(const void *data, int length, const char *, int, int, int) {
    if (length <= 0) return 0;
    std::optional<skin::Skin> s = skin::ReadSkinBlock(static_cast<const uint8_t *>(data), size_t(length));
    if (!s) return 0;
    {
        std::lock_guard lock(keptLock);
        kept = std::move(s);
    }
    ApplyWhenPossible();
    return 1;
}

// Removes the skin: the windows get the application's own look back.
SKIN_EXPORT int SkinH_Detach() {
    {
        std::lock_guard lock(keptLock);
        kept.reset();
    }
    if (QCoreApplication::instance()) ApplyOnApplicationThread();
    return 1;
}

// The attached skin's name (UTF-8) into buffer; returns its length, 0 without a skin.
SKIN_EXPORT int SkinH_GetSkinName(char *buffer, int size) {
    std::optional<skin::Skin> s = KeptSkin();
    if (!s) return 0;
    if (buffer && size > 0) {
        size_t n = std::min(s->name.size(), size_t(size - 1));
        std::memcpy(buffer, s->name.data(), n);
        buffer[n] = '\0';
    }
    return int(s->name.size());
}

namespace {
const SorvelModuleExport kExports[] = {
    {"SkinH_AttachRes", 1, reinterpret_cast<void *>(&SkinH_AttachRes), 6},
    {"SkinH_Detach", 2, reinterpret_cast<void *>(&SkinH_Detach), 0},
    {"SkinH_GetSkinName", 3, reinterpret_cast<void *>(&SkinH_GetSkinName), 2},
};
} // namespace

SKIN_EXPORT const SorvelModuleExportTable SorvelModuleExports = {sizeof kExports / sizeof kExports[0], kExports};
