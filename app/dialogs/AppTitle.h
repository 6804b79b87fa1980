#pragma once
// The application title: caption of the main window and of every message box.
inline constexpr const char* kAppTitle = "Orvane - Sweep Generator  v2.0";
