// Problems found in the settings file, told on standard error: the lists
// keep working (with their defaults for what was damaged), and a person can
// see what was repaired or refused. Each (file, section, key) is told once
// per run, however often the line is read.
#pragma once

#include <string_view>

#include "platform/base/cstring.h"

namespace listview {

// "tarn settings: FILE: [SECTION] KEY: WHAT" for a damaged line.
void ReportDamagedLine(const CString& section, const CString& key, std::string_view what);

// Computed columns kept as stored whose cells cannot be computed:
// "tarn settings: FILE: [SECTION] KEY: damaged (WHAT); ..." once per run.
void ReportUnusableFormulas(const CString& section, const CString& key, std::string_view what);

// After a read of the settings file gave its default: tells why the whole
// file was refused, when the private-profile functions' last error says it
// was (not a regular file, too large, unreadable). Once per file.
void ReportUnreadableSettings();

// A write that failed: "... KEY: not saved: WHY" (read-only file, and so on).
void ReportUnsavedLine(const CString& section, const CString& key);

// The one message box of a save of the settings file that failed, whichever
// dialog asked for it: the file, why (as far as the file and the last error
// tell: read-only, not a regular file, UTF-16 text, a full disk, the file
// size limit) and that the file was left as it was. Shown on every failed
// save; `why`, when given, replaces the reason found.
void ShowSettingsNotSaved(const char* why = nullptr);

// Forgets what was told (tests).
void ResetSettingsReports();

}  // namespace listview
