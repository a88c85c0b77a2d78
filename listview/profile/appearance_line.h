// A list's appearance in the settings file: section "CUSTOMIZE_LISTS", key
// "<profile name>-<dialog control id>" (e.g. "rmsallowedgroups-20016").
//
//   back,text,face,size                      no keyword colouring
//   back,text,face,size,column,kw1,c1,kw2,c2,   with keywords (trailing comma)
//
// back, text and the keyword colours c are upper-case hexadecimal RGB values
// without prefix or leading zeros ("%lX"); face and size are text (size in
// points); column is the decimal keyword column index. Example:
//   0,FF00,MS Shell Dlg 2,8,3,buy,FF,sell,FF0000,
// Font faces, keywords and sizes never contain ",".
#pragma once

#include <string>

#include "listview/list_appearance.h"
#include "platform/base/cstring.h"

namespace listview {

constexpr char kAppearanceSection[] = "CUSTOMIZE_LISTS";
// An appearance value is read into a buffer of this many characters.
constexpr int kAppearanceValueBuffer = 1000;
// The longest value that comes back whole (the buffer keeps its
// terminator): the reader's cut and the writer's refusal both use it.
constexpr int kAppearanceValueMaxLength = kAppearanceValueBuffer - 1;

CString AppearanceKey(const CString& profileName, int controlId);

// The value as written; the keyword part only when a keyword column is set.
CString FormatAppearanceLine(const sListAppearance& appearance);

// The largest font size, in points, a list takes from the file: larger ones
// are clamped (a row taller than a screen shows nothing).
constexpr int kMaxFontPoints = 72;

// Reads a stored value into `appearance`, as the framework tokenizer splits
// it (empty fields skipped): back, text, face, size, keyword column, each
// left unchanged when its field is missing; when the column is not -1 and a
// field follows, the keyword arrays start afresh and take keyword/colour
// pairs; a keyword without a colour removes both arrays.
// Damaged fields take the process default's value (a colour that is not one
// to six hexadecimal digits, a face with control characters, a size that is
// no positive whole number, a keyword column outside -1 and the columns a
// list can hold); a larger size is clamped to kMaxFontPoints; a keyword pair
// whose colour is not hexadecimal is dropped. What was damaged is described
// in `damage` when given.
void ParseAppearanceLine(const CString& value, sListAppearance& appearance, std::string* damage = nullptr);

// Whether the appearance, written as its line, reads back as the same
// appearance: the line fits kAppearanceValueMaxLength, and no face, size or
// keyword holds what the line cannot carry (a "," splits a field, a control
// character is dropped, a size beyond kMaxFontPoints is clamped).
enum class AppearanceLineFit { kFits, kTooLong, kNotReadBack };
AppearanceLineFit CheckAppearanceLine(const sListAppearance& appearance);

// The stored value for the key; false when none is stored (or it is empty).
// `cut`, when given, tells whether the value was longer than
// kAppearanceValueMaxLength (it comes back cut all the same).
bool ReadAppearanceLine(const CString& profileName, int controlId, CString& value, bool* cut = nullptr);
// Stores the appearance under the key. false, with nothing written, when
// the line would not read back (CheckAppearanceLine); false when the write
// failed (told on standard error).
bool WriteAppearanceLine(const CString& profileName, int controlId, const sListAppearance& appearance);

}  // namespace listview
