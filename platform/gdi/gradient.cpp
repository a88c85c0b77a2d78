// GradientFill, the one function of "msimg32.dll" the layer provides.
#include <algorithm>
#include <climits>

#include "platform/gdi/device_context.h"
#include "platform/kernel/module.h"

BOOL GradientFill(HDC dc, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh, ULONG meshCount, ULONG mode) {
  if (vertices == nullptr || mesh == nullptr || vertexCount == 0 || mode > GRADIENT_FILL_TRIANGLE) return FALSE;
  const ULONG perElement = mode == GRADIENT_FILL_TRIANGLE ? 3 : 2;
  const auto* indices = static_cast<const ULONG*>(mesh);  // both mesh records are runs of ULONG
  std::vector<ULONG> flat(indices, indices + static_cast<size_t>(meshCount) * perElement);
  if (std::any_of(flat.begin(), flat.end(), [&](ULONG i) { return i >= vertexCount; })) return FALSE;
  RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (ULONG i : flat) {
    box.left = std::min(box.left, vertices[i].x);
    box.top = std::min(box.top, vertices[i].y);
    box.right = std::max(box.right, vertices[i].x);
    box.bottom = std::max(box.bottom, vertices[i].y);
  }
  if (flat.empty()) box = RECT{};
  platform::DrawOp* op = platform::AppendDrawOp(dc, platform::DrawKind::Gradient, box);
  if (op == nullptr) return FALSE;
  op->vertices.assign(vertices, vertices + vertexCount);
  op->mesh = std::move(flat);
  op->gradientMode = mode;
  return TRUE;
}

namespace {
const bool kRegistered = [] {
  platform::AddBuiltinExport("msimg32.dll", "GradientFill", reinterpret_cast<FARPROC>(&::GradientFill));
  return true;
}();
}  // namespace
