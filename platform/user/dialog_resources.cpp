#include "platform/user/dialog_resources.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>

#include "platform/kernel/module.h"

namespace platform {
namespace {

struct IconEntry {
  IconResource resource;
  bool removed = false;
};

// Icon handles are small numbers, kIconBase + entry index * kIconStep, below
// 2^31 like the user-interface handles of the platform's 64-bit systems: an
// int (a list's image value) carries one unharmed.
constexpr uintptr_t kIconBase = 0x20000000;
constexpr uintptr_t kIconStep = 4;

struct ModuleResources {
  HINSTANCE module = nullptr;
  std::map<UINT, std::unique_ptr<DialogTemplate>> dialogs;
  std::map<UINT, size_t> icons;  // id to entry index
};

struct ResourceState {
  std::vector<ModuleResources> modules;  // registration order
  std::deque<IconEntry> icons;           // never shrinks: handles stay unique
  HINSTANCE current = nullptr;
  bool currentSet = false;
};

HICON IconHandle(size_t index) { return reinterpret_cast<HICON>(kIconBase + index * kIconStep); }

ResourceState& State() {
  static auto* state = new ResourceState;  // leaked: see WindowRegistry::Get
  return *state;
}

ModuleResources& ModuleEntry(HINSTANCE module) {
  auto& modules = State().modules;
  auto it = std::find_if(modules.begin(), modules.end(), [&](const ModuleResources& m) { return m.module == module; });
  if (it != modules.end()) return *it;
  modules.push_back(ModuleResources{module, {}, {}});
  return modules.back();
}

// Modules in lookup order: the current resource module, then the others.
std::vector<ModuleResources*> Chain() {
  std::vector<ModuleResources*> chain;
  const HINSTANCE current = AfxGetResourceHandle();
  for (auto& m : State().modules) {
    if (m.module == current) chain.insert(chain.begin(), &m);
    else chain.push_back(&m);
  }
  return chain;
}

HICON IconIn(const ModuleResources& m, UINT id) {
  auto it = m.icons.find(id);
  return it == m.icons.end() ? nullptr : IconHandle(it->second);
}

}  // namespace

bool RegisterDialogTemplate(HINSTANCE module, DialogTemplate dialog) {
  const UINT id = dialog.id;
  ModuleEntry(module).dialogs[id] = std::make_unique<DialogTemplate>(std::move(dialog));
  return true;
}

HICON RegisterIcon(HINSTANCE module, UINT id) {
  ModuleResources& m = ModuleEntry(module);
  if (HICON existing = IconIn(m, id)) return existing;
  State().icons.push_back(IconEntry{IconResource{module, id}});
  m.icons[id] = State().icons.size() - 1;
  return IconHandle(m.icons[id]);
}

void RemoveModuleResources(HINSTANCE module) {
  auto& modules = State().modules;
  for (auto& m : modules) {
    if (m.module != module) continue;
    for (auto& [id, index] : m.icons) State().icons[index].removed = true;
  }
  modules.erase(
      std::remove_if(modules.begin(), modules.end(), [&](const ModuleResources& m) { return m.module == module; }),
      modules.end());
}

const DialogTemplate* FindDialogTemplate(UINT id) {
  for (ModuleResources* m : Chain()) {
    auto it = m->dialogs.find(id);
    if (it != m->dialogs.end()) return it->second.get();
  }
  return nullptr;
}

std::optional<IconResource> IconFromHandle(HICON icon) {
  const auto value = reinterpret_cast<uintptr_t>(icon);
  if (value < kIconBase || (value - kIconBase) % kIconStep != 0) return std::nullopt;
  const size_t index = (value - kIconBase) / kIconStep;
  if (index >= State().icons.size() || State().icons[index].removed) return std::nullopt;
  return State().icons[index].resource;
}

}  // namespace platform

HINSTANCE AfxGetResourceHandle() {
  auto& s = platform::State();
  return s.currentSet ? s.current : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE module) {
  auto& s = platform::State();
  s.current = module;
  s.currentSet = true;
}

HINSTANCE AfxGetInstanceHandle() { return ::GetModuleHandleA(nullptr); }

HICON LoadIcon(HINSTANCE module, LPCSTR name) {
  if (!IS_INTRESOURCE(name)) return nullptr;
  const auto id = static_cast<UINT>(reinterpret_cast<uintptr_t>(name));
  if (module == nullptr) return AfxLoadIcon(id);
  for (auto& m : platform::State().modules) {
    if (m.module == module) return platform::IconIn(m, id);
  }
  return nullptr;
}

HICON AfxLoadIcon(UINT id) {
  for (platform::ModuleResources* m : platform::Chain()) {
    if (HICON icon = platform::IconIn(*m, id)) return icon;
  }
  return nullptr;
}
