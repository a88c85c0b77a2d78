// The column profile of one list in the settings file: the value of key
// "COLUMNPROFILE" in the section named by the list's profile name. The value
// format is drawn in listview/profile/column_profile_format.h.
#pragma once

#include "platform/base/cstring.h"

namespace listview {

constexpr int kProfileRead = 0;
constexpr int kProfileWrite = 1;
// A stored profile value is read into a buffer of this many characters
// (longer values come back cut to one less).
constexpr int kProfileValueBuffer = 4096;
// The longest value that comes back whole: the reader's cut and the
// writers' refusal (the list's save, the custom columns dialog) both use it.
constexpr int kProfileValueMaxLength = kProfileValueBuffer - 1;

// ProfileIO's read, also telling whether the stored value was longer than
// the buffer keeps (it comes back cut all the same).
int ReadColumnProfile(const CString& section, CString& value, bool& cut);

}  // namespace listview

// mode kProfileRead: `value` receives the stored value; 1 when there is one.
// A missing file, a missing key or an empty value give 0 and no message
// (`value` then holds "Settings not found" when the key was absent).
// A read-only file is read like any other; a file the private-profile
// functions refuse (not a regular file, too large, unreadable) reads as
// missing and is told once on standard error.
// mode kProfileWrite: stores `value`, creating the file when missing; 0 when
// the write fails (a read-only or refused file is never replaced, a file
// that cannot be created is not), told on standard error with its reason;
// the caller shows the failed-save box (listview::ShowSettingsNotSaved),
// the same for every save. Any other mode returns 0.
int ProfileIO(int mode, const CString& section, CString& value);
