#pragma once

// The system's own folders on Windows, in one place for the windows and the session.

#include "win32/Windows.h"

#include <string>
// These build on windows.h.
#include <knownfolders.h>
#include <shlobj.h>

// A folder of the system's, as SHGetKnownFolderPath gives it, without a separator at its end;
// empty when the system has none.
std::wstring KnownFolder(REFKNOWNFOLDERID id);

// folder in code page 932; where its long name has no such form, its short name (ASCII where the
// volume keeps short names); empty when neither has one.
std::string CodePage932Folder(const std::wstring& folder);
