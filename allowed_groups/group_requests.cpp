// Every field is one text value; the group requests take their fields from
// the core (core/group_request.h).
#include "allowed_groups/group_requests.h"

#include "allowed_groups/core/group_request.h"
#include "allowed_groups/core/request_tags.h"
#include "allowed_groups/request_builder.h"
#include "plugin/plugin_context.h"
#include "plugin/terminal_link.h"

namespace {

constexpr RequestOutcome kCategory{"ks_get_category Request Failure", "ks_get_category Request Failure", true,
                                   "ks_get_category sent successfully"};
constexpr RequestOutcome kPeerData{"ks_get_user_peer_data Request Failure", "ks_get_user_peer_data Request Failure",
                                   true, "ks_get_user_peer_data Request sent successfully"};
constexpr RequestOutcome kAdd{"Add Group Failure", "ks_add_allowed_group Request Failure", true,
                              "ks_add_allowed_group request sent successfully"};
constexpr RequestOutcome kDelete{"Delete Group Failure", "ks_delete_group Request Failure", true,
                                 "ks_delete_group request sent successfully"};
constexpr RequestOutcome kListAll{"ks_get_all_allowed_groups Request Failure",
                                  "ks_get_all_allowed_groups Request Failure", true,
                                  "ks_get_all_allowed_groups request sent successfully"};

}  // namespace

int SendCategoryRequest(CPluginContext* context) {
  return RequestBuilder(context, kCategory)
      .Name("ks_get_category")
      .Text(tag::kUserIdSession, plugin::Globals().strUserId)
      .Send();
}

int SendPeerDataRequest(CPluginContext* context) {
  return RequestBuilder(context, kPeerData)
      .Name("ks_get_user_peer_data")
      .Text(tag::kUserIdSession, plugin::Globals().strUserId)
      .Send();
}

int SendListAllRequest(CPluginContext* context) {
  return RequestBuilder(context, kListAll)
      .Text(tag::kUserId, plugin::Globals().strUserId)
      .Name("ks_get_all_allowed_groups")
      .Send();
}

int SendAddRequest(CPluginContext* context, const AllowedGroup& group) {
  return RequestBuilder(context, kAdd).Fields(EncodeAddRequest(group, plugin::Globals().strUserId)).Send();
}

int SendDeleteRequest(CPluginContext* context, const AllowedGroup& group) {
  return RequestBuilder(context, kDelete)
      .Fields(EncodeDeleteRequest(group, plugin::Globals().strUserId, DeleteSource::kForm))
      .Send();
}
