#pragma once

// The window system's own ids: dialog answers, the id of controls that have
// none, window-menu commands and the framework's texts for them.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDC_STATIC = -1;
constexpr unsigned SC_MINIMIZE = 0xF020;
constexpr unsigned SC_CLOSE = 0xF060;
constexpr int IDS_SC_MINIMIZE = 0xEF20;
constexpr int IDS_SC_CLOSE = 0xEF60;
