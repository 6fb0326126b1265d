#pragma once

// The Windows headers the front end uses, in the order they need: windows.h first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <cderr.h>
#include <shellapi.h>
// clang-format on
