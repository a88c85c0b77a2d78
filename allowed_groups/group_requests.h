// The form's requests: category, peer data, list all, and the add and
// delete of one group. Each is one tagged message built in the plugin
// context's buffer and handed to the terminal; each returns 1 when the
// terminal accepted it, 0 otherwise. Outcomes go to the terminal's log and,
// for a refused send, to a message box (request_builder.h). The form turns
// its controls into a group; these only put it on the wire.
#pragma once

#include "allowed_groups/core/allowed_group.h"

class CPluginContext;

int SendCategoryRequest(CPluginContext* context);
int SendPeerDataRequest(CPluginContext* context);
int SendListAllRequest(CPluginContext* context);
int SendAddRequest(CPluginContext* context, const AllowedGroup& group);
int SendDeleteRequest(CPluginContext* context, const AllowedGroup& group);
