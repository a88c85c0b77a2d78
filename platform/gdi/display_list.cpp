#include "platform/gdi/display_list.h"

#include <cstdio>
#include <unordered_map>

namespace platform {
namespace {

std::unordered_map<HWND, DrawOps>& Windows() {
  static std::unordered_map<HWND, DrawOps> lists;
  return lists;
}

std::unordered_map<HBITMAP, DrawOps>& Bitmaps() {
  static std::unordered_map<HBITMAP, DrawOps> lists;
  return lists;
}

template <class Map, class Key>
DrawOps Copy(const Map& map, Key key) {
  const auto it = map.find(key);
  return it == map.end() ? DrawOps{} : it->second;
}

const char* KindName(DrawKind kind) {
  switch (kind) {
    case DrawKind::FillRect: return "FillRect";
    case DrawKind::FrameRect: return "FrameRect";
    case DrawKind::Rectangle: return "Rectangle";
    case DrawKind::Line: return "Line";
    case DrawKind::Text: return "Text";
    case DrawKind::FocusRect: return "FocusRect";
    case DrawKind::Gradient: return "Gradient";
    case DrawKind::Blit: return "Blit";
    case DrawKind::Icon: return "Icon";
  }
  return "?";
}

}  // namespace

DrawOps WindowDisplayList(HWND window) { return Copy(Windows(), window); }

DrawOps BitmapDisplayList(HBITMAP bitmap) { return Copy(Bitmaps(), bitmap); }

void ClearDisplayList(HWND window) { Windows().erase(window); }
void ClearDisplayList(HBITMAP bitmap) {
  if (auto it = Bitmaps().find(bitmap); it != Bitmaps().end()) it->second.clear();
}

DrawOps OpsOfKind(const DrawOps& ops, DrawKind kind) {
  DrawOps out;
  for (const DrawOp& op : ops) {
    if (op.kind == kind) out.push_back(op);
  }
  return out;
}

std::string Describe(const DrawOp& op) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%s (%d,%d)-(%d,%d) colour %06X", KindName(op.kind), op.rect.left, op.rect.top,
                op.rect.right, op.rect.bottom, static_cast<unsigned>(op.color));
  std::string out = buf;
  if (op.kind == DrawKind::Text) out += " \"" + op.text + "\"";
  return out;
}

DrawOps& WindowSurface(HWND window) { return Windows()[window]; }

void DropWindowSurface(HWND window) { Windows().erase(window); }

DrawOps& BitmapSurface(HBITMAP bitmap) { return Bitmaps()[bitmap]; }

void DropBitmapSurface(HBITMAP bitmap) { Bitmaps().erase(bitmap); }

}  // namespace platform
