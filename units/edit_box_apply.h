// Carrying the edit box's stored properties over to its live controls.
#pragma once

#include <cstdint>
#include <string>

#include "edit_box.h"

namespace units::editbox {

constexpr int kAdjusterWidth = 16;

// 0xff000000 stands for the system's button-face colour.
COLORREF Colour(uint32_t value);
std::string TextOf(HWND h);
void Selection(HWND edit, int32_t &start, int32_t &end);
void SelectAndShow(HWND edit, int32_t start, int32_t end);

void ApplyFont(EditBoxUnit &u);
void ApplyBrush(EditBoxUnit &u);
void ApplyBorder(EditBoxUnit &u);
// The EDIT control fills the frame's client area; the adjuster takes its right edge.
void Layout(EditBoxUnit &u);
void SendRange(EditBoxUnit &u);
void SetPasswordChar(EditBoxUnit &u);
// Replaces the control's text with one content-changed event, multi-line or not (a
// multi-line control notifies no change of its window text). On the window's thread.
void ReplaceText(EditBoxUnit &u, const std::string &text);

// Request 1.
fw::WindowObject *CreateEditBox(const CreateUnitArgs &a);

} // namespace units::editbox
