#include "listview/profile/appearance_line.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "listview/profile/settings_file.h"
#include "listview/profile/settings_report.h"
#include "listview/profile/stored_layout.h"
#include "platform/kernel/private_profile.h"

namespace listview {
namespace {

constexpr char kNotFound[] = "String not found";

// A colour as "%lX" writes an RGB value: one to six hexadecimal digits.
std::optional<COLORREF> Hex(const CString& text) {
  const std::string_view digits(text.GetString(), static_cast<size_t>(text.GetLength()));
  if (digits.empty() || digits.size() > 6 ||
      digits.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) {
    return std::nullopt;
  }
  return static_cast<COLORREF>(std::strtoul(text, nullptr, 16));
}

// A whole decimal number with an optional "-", within a few digits.
std::optional<int> Whole(const CString& text) {
  const std::string_view view(text.GetString(), static_cast<size_t>(text.GetLength()));
  const std::string_view digits = view.starts_with('-') ? view.substr(1) : view;
  if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  return std::atoi(text);
}

// Text a person could have typed: no control characters.
bool Printable(const CString& text) {
  for (int i = 0; i < text.GetLength(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

void Note(std::string* damage, const char* what) {
  if (damage == nullptr || damage->find(what) != std::string::npos) return;
  if (!damage->empty()) *damage += "; ";
  *damage += what;
}

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

void ParseAppearanceLine(const CString& value, sListAppearance& appearance, std::string* damage) {
  const sListAppearance& fallback = DefaultAppearance();
  int position = 0;
  auto next = [&](CString& token) {
    if (position < 0) return false;
    token = value.Tokenize(",", position);
    return position >= 0;
  };
  auto colour = [&](const CString& token, COLORREF& into, COLORREF otherwise) {
    if (const auto parsed = Hex(token)) {
      into = *parsed;
    } else {
      Note(damage, "a colour that is not hexadecimal RGB");
      into = otherwise;
    }
  };
  CString token;
  if (next(token)) colour(token, appearance.clrBack, fallback.clrBack);
  if (next(token)) colour(token, appearance.clrText, fallback.clrText);
  if (next(token)) {
    if (Printable(token)) {
      appearance.strFontFace = token;
    } else {
      Note(damage, "a font face with control characters");
      appearance.strFontFace = fallback.strFontFace;
    }
  }
  if (next(token)) {
    const auto points = Whole(token);
    if (!points || *points < 1) {
      Note(damage, "a font size that is no positive whole number");
      appearance.strFontSize = fallback.strFontSize;
    } else if (*points > kMaxFontPoints) {
      Note(damage, "a font size beyond what a list row can show, clamped");
      appearance.strFontSize.Format("%d", kMaxFontPoints);
    } else {
      appearance.strFontSize = token;
    }
  }
  if (next(token)) {
    const auto column = Whole(token);
    if (!column || *column < -1 || *column >= kMaxListColumns) {
      Note(damage, "a keyword column out of range");
      appearance.nKeywordColumn = -1;
      appearance.ClearKeywords();
      return;
    }
    appearance.nKeywordColumn = *column;
  }
  if (appearance.nKeywordColumn == -1 || !next(token)) return;
  appearance.StartKeywords();
  do {
    CString color;
    if (!next(color)) {
      Note(damage, "a keyword without a colour");
      appearance.ClearKeywords();
      return;
    }
    const auto parsed = Hex(color);
    if (!parsed || !Printable(token)) {
      Note(damage, "a keyword or keyword colour that cannot be used");
      continue;  // the pair is dropped, the others kept
    }
    appearance.AddKeyword(token, *parsed);
  } while (next(token));
}

AppearanceLineFit CheckAppearanceLine(const sListAppearance& appearance) {
  const CString line = FormatAppearanceLine(appearance);
  if (line.GetLength() > kAppearanceValueMaxLength) return AppearanceLineFit::kTooLong;
  sListAppearance reread = DefaultAppearance();
  reread.ClearKeywords();
  ParseAppearanceLine(line, reread);
  const bool same = reread.clrBack == appearance.clrBack && reread.clrText == appearance.clrText &&
                    reread.strFontFace == appearance.strFontFace && reread.strFontSize == appearance.strFontSize &&
                    reread.nKeywordColumn == appearance.nKeywordColumn && FormatAppearanceLine(reread) == line;
  return same ? AppearanceLineFit::kFits : AppearanceLineFit::kNotReadBack;
}

bool ReadAppearanceLine(const CString& profileName, int controlId, CString& value, bool* cut) {
  // One character more than the longest whole value tells a value that was cut.
  std::vector<char> buffer(kAppearanceValueMaxLength + 2, '\0');
  const DWORD length = GetPrivateProfileStringA(kAppearanceSection, AppearanceKey(profileName, controlId), kNotFound,
                                                buffer.data(), static_cast<DWORD>(buffer.size()), SettingsFilePath());
  if (cut != nullptr) *cut = length > static_cast<DWORD>(kAppearanceValueMaxLength);
  if (length == 0) return false;
  buffer[kAppearanceValueMaxLength] = '\0';
  value = buffer.data();
  if (value == kNotFound) {
    ReportUnreadableSettings();
    return false;
  }
  return true;
}

bool WriteAppearanceLine(const CString& profileName, int controlId, const sListAppearance& appearance) {
  // A line that would come back cut or changed would lose the keywords at
  // the next start and be written over at the next save: never written.
  if (CheckAppearanceLine(appearance) != AppearanceLineFit::kFits) return false;
  if (WritePrivateProfileStringA(kAppearanceSection, AppearanceKey(profileName, controlId),
                                 FormatAppearanceLine(appearance), SettingsFilePath())) {
    return true;
  }
  ReportUnsavedLine(kAppearanceSection, AppearanceKey(profileName, controlId));
  return false;
}

}  // namespace listview
