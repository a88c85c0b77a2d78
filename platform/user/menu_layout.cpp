#include "platform/user/menu_layout.h"

#include <algorithm>
#include <cctype>

#include "platform/gdi/text_layout.h"

namespace platform {

namespace {

int Shown(const FontSpec& font, const std::string& text) {
  return LayOutText(font, text, RECT{}, DT_SINGLELINE).lines.front().width;
}

}  // namespace

MenuText SplitMenuText(const std::string& text) {
  const size_t tab = text.find('\t');
  if (tab == std::string::npos) return {text, {}};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

MenuLayout LayOutMenu(const std::vector<MenuEntry>& entries) {
  const FontSpec font;
  int labels = 0;
  int accelerators = 0;
  MenuLayout layout;
  int y = kMenuFrame;
  for (const MenuEntry& e : entries) {
    const int height = (e.flags & MF_SEPARATOR) ? kMenuSeparatorHeight : kMenuEntryHeight;
    layout.rows.push_back(RECT{kMenuFrame, y, 0, y + height});
    y += height;
    if (e.flags & MF_SEPARATOR) continue;
    const MenuText text = SplitMenuText(e.text);
    labels = std::max(labels, Shown(font, text.label));
    if (!text.accelerator.empty()) accelerators = std::max(accelerators, Shown(font, text.accelerator) + kMenuTabGap);
  }
  layout.width = 2 * kMenuFrame + kMenuCheckColumn + labels + accelerators + kMenuRightMargin;
  layout.height = kMenuFrame + std::max(y - kMenuFrame, 1) + kMenuFrame;
  for (RECT& row : layout.rows) row.right = layout.width - kMenuFrame;
  return layout;
}

bool Choosable(const MenuEntry& entry) {
  return !(entry.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)) && entry.id != 0;
}

char MenuMnemonic(const MenuEntry& entry) {
  const std::string label = SplitMenuText(entry.text).label;
  for (size_t i = 0; i + 1 < label.size(); ++i) {
    if (label[i] != '&') continue;
    if (label[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(label[i + 1])));
  }
  for (char c : label) {
    if (c != ' ' && c != '&') return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return 0;
}

}  // namespace platform
