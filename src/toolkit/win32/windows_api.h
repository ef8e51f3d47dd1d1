#pragma once
// <windows.h> for the toolkit: its MessageBox macro would rename Backend::MessageBox in every file
// that sees both, so it is dropped here; code calls MessageBoxW by name.

#include <windows.h>

#undef MessageBox
