#include "listview/profile/appearance_line.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "listview/profile/settings_file.h"
#include "platform/kernel/private_profile.h"

namespace listview {
namespace {

constexpr char kNotFound[] = "String not found";

COLORREF Hex(const CString& text) { return static_cast<COLORREF>(std::strtoul(text, nullptr, 16)); }

}  // namespace

CString AppearanceKey(const CString& profileName, int controlId) {
  CString key;
  key.Format("%s-%d", profileName.GetString(), controlId);
  return key;
}

CString FormatAppearanceLine(const sListAppearance& appearance) {
  CString line;
  line.Format("%lX,%lX,%s,%s", static_cast<unsigned long>(appearance.clrBack),
              static_cast<unsigned long>(appearance.clrText), appearance.strFontFace.GetString(),
              appearance.strFontSize.GetString());
  if (appearance.nKeywordColumn == -1) return line;
  CString part;
  part.Format(",%d,", appearance.nKeywordColumn);
  line += part;
  if (appearance.HasKeywords()) {
    const size_t count = std::min(appearance.pKeywords->size(), appearance.pKeywordColors->size());
    for (size_t i = 0; i < count; ++i) {
      part.Format("%s,%lX,", (*appearance.pKeywords)[i].GetString(),
                  static_cast<unsigned long>((*appearance.pKeywordColors)[i]));
      line += part;
    }
  }
  return line;
}

void ParseAppearanceLine(const CString& value, sListAppearance& appearance) {
  int position = 0;
  auto next = [&](CString& token) {
    if (position < 0) return false;
    token = value.Tokenize(",", position);
    return position >= 0;
  };
  CString token;
  if (next(token)) appearance.clrBack = Hex(token);
  if (next(token)) appearance.clrText = Hex(token);
  if (next(token)) appearance.strFontFace = token;
  if (next(token)) appearance.strFontSize = token;
  if (next(token)) appearance.nKeywordColumn = std::atoi(token);
  if (appearance.nKeywordColumn == -1 || !next(token)) return;
  appearance.StartKeywords();
  do {
    CString color;
    if (!next(color)) {
      appearance.ClearKeywords();
      return;
    }
    appearance.AddKeyword(token, Hex(color));
  } while (next(token));
}

bool ReadAppearanceLine(const CString& profileName, int controlId, CString& value) {
  std::vector<char> buffer(kAppearanceValueBuffer, '\0');
  const DWORD length = GetPrivateProfileStringA(kAppearanceSection, AppearanceKey(profileName, controlId), kNotFound,
                                                buffer.data(), static_cast<DWORD>(buffer.size()), SettingsFilePath());
  if (length == 0) return false;
  value = buffer.data();
  return value != kNotFound;
}

void WriteAppearanceLine(const CString& profileName, int controlId, const sListAppearance& appearance) {
  WritePrivateProfileStringA(kAppearanceSection, AppearanceKey(profileName, controlId),
                             FormatAppearanceLine(appearance), SettingsFilePath());
}

}  // namespace listview
