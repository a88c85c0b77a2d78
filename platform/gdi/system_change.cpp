#include "platform/gdi/system_change.h"

namespace platform {
namespace {
SystemChangeBroadcast g_broadcast = nullptr;  // constant-initialised: safe during static start-up
}  // namespace

void SetSystemChangeBroadcast(SystemChangeBroadcast broadcast) { g_broadcast = broadcast; }

void BroadcastSystemChange(SystemChange change) {
  if (g_broadcast != nullptr) g_broadcast(change);
}

}  // namespace platform
